#pragma once

#include <cmath>
#include <cstddef>

namespace brevant {

// The whole part of part / whole * 100, computed in floating point in that order,
// as the progress display has always shown it (three steps give 33, 66, 100).
inline double WholePercent(std::size_t part, std::size_t whole) {
  return std::floor(static_cast<double>(part) / static_cast<double>(whole) * 100.0);
}

// The same share with its fraction (33.33..., 66.66..., 100).
inline double FractionalPercent(std::size_t part, std::size_t whole) {
  return static_cast<double>(part) / static_cast<double>(whole) * 100.0;
}

}  // namespace brevant
