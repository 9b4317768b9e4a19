#pragma once

#include <array>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "engine/captions.h"

namespace brevant {

// The column list of the one-document table: each caption once, in order of
// first appearance. Looking a caption up gives the same position as a scan of
// the list from the front, but in constant time, so a file with a hundred
// thousand numbered e-mail columns does not turn quadratic.
class ColumnIndex {
 public:
  ColumnIndex();

  // Position (from 0) of the caption, or -1.
  std::int32_t find(CaptionKey caption) const;
  // Appends the caption when it is absent.
  void addIfAbsent(CaptionKey caption);

  std::size_t size() const { return columns_.size(); }
  bool empty() const { return columns_.empty(); }
  CaptionKey at(std::size_t position) const { return columns_[position]; }

 private:
  std::vector<CaptionKey> columns_;
  std::array<std::int32_t, kCaptionCount> unnumbered_;
  std::unordered_map<std::uint64_t, std::int32_t> numbered_;
};

}  // namespace brevant
