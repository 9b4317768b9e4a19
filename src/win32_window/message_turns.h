#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>

namespace brevant {

// The window's message loop and the turns that long operations give it. Tab,
// arrows, Enter and Space work as in a dialog; Enter on a focused button
// presses it. It measures the longest time between two turns while a run
// or scan is busy (for the benchmark).
class MessageTurns {
 public:
  void setWindow(HWND window) { window_ = window; }

  // Runs until the program is asked to end; gives its exit code.
  int run();
  // Processes what is pending, once. A request to end stays pending for the
  // outer loop.
  void processPending();

  // A span of busy work (a run, a scan): how long it took, the longest gap
  // between two turns within it, and how many turns it gave, in microseconds.
  struct BusySpan {
    std::int64_t duration = 0;
    std::int64_t longestGap = 0;
    std::uint64_t turns = 0;
  };
  void beginBusySpan();
  void endBusySpan();
  const BusySpan& lastBusySpan() const { return last_; }
  // Told when a busy span begins, and how each went when it ends.
  void setBusySpanObservers(std::function<void()> begun, std::function<void(const BusySpan&)> ended) {
    begun_ = std::move(begun);
    observer_ = std::move(ended);
  }

 private:
  void dispatch(MSG& message);
  void noteTurn();

  HWND window_ = nullptr;
  std::int64_t lastTurn_ = 0;
  std::int64_t spanStart_ = 0;
  bool busy_ = false;
  BusySpan current_;
  BusySpan last_;
  std::function<void()> begun_;
  std::function<void(const BusySpan&)> observer_;
};

// Microseconds of the system's performance counter.
std::int64_t NowMicroseconds();

}  // namespace brevant
