#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <ostream>
#include <string>

#include "support/text/text.h"

namespace brevant {

// The run's progress on one terminal line, e.g. "Processing: a.vcf  42%",
// redrawn in place. The engine reports a position for every cell it writes, so
// the line is redrawn only when its text changes and at most once per interval;
// clear() and redraw() let other output (error reports) pass between the bar.
class ProgressLine {
 public:
  using Clock = std::function<std::chrono::steady_clock::time_point()>;
  static constexpr std::chrono::milliseconds kInterval{50};

  // When not enabled (no terminal, or asked to be quiet) nothing is ever written.
  // columns is the terminal's width (0: unknown); a longer caption is shortened
  // so that the line never wraps, which would defeat redrawing in place.
  ProgressLine(std::ostream& out, bool enabled, Clock clock = std::chrono::steady_clock::now,
               std::size_t columns = 0);

  void setPosition(double position);
  void setCaption(TextView caption);
  // A line of text without a position, such as the count of a folder scan; the
  // next position brings the percentage back.
  void setStatus(const std::string& text);

  // Takes the line off the screen, if it is shown.
  void clear();
  // Clears the line and forgets its caption and position, so that what comes
  // next (a run after a folder scan) starts on a fresh line.
  void reset();
  // Shows the current state at once, whatever the interval.
  void redraw();

 private:
  void update();
  void draw();
  std::string lineText() const;

  std::ostream& out_;
  bool enabled_;
  Clock clock_;
  std::size_t columns_;

  int percent_ = 0;      // -1: none shown
  std::string caption_;  // already safe for the terminal
  bool anythingSet_ = false;

  bool onScreen_ = false;
  int shownPercent_ = -1;
  std::string shownCaption_;
  std::optional<std::chrono::steady_clock::time_point> lastDraw_;
};

}  // namespace brevant
