#include "event_loop_gaps.h"

#include <algorithm>

namespace brevant::bench {

EventLoopGaps::EventLoopGaps() {
  timer_.setInterval(0);
  connect(&timer_, &QTimer::timeout, this, &EventLoopGaps::turn);
}

void EventLoopGaps::start() {
  longest_ = {};
  turns_ = 0;
  last_ = Clock::now();
  timer_.start();
}

void EventLoopGaps::stop() {
  timer_.stop();
  turn();
  --turns_;
}

void EventLoopGaps::turn() {
  const Clock::time_point now = Clock::now();
  longest_ = std::max<std::chrono::duration<double>>(longest_, now - last_);
  last_ = now;
  ++turns_;
}

}  // namespace brevant::bench
