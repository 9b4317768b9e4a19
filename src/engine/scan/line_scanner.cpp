#include "engine/scan/line_scanner.h"

#include <algorithm>
#include <array>
#include <functional>

#include "engine/scan/property_names.h"
#include "engine/text/packed_name.h"
#include "support/text/byte_search.h"

namespace brevant {

namespace {

template <class Ch>
using View = std::basic_string_view<Ch>;
template <class Ch>
using String = std::basic_string<Ch>;

constexpr std::size_t kNotFound = static_cast<std::size_t>(-1);

// Position of the first c at or after `from`, or npos. The pieces of a line are
// mostly short: bytes are searched sixteen at a time, and for 16-bit text a
// plain look at the first few characters is cheaper than the library's search.
inline std::size_t FindChar(std::string_view text, char c, std::size_t from = 0) {
  return FindByte(text, c, from);
}

inline std::size_t FindChar(std::u16string_view text, char16_t c, std::size_t from = 0) {
  constexpr std::size_t kShort = 16;
  const std::size_t end = std::min(text.size(), from + kShort);
  for (std::size_t i = from; i < end; ++i) {
    if (text[i] == c) return i;
  }
  return end < text.size() ? text.find(c, end) : std::u16string_view::npos;
}

// Trims spaces only: tabs and carriage returns are not spaces.
template <class Ch>
View<Ch> TrimSpaces(View<Ch> text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && text[begin] == Ch(' ')) ++begin;
  while (end > begin && text[end - 1] == Ch(' ')) --end;
  return text.substr(begin, end - begin);
}

// Looks for an upper-case ASCII word anywhere in the text, ignoring letter case.
template <class Ch>
bool ContainsWord(View<Ch> text, std::string_view word) {
  if (text.size() < word.size()) return false;
  for (std::size_t i = 0; i + word.size() <= text.size(); ++i) {
    std::size_t j = 0;
    while (j < word.size() && UpperAscii(text[i + j]) == Ch(static_cast<unsigned char>(word[j]))) ++j;
    if (j == word.size()) return true;
  }
  return false;
}

// Looks for the first character of `what` with the fast search, then compares
// the rest: a value of a gigabyte is searched in a fraction of a second.
template <class Ch>
std::size_t Find(View<Ch> text, std::string_view what, std::size_t from = 0) {
  const Ch first = Ch(static_cast<unsigned char>(what.front()));
  for (std::size_t i = from; (i = FindChar(text, first, i)) != View<Ch>::npos; ++i) {
    if (i + what.size() > text.size()) return kNotFound;
    std::size_t j = 1;
    while (j < what.size() && text[i + j] == Ch(static_cast<unsigned char>(what[j]))) ++j;
    if (j == what.size()) return i;
  }
  return kNotFound;
}

// One scratch text per character type; a cleaned value lives there until the
// sink has taken it.
template <class Ch>
String<Ch>& Scratch() {
  static thread_local String<Ch> scratch;
  return scratch;
}

template <class Ch>
View<Ch> RemoveCarriageReturns(View<Ch> text) {
  const std::size_t first = FindChar(text, Ch('\r'));
  if (first == View<Ch>::npos) return text;
  if (first + 1 == text.size()) return text.substr(0, first);  // the usual CR LF line end
  String<Ch>& out = Scratch<Ch>();
  out.clear();
  out.reserve(text.size());  // never more: growing would copy a large value again and again
  for (Ch c : text) {
    if (c != Ch('\r')) out.push_back(c);
  }
  return out;
}

// Every occurrence of `what` replaced left to right, without overlap.
template <class Ch>
void ReplaceAll(View<Ch> text, std::string_view what, std::string_view with, String<Ch>& out) {
  // Counted first, so that the room is taken once and exactly.
  std::size_t hits = 0;
  for (std::size_t hit = 0; (hit = Find(text, what, hit)) != kNotFound; hit += what.size()) ++hits;
  out.clear();
  out.reserve(text.size() - hits * what.size() + hits * with.size());
  std::size_t pos = 0;
  for (std::size_t hit; (hit = Find(text, what, pos)) != kNotFound; pos = hit + what.size()) {
    out.append(text.substr(pos, hit - pos));
    for (char c : with) out.push_back(Ch(static_cast<unsigned char>(c)));
  }
  out.append(text.substr(pos));
}

template <class Ch>
View<Ch> CleanPlain(View<Ch> text) {
  return RemoveCarriageReturns(TrimSpaces(text));
}

// Escaped vCard line breaks and quoted-printable carriage returns become spaces.
// The two patterns share no character, so replacing both in one pass gives what
// replacing one after the other gives.
template <class Ch>
View<Ch> CleanStreet(View<Ch> text) {
  const auto patternAt = [text](std::size_t i) -> std::size_t {
    if (text[i] == Ch('\\') && i + 1 < text.size() && text[i + 1] == Ch('n')) return 2;
    if (text[i] == Ch('=') && i + 2 < text.size() && text[i + 1] == Ch('0') && text[i + 2] == Ch('D'))
      return 3;
    return 0;
  };
  std::size_t i = 0;
  while (i < text.size() && patternAt(i) == 0) ++i;
  if (i == text.size()) return text;
  String<Ch>& out = Scratch<Ch>();
  out.clear();
  out.reserve(text.size());
  out.assign(text.substr(0, i));
  while (i < text.size()) {
    if (const std::size_t length = patternAt(i)) {
      out.push_back(Ch(' '));
      i += length;
    } else {
      out.push_back(text[i++]);
    }
  }
  return out;
}

template <class Ch>
View<Ch> CleanNote(View<Ch> rest) {
  if (Find(rest, "=0D=0A=") == kNotFound) return TrimSpaces(rest);
  ReplaceAll(rest, "=0D=0A=", "\r\n", Scratch<Ch>());
  return TrimSpaces(View<Ch>(Scratch<Ch>()));
}

// Cuts at ";" into at most N pieces; gives their number, N at most, which is
// all the rules ask of it.
template <class Ch, std::size_t N>
std::size_t CutComponents(View<Ch> text, std::array<View<Ch>, N>& pieces) {
  std::size_t count = 0;
  std::size_t start = 0;
  while (count < N) {
    const std::size_t semicolon = FindChar(text, Ch(';'), start);
    if (semicolon == View<Ch>::npos) {
      pieces[count++] = text.substr(start);
      break;
    }
    pieces[count++] = text.substr(start, semicolon - start);
    start = semicolon + 1;
  }
  return count;
}

// The property of a name when the line scanner takes it in this form; Other when it does not.
template <class Ch>
PropertyName ScannedName(View<Ch> name, LineScan form) {
  const PropertyNameRow& row = FindPropertyName(name);
  return (row.lineScan & form) != 0 ? row.name : PropertyName::Other;
}

// With kValues false only the captions are wanted: no value is cleaned.
template <class Ch, bool kValues>
class LineHandler {
 public:
  LineHandler(OccurrenceCounters& counters, CellSink<Ch>& sink) : counters_(counters), sink_(sink) {}

