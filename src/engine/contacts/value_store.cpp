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

std::uint32_t ValueStore::nextNumber(Caption caption) {
  std::uint32_t& count = counts_[static_cast<std::size_t>(caption)];
  if (count == UINT32_MAX) throw std::length_error("More than 4 billion values of one kind in a contact");
  return ++count;
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
  if (line.charset.empty() || IsUtf8Name(line.charset) || (bytes_.fromUtf16() && !line.quotedPrintable))
    return bytes;
  decoded_.clear();
  turnBefore(bytes.size());
  if (!charsets_.appendAsUtf8(decoded_, line.charset, bytes)) return bytes;
  return decoded_;
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

// UTF-8 when all of it is, a few megabytes at a time.
ByteEncoding ValueStore::encodingOf(std::string_view text) {
  for (std::size_t from = 0; from < text.size();) {
    const std::size_t to = EscapeSliceEnd(text, from, from + kLargeValue);
    if (EncodingOfValue(text.substr(from, to - from)) == ByteEncoding::Windows1252)
      return ByteEncoding::Windows1252;
    from = to;
    if (from < text.size()) host_.yield();
  }
  return ByteEncoding::Utf8;
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
  values.append(text);
  return {true, offset};
}

void ValueStore::emit(Caption caption, std::string_view text) {
  text = TrimBlanks(text);
  if (text.empty()) return;
  CheckLength(text);
  if (!keepsValues_) {
    sink_.cells().emplace_back(caption, nextNumber(caption), false, ByteEncoding::Utf8, 0, 0);
    return;
  }
  const ByteEncoding encoding = encodingOf(text);
  turnBefore(text.size());
  const auto [stored, offset] = keep(text);
  sink_.cells().emplace_back(caption, nextNumber(caption), stored, encoding, offset,
                             static_cast<std::uint32_t>(text.size()));
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

void ValueStore::emitHeld(Caption caption, std::size_t index) {
  const Held& held = held_[index];
  const std::string_view text = std::string_view(sink_.values()).substr(held.offset, held.length);
  sink_.cells().emplace_back(caption, nextNumber(caption), true, EncodingOfValue(text), held.offset,
                             held.length);
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
      cells[i] = ContactCell(cell.caption(), cell.number(), true, cell.encoding(), cell.offset() - room,
                             cell.length());
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
  start_ = sink_.cells().size();
  dropContact();
}

void ValueStore::dropContact() {
  std::vector<ContactCell>& cells = sink_.cells();
  cells.erase(cells.begin() + static_cast<std::ptrdiff_t>(std::min(cells.size(), start_)), cells.end());
  start_ = cells.size();
  counts_.fill(0);
  held_.clear();
}

}  // namespace brevant
