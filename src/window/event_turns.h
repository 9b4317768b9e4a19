#pragma once

#include <chrono>

namespace brevant {

// Gives the event loop a turn when a long operation yields, but only once some
// milliseconds have passed since the last turn: the engine yields once per cell
// of a document, far more often than a window needs, and each turn costs.
class EventTurns {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr std::chrono::milliseconds kInterval{5};

  // Processes pending events when the interval has passed; true when it did.
  bool yield();
  // The next yield processes events at once (a new caption wants painting).
  void turnSoon() { last_ = Clock::time_point(); }

 private:
  Clock::time_point last_{};
};

// Thrown out of a yield when the window closed meanwhile: it unwinds the run or
// scan in progress, whose writers remove their unfinished temporary files. It is
// deliberately no std::exception, so that the error reports of the engine and the
// scanner pass it on instead of reporting it.
struct WindowClosed {};

}  // namespace brevant
