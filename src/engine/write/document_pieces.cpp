#include "engine/write/document_pieces.h"

#include <algorithm>
#include <charconv>

#include "support/text/html_escape.h"

namespace brevant {

namespace {

template <class Ch>
std::size_t SliceEnd(std::basic_string_view<Ch> value, std::size_t size) {
  std::size_t end = size;
  // The two halves of a surrogate pair stay in one slice.
  if constexpr (sizeof(Ch) == 2) {
    if (value[end - 1] >= 0xD800 && value[end - 1] <= 0xDBFF) --end;
  }
  return end;
}

// The most bytes that escaping makes of one byte ("&amp;").
constexpr std::size_t kMostPerByte = MostHtmlEntityBytes();

}  // namespace

void DocumentPieces::grow(std::size_t bytes) {
  // Filled pieces go first; the room then grows by halves at least, so that a
  // document's cells cost few moves.
  if (used_ >= kPieceSize) passOn();
  if (bytes <= buffer_.size() - used_) return;
  buffer_.resize(std::max({used_ + bytes, buffer_.size() + buffer_.size() / 2, std::size_t{4096}}));
}

// The same bytes as AppendHeaderCell, written in place.
void DocumentPieces::appendNumberedHeaderCell(CaptionKey caption) {
  const std::string_view name = CaptionName(caption.caption);
  constexpr std::size_t kMostDigits = 20;
  char* const start = room(name.size() + kMostDigits + 10);
  char* out = start;
  std::memcpy(out, "<th>", 4);
  std::memcpy(out + 4, name.data(), name.size());
  out += 4 + name.size();
  *out++ = ' ';
  out = std::to_chars(out, out + kMostDigits, caption.number).ptr;
  std::memcpy(out, "</th>", 5);
  out += 5;
  used_ += static_cast<std::size_t>(out - start);
}

// The same bytes as AppendCellValue, written in place: runs without markup are
// copied whole.
void DocumentPieces::appendEscaped(std::string_view value) {
  if (value.empty()) return;  // an empty value may point nowhere
  if (xhtml_ && !IsXmlText(value)) {
    scratch_.clear();
    AppendCellValue(scratch_, value);
    MakeXmlText(scratch_);
    return append(scratch_);
  }
  char* const start = room(value.size() * kMostPerByte);
  used_ += static_cast<std::size_t>(PutHtmlEscaped(start, value) - start);
}

void DocumentPieces::appendEscaped(std::u16string_view value) {
  scratch_.clear();
  AppendCellValue(scratch_, value);
  if (xhtml_) MakeXmlText(scratch_);
  append(scratch_);
}

template <class Ch>
void DocumentPieces::appendSlices(std::basic_string_view<Ch> value) {
  while (value.size() > kSliceSize) {
    const std::size_t end = SliceEnd(value, kSliceSize);
    appendEscaped(value.substr(0, end));
    value.remove_prefix(end);
    passOnWhenFull();
    turn_();
  }
  appendEscaped(value);
  passOnWhenFull();
}

template void DocumentPieces::appendSlices<char>(std::string_view);
template void DocumentPieces::appendSlices<char16_t>(std::u16string_view);

void DocumentPieces::passOn() {
  document_.write(std::string_view(buffer_.data(), used_));
  used_ = 0;
}

}  // namespace brevant
