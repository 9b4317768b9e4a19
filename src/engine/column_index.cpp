#include "engine/column_index.h"

namespace brevant {

namespace {
bool IsNumbered(CaptionKey caption) { return caption.number >= 2; }
std::uint64_t NumberedKey(CaptionKey caption) {
  return caption.number * kCaptionCount + static_cast<std::uint64_t>(caption.caption);
}
}  // namespace

ColumnIndex::ColumnIndex() { unnumbered_.fill(-1); }

std::int32_t ColumnIndex::find(CaptionKey caption) const {
  if (!IsNumbered(caption)) return unnumbered_[static_cast<std::size_t>(caption.caption)];
  const auto found = numbered_.find(NumberedKey(caption));
  return found == numbered_.end() ? -1 : found->second;
}

void ColumnIndex::addIfAbsent(CaptionKey caption) {
  if (find(caption) != -1) return;
  const auto position = static_cast<std::int32_t>(columns_.size());
  columns_.push_back(caption);
  if (IsNumbered(caption)) {
    numbered_.emplace(NumberedKey(caption), position);
  } else {
    unnumbered_[static_cast<std::size_t>(caption.caption)] = position;
  }
}

}  // namespace brevant