  void handle(View<Ch> line, Acceptance acceptance) {
    if (line.empty()) return;
    const std::size_t colon = FindChar(line, Ch(':'));
    if (colon == View<Ch>::npos) return;
    const View<Ch> name = line.substr(0, colon);
    const View<Ch> key = TrimSpaces(name);
    if (key.empty()) return;
    rest_ = line.substr(colon + 1);
    // Plain names carry no parameters: the whole trimmed name part is the name.
    if (const PropertyName plain = ScannedName(key, kPlainName); plain != PropertyName::Other) {
      return handleProperty(plain, name);
    }
    // Trimming removed spaces only, so the key holds a ";" exactly when the name part does.
    std::size_t semicolon = 0;
    while (semicolon < key.size() && key[semicolon] != Ch(';')) ++semicolon;
    if (acceptance == Acceptance::ParametersOnly && semicolon == key.size()) return;
    handleProperty(ScannedName(TrimSpaces(key.substr(0, semicolon)), kTypeName), name);
  }

 private:
  // The text between the first and the second ":"; the rest of the line is
  // everything after the first.
  View<Ch> value() const { return rest_.substr(0, FindChar(rest_, Ch(':'))); }

  void handleProperty(PropertyName property, View<Ch> name) {
    switch (property) {
      case PropertyName::FN:
        return emit(Caption::DisplayName, [&] { return CleanPlain(value()); });
      case PropertyName::N:
        return handleName(value());
      case PropertyName::ORG:
        return emit(Caption::Organization, [&] { return CleanPlain(value()); });
      case PropertyName::BDAY:
        return emit(Caption::Birthday, [&] { return CleanPlain(value()); });
      case PropertyName::NICKNAME:
        return emit(Caption::Nickname, [&] { return CleanPlain(value()); });
      case PropertyName::TITLE:
        return emit(Caption::JobTitle, [&] { return CleanPlain(value()); });
      case PropertyName::ROLE:
        return emit(Caption::Role, [&] { return CleanPlain(value()); });
      case PropertyName::Begin:
        if (PackUpper(TrimSpaces(RemoveCarriageReturns(value()))) == Packed("VCARD")) ++counters_.vcardBlocks;
        return;
      case PropertyName::EMAIL:
        return emitNumbered(Caption::EmailAddress, counters_.email,
                            [&] { return RemoveCarriageReturns(value()); });
      case PropertyName::URL:
        return emitNumbered(Caption::Website, counters_.website,
                            [&] { return RemoveCarriageReturns(rest_); });
      case PropertyName::NOTE:
        return emit(Caption::Notes, [&] { return CleanNote(rest_); });
      case PropertyName::ADR:
        return handleAddress(value(), ContainsWord(name, "WORK"));
      case PropertyName::TEL:
        return handleTelephone(name, value());
      default:
        return;
    }
  }

