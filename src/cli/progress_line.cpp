#include "cli/progress_line.h"

#include <cmath>
#include <string_view>

#include "cli/terminal_text.h"
#include "support/text/utf8.h"

namespace brevant {

namespace {

constexpr char kReturnAndErase[] = "\r\x1b[K";
constexpr std::string_view kEllipsis = "...";

std::size_t CodePoints(const std::string& utf8) {
  std::size_t count = 0;
  for (unsigned char byte : utf8) count += (byte & 0xC0) != 0x80;
  return count;
}

// The first `keep` code points of a UTF-8 text.
std::string Leading(const std::string& utf8, std::size_t keep) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    if ((static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80 && count++ == keep) return utf8.substr(0, i);
  }
  return utf8;
}

// Whole percent shown for a position; the bar's scale is 0 to 100.
int WholePercent(double position) {
  if (!(position > 0)) return 0;  // also NaN
  if (position >= 100) return 100;
  return static_cast<int>(std::floor(position));
}

}  // namespace

ProgressLine::ProgressLine(std::ostream& out, bool enabled, Clock clock, std::size_t columns)
    : out_(out), enabled_(enabled), clock_(std::move(clock)), columns_(columns) {}

void ProgressLine::setPosition(double position) {
  percent_ = WholePercent(position);
  update();
}

void ProgressLine::setCaption(TextView caption) {
  caption_ = TerminalLine(caption);
  update();
}

void ProgressLine::setStatus(const std::string& text) {
  caption_ = TerminalLine(FromUtf8(text));
  percent_ = -1;
  update();
}

void ProgressLine::clear() {
  if (!onScreen_) return;
  out_ << kReturnAndErase << std::flush;
  onScreen_ = false;
}

void ProgressLine::reset() {
  clear();
  caption_.clear();
  percent_ = 0;
  anythingSet_ = false;
}

void ProgressLine::redraw() {
  if (enabled_ && anythingSet_) draw();
}

void ProgressLine::update() {
  anythingSet_ = true;
  if (!enabled_) return;
  if (onScreen_ && percent_ == shownPercent_ && caption_ == shownCaption_) return;
  if (lastDraw_ && clock_() - *lastDraw_ < kInterval) return;
  draw();
}

void ProgressLine::draw() {
  // One piece, so an unbuffered stream writes it at once.
  out_ << ('\r' + lineText() + "\x1b[K") << std::flush;
  onScreen_ = true;
  shownPercent_ = percent_;
  shownCaption_ = caption_;
  lastDraw_ = clock_();
}

std::string ProgressLine::lineText() const {
  if (percent_ < 0) return Leading(caption_, columns_ > 1 ? columns_ - 1 : caption_.size());
  std::string percent = std::to_string(percent_) + "%";
  percent.insert(0, 4 - percent.size(), ' ');  // right-aligned: "  5%", " 42%", "100%"
  std::string caption = caption_;
  // The last column stays free: some terminals wrap as soon as it is written.
  const std::size_t suffix = 1 + percent.size();  // " 42%"
  if (columns_ > 0 && CodePoints(caption) + suffix + 1 > columns_) {
    const std::size_t room = columns_ > suffix + 1 ? columns_ - suffix - 1 : 0;
    caption = room > kEllipsis.size() ? Leading(caption, room - kEllipsis.size()) + std::string(kEllipsis)
                                      : std::string();
  }
  return caption.empty() ? percent : caption + " " + percent;
}

}  // namespace brevant
