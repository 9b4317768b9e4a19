#include "form/event_turns.h"

#include <chrono>
#include <ctime>

namespace brevant {

// A few milliseconds of coarseness are fine for spacing turns.
std::int64_t EventTurns::NowMicroseconds() {
#ifdef CLOCK_MONOTONIC_COARSE
  timespec now;
  clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1'000'000 + now.tv_nsec / 1000;
#else
  return std::chrono::duration_cast<std::chrono::microseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
#endif
}

}  // namespace brevant
