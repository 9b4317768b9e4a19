#pragma once

#include <cstdint>

namespace brevant {

// Gives the event loop a turn when a long operation yields, but only once some
// milliseconds have passed since the last turn: the engine yields once per cell
// of a document, far more often than a window needs, so a yield that gives no
// turn must cost next to nothing (a look at the system's coarse clock).
class EventTurns {
 public:
  static constexpr std::int64_t kIntervalMicroseconds = 5000;

  // Runs `turn` (which processes pending events) when the interval has passed;
  // true when it did.
  template <class Turn>
  bool yield(Turn&& turn) {
    const std::int64_t now = NowMicroseconds();
    if (now - last_ < kIntervalMicroseconds) return false;
    turn();
    last_ = NowMicroseconds();
    return true;
  }
  // The next yield processes events at once (a new caption wants painting).
  void turnSoon() { last_ = kLongAgo; }

 private:
  // Microseconds of a clock that is cheap to read.
  static std::int64_t NowMicroseconds();
  static constexpr std::int64_t kLongAgo = INT64_MIN / 2;
  std::int64_t last_ = kLongAgo;
};

// Thrown out of a yield when the window closed meanwhile: it unwinds the run or
// scan in progress, whose writers remove their unfinished temporary files. It is
// deliberately no std::exception, so that the error reports of the engine and the
// scanner pass it on instead of reporting it.
struct WindowClosed {};

}  // namespace brevant
