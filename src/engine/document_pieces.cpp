#include "engine/document_pieces.h"

#include "engine/html_document.h"

namespace brevant {

namespace {

// Characters of a value escaped at once: escaping at most quintuples them, so
// a slice never makes a piece much larger than a megabyte.
constexpr std::size_t kSliceSize = std::size_t{1} << 17;

template <class Ch>
std::size_t SliceEnd(std::basic_string_view<Ch> value) {
  std::size_t end = kSliceSize;
  // The two halves of a surrogate pair stay in one slice.
  if constexpr (sizeof(Ch) == 2) {
    if (value[end - 1] >= 0xD800 && value[end - 1] <= 0xDBFF) --end;
  }
  return end;
}

}  // namespace

template <class Ch>
void DocumentPieces::appendSlices(std::basic_string_view<Ch> value) {
  while (value.size() > kSliceSize) {
    const std::size_t end = SliceEnd(value);
    AppendCellValue(pending_, value.substr(0, end));
    value.remove_prefix(end);
    passOnWhenFull();
    host_.yield();
  }
  AppendCellValue(pending_, value);
  passOnWhenFull();
}

void DocumentPieces::appendValue(std::string_view ansiValue) { appendSlices(ansiValue); }
void DocumentPieces::appendValue(std::u16string_view value) { appendSlices(value); }

void DocumentPieces::passOn() {
  document_.write(pending_);
  pending_.clear();
}

}  // namespace brevant
