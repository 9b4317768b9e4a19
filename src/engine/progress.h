#pragma once

#include <cmath>
#include <cstddef>

namespace brevant {

// The whole part of part / whole * 100, computed in floating point in that order,
// as the progress display has always shown it (three steps give 33, 66, 100).
inline double WholePercent(std::size_t part, std::size_t whole) {
  return std::floor(static_cast<double>(part) / static_cast<double>(whole) * 100.0);
}

// While a large file is read, the window system gets a turn after every this
// many characters of lines (some tenths of a millisecond of work: often enough
// for the window, far enough apart to cost nothing).
inline constexpr std::size_t kCharactersBetweenTurns = std::size_t{1} << 18;

// While a row of many cells is written, a turn after every this many cells.
inline constexpr std::size_t kCellsBetweenYields = 4096;

// The progress caption while a file is converted: this, then the file's name.
inline constexpr char16_t kProcessingPrefix[] = u"Processing: ";

// The same share with its fraction (33.33..., 66.66..., 100).
inline double FractionalPercent(std::size_t part, std::size_t whole) {
  return static_cast<double>(part) / static_cast<double>(whole) * 100.0;
}

}  // namespace brevant

namespace brevant {

// Steps i = 0, 1, ..., last and says when WholePercent(i, last) changes, at the
// cost of a few divisions per change rather than one per step.
class PercentSteps {
 public:
  explicit PercentSteps(std::size_t last) : last_(last) {}

  // True when step i shows another whole percent than the step before it (or is the first).
  bool changesAt(std::size_t i) const { return i >= nextChange_; }

  // The percent at step i; also finds the next step where it changes.
  double at(std::size_t i) {
    const double percent = WholePercent(i, last_);
    // The percent never falls as i grows: start from the estimate and correct it.
    auto next = static_cast<std::size_t>(std::ceil((percent + 1) * static_cast<double>(last_) / 100.0));
    if (next <= i) next = i + 1;
    while (next > i + 1 && WholePercent(next - 1, last_) > percent) --next;
    while (next <= last_ && WholePercent(next, last_) <= percent) ++next;
    nextChange_ = next;
    return percent;
  }

 private:
  std::size_t last_;
  std::size_t nextChange_ = 0;
};

}  // namespace brevant
