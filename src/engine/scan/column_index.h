#pragma once

#include <array>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "engine/scan/captions.h"

namespace brevant {

// The column list of the one-document table: each caption once, in order of
// first appearance. Looking a caption up gives the same position as a scan of
// the list from the front, but in constant time, so a file with a hundred
// thousand numbered e-mail columns does not turn quadratic. A column takes
// about a dozen bytes: numbered captions come with numbers that count up from
// 2, so their positions are kept in a plain table by number.
class ColumnIndex {
 public:
  ColumnIndex();

  // Position (from 0) of the caption, or -1.
  std::int32_t find(CaptionKey caption) const;
  // Appends the caption when it is absent.
  void addIfAbsent(CaptionKey caption);

  std::size_t size() const { return columns_.size(); }
  bool empty() const { return columns_.empty(); }
  CaptionKey at(std::size_t position) const;

 private:
  // The caption in the lowest six bits, its number above them.
  std::vector<std::uint64_t> columns_;
  std::array<std::int32_t, kCaptionCount> unnumbered_;
  // By caption, the positions of numbers 2, 3, ... (-1 where a number has no column yet).
  std::array<std::vector<std::int32_t>, kCaptionCount> numbered_;
  // Numbers far beyond all before them, which no counter gives but nothing forbids.
  std::unordered_map<std::uint64_t, std::int32_t> scattered_;
};

}  // namespace brevant
