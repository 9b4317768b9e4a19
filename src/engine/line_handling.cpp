#include "engine/line_handling.h"

#include <array>

namespace brevant {

namespace {

template <class Ch>
using View = std::basic_string_view<Ch>;
template <class Ch>
using String = std::basic_string<Ch>;

constexpr std::size_t kNotFound = static_cast<std::size_t>(-1);

template <class Ch>
constexpr Ch UpperAscii(Ch c) {
  return (c >= Ch('a') && c <= Ch('z')) ? static_cast<Ch>(c - ('a' - 'A')) : c;
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

// True when the text, upper-cased, is exactly the ASCII name.
template <class Ch>
bool IsName(View<Ch> text, std::string_view name) {
  if (text.size() != name.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (UpperAscii(text[i]) != Ch(static_cast<unsigned char>(name[i]))) return false;
  }
  return true;
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

template <class Ch>
std::size_t Find(View<Ch> text, std::string_view what, std::size_t from = 0) {
  for (std::size_t i = from; i + what.size() <= text.size(); ++i) {
    std::size_t j = 0;
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
  if (text.find(Ch('\r')) == View<Ch>::npos) return text;
  String<Ch>& out = Scratch<Ch>();
  out.clear();
  for (Ch c : text) {
    if (c != Ch('\r')) out.push_back(c);
  }
  return out;
}

// Every occurrence of `what` replaced left to right, without overlap.
template <class Ch>
void ReplaceAll(View<Ch> text, std::string_view what, std::string_view with, String<Ch>& out) {
  out.clear();
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
template <class Ch>
View<Ch> CleanStreet(View<Ch> text) {
  if (Find(text, "\\n") == kNotFound && Find(text, "=0D") == kNotFound) return text;
  static thread_local String<Ch> once;
  ReplaceAll(text, "\\n", " ", once);
  ReplaceAll(View<Ch>(once), "=0D", " ", Scratch<Ch>());
  return Scratch<Ch>();
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
    const std::size_t semicolon = text.find(Ch(';'), start);
    if (semicolon == View<Ch>::npos) {
      pieces[count++] = text.substr(start);
      break;
    }
    pieces[count++] = text.substr(start, semicolon - start);
    start = semicolon + 1;
  }
  return count;
}

template <class Ch>
class LineHandler {
 public:
  LineHandler(OccurrenceCounters& counters, CellSink<Ch>& sink) : counters_(counters), sink_(sink) {}

  void handle(View<Ch> line, Acceptance acceptance) {
    if (line.empty()) return;
    const std::size_t colon = line.find(Ch(':'));
    if (colon == View<Ch>::npos) return;
    const View<Ch> name = line.substr(0, colon);
    const View<Ch> rest = line.substr(colon + 1);
    const View<Ch> value = rest.substr(0, rest.find(Ch(':')));
    const View<Ch> key = TrimSpaces(name);
    if (key.empty()) return;
    if (handlePlainName(key, value)) return;
    if (acceptance == Acceptance::ParametersOnly && name.find(Ch(';')) == View<Ch>::npos) return;
    handleTypeName(name, key, value, rest);
  }

 private:
  bool handlePlainName(View<Ch> key, View<Ch> value) {
    if (IsName(key, "FN")) {
      emit(Caption::DisplayName, CleanPlain(value));
    } else if (IsName(key, "N")) {
      handleName(value);
    } else if (IsName(key, "ORG")) {
      emit(Caption::Organization, CleanPlain(value));
    } else if (IsName(key, "BDAY")) {
      emit(Caption::Birthday, CleanPlain(value));
    } else if (IsName(key, "NICKNAME")) {
      emit(Caption::Nickname, CleanPlain(value));
    } else if (IsName(key, "TITLE")) {
      emit(Caption::JobTitle, CleanPlain(value));
    } else if (IsName(key, "ROLE")) {
      emit(Caption::Role, CleanPlain(value));
    } else {
      return false;
    }
    return true;
  }

  void handleTypeName(View<Ch> name, View<Ch> key, View<Ch> value, View<Ch> rest) {
    const View<Ch> base = TrimSpaces(key.substr(0, key.find(Ch(';'))));
    if (IsName(base, "EMAIL")) {
      emitNumbered(Caption::EmailAddress, counters_.email, RemoveCarriageReturns(value));
    } else if (IsName(base, "N")) {
      handleName(value);
    } else if (IsName(base, "URL")) {
      emitNumbered(Caption::Website, counters_.website, RemoveCarriageReturns(rest));
    } else if (IsName(base, "NOTE")) {
      emit(Caption::Notes, CleanNote(rest));
    } else if (IsName(base, "ADR")) {
      handleAddress(value, ContainsWord(name, "WORK"));
    } else if (IsName(base, "TEL")) {
      handleTelephone(name, RemoveCarriageReturns(value));
    }
  }

  void handleName(View<Ch> value) {
    std::array<View<Ch>, 2> parts;
    const std::size_t count = CutComponents(TrimSpaces(value), parts);
    emit(Caption::LastName, CleanPlain(parts[0]));
    if (count >= 2) emit(Caption::FirstName, CleanPlain(parts[1]));
  }

  // Components: post-office box, extended address, street, city, region, postal
  // code, country. The box is never used.
  void handleAddress(View<Ch> value, bool business) {
    std::array<View<Ch>, 7> parts;
    const std::size_t count = CutComponents(TrimSpaces(value), parts);
    if (count < 3) return;
    const Caption first = business ? Caption::BusinessAddress1 : Caption::HomeAddress1;
    const auto caption = [first](int offset) { return static_cast<Caption>(static_cast<int>(first) + offset); };
    const bool hasExtended = !parts[1].empty();
    emit(caption(0), CleanStreet(hasExtended ? parts[1] : parts[2]));
    emit(caption(1), CleanStreet(hasExtended ? parts[2] : View<Ch>()));
    for (std::size_t i = 3; i < 7 && i < count; ++i) emit(caption(static_cast<int>(i) - 1), parts[i]);
  }

  void handleTelephone(View<Ch> name, View<Ch> number) {
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

  void emit(Caption caption, View<Ch> value) { sink_.cell(CaptionKey{caption, 1}, value); }

  void emitNumbered(Caption caption, std::uint64_t& counter, View<Ch> value) {
    sink_.cell(CaptionKey{caption, counter}, value);
    ++counter;
  }

  OccurrenceCounters& counters_;
  CellSink<Ch>& sink_;
};

class TextCells final : public CellSink<char16_t> {
 public:
  std::vector<Cell> cells;
  void cell(CaptionKey caption, std::u16string_view value) override {
    cells.push_back(Cell{CaptionText(caption), Text(value)});
  }
};

}  // namespace

template <class Ch>
void HandleLine(std::basic_string_view<Ch> line, OccurrenceCounters& counters, Acceptance acceptance,
                CellSink<Ch>& sink) {
  LineHandler<Ch>(counters, sink).handle(line, acceptance);
}

template void HandleLine<char>(std::string_view, OccurrenceCounters&, Acceptance, CellSink<char>&);
template void HandleLine<char16_t>(std::u16string_view, OccurrenceCounters&, Acceptance, CellSink<char16_t>&);

std::vector<Cell> HandleLine(TextView line, OccurrenceCounters& counters, Acceptance acceptance) {
  TextCells sink;
  HandleLine<char16_t>(line, counters, acceptance, sink);
  return std::move(sink.cells);
}

}  // namespace brevant
