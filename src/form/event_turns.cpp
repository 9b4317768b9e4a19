#include "form/event_turns.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include <chrono>
#include <ctime>

namespace brevant {

// A few milliseconds of coarseness are fine for spacing turns.
std::int64_t EventTurns::NowMicroseconds() {
#if defined(_WIN32)
  // The system's tick count is read from memory it shares with every program;
  // the precise clocks cost a call into the system (and under Wine a good deal more).
  return static_cast<std::int64_t>(GetTickCount64()) * 1000;
#elif defined(CLOCK_MONOTONIC_COARSE)
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
