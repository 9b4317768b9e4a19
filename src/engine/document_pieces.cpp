#include "engine/document_pieces.h"

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

}  // namespace

template <class Ch>
void DocumentPieces::appendSlices(std::basic_string_view<Ch> value) {
  while (value.size() > kSliceSize) {
    const std::size_t end = SliceEnd(value, kSliceSize);
    AppendCellValue(pending_, value.substr(0, end));
    value.remove_prefix(end);
    passOnWhenFull();
    host_.yield();
  }
  AppendCellValue(pending_, value);
  passOnWhenFull();
}

template void DocumentPieces::appendSlices<char>(std::string_view);
template void DocumentPieces::appendSlices<char16_t>(std::u16string_view);

void DocumentPieces::passOn() {
  document_.write(pending_);
  pending_.clear();
}

}  // namespace brevant
