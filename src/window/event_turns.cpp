#include "window/event_turns.h"

#include <QCoreApplication>

namespace brevant {

bool EventTurns::yield() {
  const Clock::time_point now = Clock::now();
  if (now - last_ < kInterval) return false;
  QCoreApplication::processEvents();
  last_ = Clock::now();
  return true;
}

}  // namespace brevant