  void handleName(View<Ch> value) {
    std::array<View<Ch>, 2> parts;
    const std::size_t count = CutComponents(TrimSpaces(value), parts);
    emit(Caption::LastName, [&] { return CleanPlain(parts[0]); });
    if (count >= 2) emit(Caption::FirstName, [&] { return CleanPlain(parts[1]); });
  }

  // Components: post-office box, extended address, street, city, region, postal
  // code, country. The box is never used.
  void handleAddress(View<Ch> value, bool business) {
    std::array<View<Ch>, 7> parts;
    const std::size_t count = CutComponents(TrimSpaces(value), parts);
    if (count < 3) return;
    const Caption first = business ? Caption::BusinessAddress1 : Caption::HomeAddress1;
    const auto caption = [first](int offset) {
      return static_cast<Caption>(static_cast<int>(first) + offset);
    };
    const bool hasExtended = !parts[1].empty();
    emit(caption(0), [&] { return CleanStreet(hasExtended ? parts[1] : parts[2]); });
    emit(caption(1), [&] { return CleanStreet(hasExtended ? parts[2] : View<Ch>()); });
    for (std::size_t i = 3; i < 7 && i < count; ++i) {
      emit(caption(static_cast<int>(i) - 1), [&] { return parts[i]; });
    }
  }

  void handleTelephone(View<Ch> name, View<Ch> value) {
    const auto number = [&] { return RemoveCarriageReturns(value); };
    if (ContainsWord(name, "FAX")) {
      emit(Caption::HomeFax, number);
    } else if (ContainsWord(name, "CELL")) {
      emit(Caption::MobilePhone, number);
    } else if (ContainsWord(name, "PAGER")) {
      emit(Caption::Pager, number);
    } else if (ContainsWord(name, "WORK")) {
      emitNumbered(Caption::BusinessPhone, counters_.businessPhone, number);
    } else {
      emitNumbered(Caption::HomePhone, counters_.homePhone, number);
    }
  }

  template <class Value>
  void emit(Caption caption, Value&& value) {
    sink_.cell(CaptionKey{caption, 1}, kValues ? value() : View<Ch>());
  }

  template <class Value>
  void emitNumbered(Caption caption, std::uint64_t& counter, Value&& value) {
    sink_.cell(CaptionKey{caption, counter}, kValues ? value() : View<Ch>());
    ++counter;
  }

  OccurrenceCounters& counters_;
  CellSink<Ch>& sink_;
  View<Ch> rest_;
};

// Below this many characters a cleaned value is cheaper copied than handed over.
constexpr std::size_t kHandOverAtLeast = std::size_t{1} << 16;

}  // namespace

template <class Ch>
bool TakeCleanedValue(std::basic_string_view<Ch> value, std::basic_string<Ch>& into) {
  String<Ch>& scratch = Scratch<Ch>();
  const std::less_equal<const Ch*> notAfter;
  if (value.size() < kHandOverAtLeast || !notAfter(scratch.data(), value.data()) ||
      !notAfter(value.data() + value.size(), scratch.data() + scratch.size())) {
    return false;
  }
  const auto offset = static_cast<std::size_t>(value.data() - scratch.data());
  const std::size_t size = value.size();
  into = std::move(scratch);
  scratch = String<Ch>();
  into.resize(offset + size);
  into.erase(0, offset);
  return true;
}

void ReleaseCleaningRoom() {
  if (Scratch<char>().capacity() > kHandOverAtLeast) Scratch<char>() = std::string();
  if (Scratch<char16_t>().capacity() > kHandOverAtLeast) Scratch<char16_t>() = std::u16string();
}

template <class Ch>
void HandleLine(std::basic_string_view<Ch> line, OccurrenceCounters& counters, Acceptance acceptance,
                CellSink<Ch>& sink, CellValues values) {
  if (values == CellValues::Cleaned) {
    LineHandler<Ch, true>(counters, sink).handle(line, acceptance);
  } else {
    LineHandler<Ch, false>(counters, sink).handle(line, acceptance);
  }
}

template void HandleLine<char>(std::string_view, OccurrenceCounters&, Acceptance, CellSink<char>&,
                               CellValues);
template void HandleLine<char16_t>(std::u16string_view, OccurrenceCounters&, Acceptance, CellSink<char16_t>&,
                                   CellValues);
template bool TakeCleanedValue<char>(std::string_view, std::string&);
template bool TakeCleanedValue<char16_t>(std::u16string_view, std::u16string&);

}  // namespace brevant
