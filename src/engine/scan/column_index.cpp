#include "engine/scan/column_index.h"

#include <limits>
#include <stdexcept>

namespace brevant {

namespace {
constexpr int kCaptionBits = 6;
static_assert(kCaptionCount <= 1 << kCaptionBits);
// A number this far beyond the table's end goes to the scattered ones instead
// of growing the table.
constexpr std::uint64_t kTableSlack = 4096;

bool IsNumbered(CaptionKey caption) { return caption.number >= 2; }
bool Fits(CaptionKey caption) { return caption.number >> (64 - kCaptionBits) == 0; }
// The caption in the lowest bits, its number above them; numbers are checked to fit.
std::uint64_t Packed(CaptionKey caption) {
  return caption.number << kCaptionBits | static_cast<std::uint64_t>(caption.caption);
}
}  // namespace

ColumnIndex::ColumnIndex() { unnumbered_.fill(-1); }

std::int32_t ColumnIndex::find(CaptionKey caption) const {
  const auto index = static_cast<std::size_t>(caption.caption);
  if (!IsNumbered(caption)) return unnumbered_[index];
  const std::vector<std::int32_t>& table = numbered_[index];
  // A number that the table reached later may have been scattered before.
  if (caption.number - 2 < table.size()) {
    const std::int32_t position = table[caption.number - 2];
    if (position != -1 || scattered_.empty()) return position;
  }
  if (scattered_.empty() || !Fits(caption)) return -1;
  const auto found = scattered_.find(Packed(caption));
  return found == scattered_.end() ? -1 : found->second;
}

void ColumnIndex::addIfAbsent(CaptionKey caption) {
  if (find(caption) != -1) return;
  if (columns_.size() >= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
    throw std::length_error("More columns than a table can hold");
  if (!Fits(caption)) throw std::length_error("A caption number too large");
  const auto position = static_cast<std::int32_t>(columns_.size());
  columns_.push_back(Packed(caption));
  const auto index = static_cast<std::size_t>(caption.caption);
  if (!IsNumbered(caption)) {
    unnumbered_[index] = position;
    return;
  }
  std::vector<std::int32_t>& table = numbered_[index];
  if (caption.number - 2 < table.size() + kTableSlack) {
    if (caption.number - 2 >= table.size()) table.resize(caption.number - 1, -1);
    table[caption.number - 2] = position;
  } else {
    scattered_.emplace(Packed(caption), position);
  }
}

CaptionKey ColumnIndex::at(std::size_t position) const {
  const std::uint64_t column = columns_[position];
  return {static_cast<Caption>(column & ((1 << kCaptionBits) - 1)), column >> kCaptionBits};
}

}  // namespace brevant
