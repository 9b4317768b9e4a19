#include "cli/progress_line.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

namespace brevant {
namespace {

using namespace std::chrono_literals;

constexpr char kErase[] = "\x1b[K";

// A progress line on a string, with a clock the test moves by hand.
class ProgressLineTest : public ::testing::Test {
 protected:
  ProgressLine makeLine(bool enabled = true, std::size_t columns = 0) {
    return ProgressLine(
        out_, enabled, [this] { return now_; }, columns);
  }
  // What was written since the last call.
  std::string written() {
    std::string text = out_.str();
    out_.str("");
    return text;
  }

  std::ostringstream out_;
  std::chrono::steady_clock::time_point now_{};
};

TEST_F(ProgressLineTest, DrawsInPlaceWithCaptionAndWholePercent) {
  ProgressLine line = makeLine();
  line.setCaption(u"Processing: a.vcf");
  EXPECT_EQ(written(), std::string("\rProcessing: a.vcf   0%") + kErase);
  now_ += 60ms;
  line.setPosition(42.9);
  EXPECT_EQ(written(), std::string("\rProcessing: a.vcf  42%") + kErase);
  now_ += 60ms;
  line.setPosition(100);
  EXPECT_EQ(written(), std::string("\rProcessing: a.vcf 100%") + kErase);
}

TEST_F(ProgressLineTest, AStatusShowsWithoutPercentUntilTheNextPosition) {
  ProgressLine line = makeLine(true, 20);
  line.setStatus("Scanning: 12 folders, 340 files");
  EXPECT_EQ(written(), std::string("\rScanning: 12 folder") + kErase);  // cut to the terminal's width
  now_ += 60ms;
  line.setCaption(u"Processing: a.vcf");
  line.setPosition(50);
  line.redraw();
  EXPECT_TRUE(written().ends_with(std::string(" 50%") + kErase));
}

TEST_F(ProgressLineTest, AResetLineForgetsItsStatus) {
  ProgressLine line = makeLine();
  line.setStatus("Scanning: 3 folders, 9 files");
  written();
  now_ += 60ms;
  line.reset();
  EXPECT_EQ(written(), std::string("\r") + kErase);
  line.setPosition(12);
  EXPECT_EQ(written(), std::string("\r 12%") + kErase);
}

TEST_F(ProgressLineTest, PositionIsClampedToTheBarsScale) {
  ProgressLine line = makeLine();
  const std::pair<double, const char*> cases[] = {{-5, "  0%"},    {0.99, "  0%"}, {66.66, " 66%"},
                                                  {99.99, " 99%"}, {250, "100%"},  {std::nan(""), "  0%"}};
  for (const auto& [position, shown] : cases) {
    now_ += 60ms;
    line.setCaption(u"x");
    line.setPosition(position);
    line.redraw();
    EXPECT_TRUE(written().ends_with(std::string("x ") + shown + kErase)) << position;
  }
}

TEST_F(ProgressLineTest, RedrawsOnlyChangesAndAtMostOncePerInterval) {
  ProgressLine line = makeLine();
  line.setPosition(10);
  EXPECT_EQ(written(), std::string("\r 10%") + kErase);  // no caption yet
  line.setPosition(20);
  line.setCaption(u"Processing: b.vcf");
  EXPECT_EQ(written(), "");  // too soon
  now_ += ProgressLine::kInterval;
  line.setPosition(30.2);
  EXPECT_EQ(written(), std::string("\rProcessing: b.vcf  30%") + kErase);  // the latest state
  now_ += 1s;
  line.setPosition(30.7);  // same text
  line.setCaption(u"Processing: b.vcf");
  EXPECT_EQ(written(), "");
}

TEST_F(ProgressLineTest, ClearTakesTheLineAwayAndRedrawBringsItBackAtOnce) {
  ProgressLine line = makeLine();
  line.clear();
  EXPECT_EQ(written(), "");  // nothing shown yet
  line.redraw();
  EXPECT_EQ(written(), "");  // nothing to show yet
  line.setCaption(u"Processing: a.vcf");
  line.setPosition(50);  // within the interval: not drawn
  written();
  line.clear();
  EXPECT_EQ(written(), std::string("\r") + kErase);
  line.clear();
  EXPECT_EQ(written(), "");
  line.redraw();
  EXPECT_EQ(written(), std::string("\rProcessing: a.vcf  50%") + kErase);
}

TEST_F(ProgressLineTest, NeverWritesWhenDisabled) {
  ProgressLine line = makeLine(false);
  line.setCaption(u"Processing: a.vcf");
  now_ += 1s;
  line.setPosition(50);
  line.redraw();
  line.clear();
  EXPECT_EQ(written(), "");
}

TEST_F(ProgressLineTest, CaptionCannotControlTheTerminal) {
  ProgressLine line = makeLine();
  line.setCaption(u"Processing: a\x1b[2J\nb\u009b\xDC80.vcf");
  EXPECT_EQ(written(), std::string("\rProcessing: a?[2J?b?\xEF\xBF\xBD.vcf   0%") + kErase);
}

TEST_F(ProgressLineTest, LongCaptionIsShortenedToFitTheTerminal) {
  ProgressLine line = makeLine(true, 24);
  line.setCaption(u"Processing: \u00E4\u00E4\u00E4-very-long-name.vcf");
  // 18 columns of caption, " ", "  0%": one column stays free.
  EXPECT_EQ(written(), std::string("\rProcessing: \xC3\xA4\xC3\xA4\xC3\xA4...   0%") + kErase);
  ProgressLine narrow = makeLine(true, 8);
  narrow.setCaption(u"Processing: a.vcf");
  EXPECT_EQ(written(), std::string("\r  0%") + kErase);
  ProgressLine fits = makeLine(true, 24);
  fits.setCaption(u"Processing: ab.vcf");
  EXPECT_EQ(written(), std::string("\rProcessing: ab.vcf   0%") + kErase);
}

}  // namespace
}  // namespace brevant
