#include "engine/contacts/value_store.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <stdexcept>

#include "engine/contacts/contact_values.h"
#include "engine/text/ascii_html.h"

namespace brevant {

namespace {

constexpr std::size_t kNone = std::string_view::npos;
constexpr std::size_t kLargeValue = std::size_t{8} << 20;

bool IsWord(std::string_view text, std::string_view upper) {
  return EqualsUpperAscii(TrimBlanks(text), upper);
}

bool IsUtf8Name(std::string_view charset) { return IsWord(charset, "UTF-8") || IsWord(charset, "UTF8"); }

void CheckLength(std::string_view text) {
  if (text.size() > UINT32_MAX) throw std::length_error("A value of 4 GB or more");
}

}  // namespace

ValueStore::ValueStore(const ContactBytes& bytes, ContactSink& sink, Host& host)
    : bytes_(bytes),
      sink_(sink),
      host_(host),
      keepsValues_(sink.keepsValues()),
      start_(sink.cells().size()) {}

// Each pass over a value of many megabytes takes long enough to give the host a turn first.
void ValueStore::turnBefore(std::size_t bytes) {
  if (bytes >= kLargeValue) host_.yield();
}

std::uint32_t ValueStore::nextNumber(Caption caption, std::uint16_t label) {
  std::uint32_t& count = label == 0 ? counts_[static_cast<std::size_t>(caption)]
                                    : labelledCount(static_cast<std::uint32_t>(caption) << 16 | label);
  if (count == UINT32_MAX) throw std::length_error("More than 4 billion values of one kind in a contact");
  return ++count;
}

// A contact has few captions with labels: they are looked for in a short
// list, and in a map only past its end.
std::uint32_t& ValueStore::labelledCount(std::uint32_t key) {
  if (manyLabelled_.empty()) {
    for (auto& [each, count] : fewLabelled_) {
      if (each == key) return count;
    }
    if (fewLabelled_.size() < kFewLabelled) return fewLabelled_.emplace_back(key, 0).second;
    manyLabelled_.insert(fewLabelled_.begin(), fewLabelled_.end());
    fewLabelled_.clear();
  }
  return manyLabelled_[key];
}

// Where text stands at the very end of the sink's values (a joined line's
// value), so that it can be changed in place; npos when it does not.
std::size_t ValueStore::valuesTail(std::string_view text) const {
  const std::string& values = sink_.values();
  const std::less_equal<const char*> atOrBefore;
  if (text.empty() || !atOrBefore(values.data(), text.data()) ||
      text.data() + text.size() != values.data() + values.size())
    return kNone;
  return static_cast<std::size_t>(text.data() - values.data());
}

std::string_view ValueStore::stable(std::string_view text) {
  const std::string& values = sink_.values();
  const std::less_equal<const char*> atOrBefore;
  if (text.empty() || !atOrBefore(values.data(), text.data()) ||
      !atOrBefore(text.data() + text.size(), values.data() + values.size()))
    return text;
  structured_.assign(text);
  return structured_;
}

std::string_view ValueStore::decode(const ContentLine& line) {
  std::string_view bytes = line.value;
  if (line.quotedPrintable) {
    turnBefore(bytes.size());
    if (const std::size_t at = valuesTail(bytes); at != kNone) {
      std::string& values = sink_.values();
      values.resize(at + DecodeQuotedPrintableInPlace(values.data() + at, bytes.size()));
      joinedEnd_ = values.size();
      bytes = std::string_view(values).substr(at);
    } else {
      DecodeQuotedPrintable(bytes, quotedPrintable_);
      bytes = quotedPrintable_;
    }
  }
  if (bytes_.fromUtf16() && !line.quotedPrintable) return bytes;
  std::string_view charset = line.charset;
  if (charset.empty()) {
    // 8-bit text that names no character set is in the one the file names
    // elsewhere, when it names one and the text is not UTF-8.
    charset = declaredCodePage();
    if (charset.empty() || IsUtf8(bytes) || EncodingOfMostlyUtf8(bytes) == ByteEncoding::Utf8) return bytes;
  }
  if (charset.empty() || IsUtf8Name(charset)) return bytes;
  decoded_.clear();
  turnBefore(bytes.size());
  if (!charsets_.appendAsUtf8(decoded_, charset, bytes)) return bytes;
  return decoded_;
}

const std::string& ValueStore::findDeclaredCodePage() {
  if (!codePageKnown_) {
    turnBefore(bytes_.bytes().size());
    codePage_ = bytes_.fromUtf16() ? std::string() : DeclaredCodePage(bytes_.bytes());
    codePageKnown_ = true;
  }
  return codePage_;
}

// Unescaped straight into the sink's values, where a cell can take it as it is.
std::string_view ValueStore::unescaped(std::string_view text) {
  if (text.find('\\') == kNone) return text;
  std::string& values = sink_.values();
  if (const std::size_t at = valuesTail(text); at != kNone) {
    std::size_t out = at;
    inSlices(text, [&](std::string_view slice) {
      const std::size_t from = static_cast<std::size_t>(slice.data() - values.data());
      const std::size_t length = UnescapeInPlace(values.data() + from, slice.size());
      std::memmove(values.data() + out, values.data() + from, length);
      out += length;
    });
    values.resize(out);
    joinedEnd_ = values.size();
    return std::string_view(values).substr(at);
  }
  text = stable(text);
  const std::size_t start = values.size();
  inSlices(text, [&](std::string_view slice) { AppendUnescaped(values, slice); });
  return std::string_view(values).substr(start);
}

// Calls each(slice) for pieces of a few megabytes that never end inside an
// escape, with a turn for the host between them.
template <class Each>
void ValueStore::inSlices(std::string_view text, Each&& each) {
  for (std::size_t from = 0; from < text.size();) {
    std::size_t to = std::min(text.size(), from + kLargeValue);
    while (to < text.size() && text[to - 1] == '\\') ++to;
    each(text.substr(from, to - from));
    from = to;
    if (from < text.size()) host_.yield();
  }
}

// UTF-8 when all or most of it is, a few megabytes at a time.
ByteEncoding ValueStore::encodingOf(std::string_view text) {
  if (text.size() < kLargeValue && IsUtf8(text)) return ByteEncoding::Utf8;  // the usual value
  Utf8Count count;
  for (std::size_t from = 0; from < text.size();) {
    const std::size_t to = EscapeSliceEnd(text, from, from + kLargeValue);
    count.add(text.substr(from, to - from));
    from = to;
    if (from < text.size()) host_.yield();
  }
  return count.encoding();
}

// Where the value is kept: where it stands, in the input or the sink's
// values, or else appended to the sink's values.
std::pair<bool, std::uint64_t> ValueStore::keep(std::string_view text) {
  const std::less_equal<const char*> atOrBefore;
  const auto within = [&](std::string_view whole) {
    return atOrBefore(whole.data(), text.data()) &&
           atOrBefore(text.data() + text.size(), whole.data() + whole.size());
  };
  const std::string_view input = bytes_.bytes();
  if (within(input)) return {false, static_cast<std::uint64_t>(text.data() - input.data())};
  std::string& values = sink_.values();
  if (within(values)) return {true, static_cast<std::uint64_t>(text.data() - values.data())};
  const std::size_t offset = values.size();
  if (offset + text.size() > ContactCell::kMostOffset) throw std::length_error("Values of 1 TB or more");
  values.append(text);
  return {true, offset};
}

bool ValueStore::repeats(Caption caption, std::uint16_t label, std::string_view text) {
  if (caption != Caption::Birthday && caption != Caption::Anniversary && caption != Caption::Gender &&
      caption != Caption::Photo && caption != Caption::Logo) {
    return false;
  }
  // A picture of many kilobytes is told by its length, its start and its end,
  // which two different pictures never share: hashing all of it would cost
  // a pass over every picture.
  constexpr std::size_t kSampled = 256;
  const std::hash<std::string_view> hashOf;
  const std::size_t hash = text.size() <= 4 * kSampled ? hashOf(text)
                                                       : hashOf(text.substr(0, kSampled)) ^
                                                             hashOf(text.substr(text.size() - kSampled)) * 31;
  for (const Single& single : singles_) {
    if (single.caption == caption && single.label == label && single.length == text.size() &&
        single.hash == hash) {
      return true;
    }
  }
  constexpr std::size_t kMostSingles = 64;  // a contact of thousands of birthdays is no one's
  if (singles_.size() < kMostSingles) singles_.push_back({caption, label, text.size(), hash});
  return false;
}

void ValueStore::emit(Caption caption, std::string_view text, std::uint16_t label, std::uint32_t number) {
  text = TrimBlanks(text);
  if (text.empty()) return;
  CheckLength(text);
  if (number == 0 && repeats(caption, label, text)) return;
  if (number == 0) number = nextNumber(caption, label);
  // Without values, the names stay: what is left out is told with the contact's name.
  const bool names = caption == Caption::DisplayName || caption == Caption::FirstName ||
                     caption == Caption::LastName || caption == Caption::Organization;
  if (!keepsValues_ && !names) {
    sink_.cells().emplace_back(caption, number, false, ByteEncoding::Utf8, 0, 0, label);
    return;
  }
  const ByteEncoding encoding = encodingOf(text);
  turnBefore(text.size());
  const auto [stored, offset] = keep(text);
  if (offset > ContactCell::kMostOffset) throw std::length_error("A file of 1 TB or more");
  sink_.cells().emplace_back(caption, number, stored, encoding, offset,
                             static_cast<std::uint32_t>(text.size()), label);
}

// Held in the sink's values, as a value whose cell comes when the contact ends must be.
std::size_t ValueStore::hold(std::string_view text) {
  CheckLength(text);
  auto [stored, offset] = keep(text);
  if (!stored) {
    std::string& values = sink_.values();
    values.append(text);
    offset = values.size() - text.size();
  }
  held_.push_back({static_cast<std::size_t>(offset), static_cast<std::uint32_t>(text.size())});
  return held_.size() - 1;
}

std::string_view ValueStore::held(std::size_t index) const {
  return std::string_view(sink_.values()).substr(held_[index].offset, held_[index].length);
}

void ValueStore::emitLines(Caption caption, std::span<const Line> lines) {
  if (lines.empty()) return;
  std::string& values = sink_.values();
  std::size_t most = 0;
  for (const Line& line : lines) most += line.name.size() + 3 + held_[line.held].length * 3;
  values.reserve(values.size() + most);  // appending from itself then never moves it
  const std::size_t start = values.size();
  for (const Line& line : lines) {
    if (values.size() > start) values += '\n';
    values.append(line.name).append(": ");
    const Held& held = held_[line.held];
    const std::string_view text = std::string_view(values).substr(held.offset, held.length);
    if (EncodingOfMostlyUtf8(text) == ByteEncoding::Utf8) {
      values.append(text);
    } else {
      values.append(Utf8Of(text));
    }
  }
  const std::string_view text = std::string_view(values).substr(start);
  CheckLength(text);
  if (start > ContactCell::kMostOffset) throw std::length_error("Values of 1 TB or more");
  sink_.cells().emplace_back(caption, nextNumber(caption, 0), true, ByteEncoding::Utf8, start,
                             static_cast<std::uint32_t>(text.size()));
}

std::string ValueStore::utf8Value(const ContactCell& cell) const {
  const std::string_view text = (cell.stored() ? std::string_view(sink_.values()) : bytes_.bytes())
                                    .substr(cell.offset(), cell.length());
  return Utf8Of(text);
}

std::span<ContactCell> ValueStore::contactCells() {
  std::vector<ContactCell>& cells = sink_.cells();
  return std::span(cells).subspan(std::min(start_, cells.size()));
}

void ValueStore::renumber(std::span<const std::pair<std::size_t, std::size_t>> addresses) {
  const std::span<ContactCell> cells = contactCells();
  counts_.fill(0);
  fewLabelled_.clear();
  manyLabelled_.clear();
  for (std::size_t i = 0, a = 0; i < cells.size();) {
    if (a < addresses.size() && addresses[a].first == i) {
      // One number for the parts of one address, counted among the addresses of its label.
      const auto [first, end] = addresses[a++];
      const std::uint32_t number = nextNumber(Caption::AddressStreet, cells[first].label());
      for (std::size_t k = first; k < end; ++k) {
        cells[k] = cells[k].with(cells[k].caption(), cells[k].label(), number);
      }
      i = end;
      continue;
    }
    cells[i] =
        cells[i].with(cells[i].caption(), cells[i].label(), nextNumber(cells[i].caption(), cells[i].label()));
    ++i;
  }
}

void ValueStore::beginProperty() {
  cellsBefore_ = sink_.cells().size();
  heldBefore_ = held_.size();
  joinedEnd_ = sink_.values().size();
}

void ValueStore::endProperty(std::size_t joinedAt) {
  if (joinedAt == kNone) return;
  std::vector<ContactCell>& cells = sink_.cells();
  const auto inJoined = [&](std::uint64_t offset) { return offset >= joinedAt && offset < joinedEnd_; };
  for (std::size_t i = cellsBefore_; i < cells.size(); ++i) {
    if (cells[i].stored() && inJoined(cells[i].offset())) return;
  }
  for (std::size_t i = heldBefore_; i < held_.size(); ++i) {
    if (inJoined(held_[i].offset)) return;
  }
  // Its room goes; what the property kept after it moves down.
  const std::size_t room = joinedEnd_ - joinedAt;
  sink_.values().erase(joinedAt, room);
  for (std::size_t i = cellsBefore_; i < cells.size(); ++i) {
    const ContactCell& cell = cells[i];
    if (cell.stored() && cell.offset() >= joinedEnd_) {
      cells[i] = cell.movedTo(cell.offset() - room);
    }
  }
  for (std::size_t i = heldBefore_; i < held_.size(); ++i) {
    if (held_[i].offset >= joinedEnd_) held_[i].offset -= room;
  }
}

void ValueStore::dropJoined(std::size_t joinedAt) {
  std::string& values = sink_.values();
  values.resize(std::min(values.size(), joinedAt));
}

void ValueStore::finishContact() {
  std::vector<ContactCell>& cells = sink_.cells();
  const Contact contact{std::span(cells).subspan(std::min(start_, cells.size())), bytes_.bytes(),
                        sink_.values()};
  sink_.contact(contact);
  keepsValues_ = sink_.keepsValues();
  start_ = sink_.cells().size();
  dropContact();
}

void ValueStore::dropContact() {
  std::vector<ContactCell>& cells = sink_.cells();
  cells.erase(cells.begin() + static_cast<std::ptrdiff_t>(std::min(cells.size(), start_)), cells.end());
  start_ = cells.size();
  counts_.fill(0);
  fewLabelled_.clear();
  manyLabelled_.clear();
  held_.clear();
  singles_.clear();
}

}  // namespace brevant
