#pragma once

#include <QObject>
#include <QTimer>
#include <chrono>

namespace brevant::bench {

// Watches how often the event loop gets a turn: a zero-interval timer fires
// once per turn, and the longest time between two firings (or between the
// start and the first, or the last and the stop) is the longest the window
// was deaf to its user.
class EventLoopGaps : public QObject {
 public:
  using Clock = std::chrono::steady_clock;

  EventLoopGaps();
  void start();
  void stop();
  double longestGapMilliseconds() const { return longest_.count() * 1e3; }
  long long turns() const { return turns_; }

 private:
  void turn();

  QTimer timer_;
  Clock::time_point last_;
  std::chrono::duration<double> longest_{};
  long long turns_ = 0;
};

}  // namespace brevant::bench
