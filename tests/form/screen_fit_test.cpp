#include "form/screen_fit.h"

#include <gtest/gtest.h>

namespace brevant {
namespace {

TEST(ScreenFit, TheWindowKeepsItsSizeWhereItFitsAndShrinksWhereItDoesNot) {
  struct Case {
    ScreenRect area;
    double zoom;
    int x, y;
  };
  const Case cases[] = {
      {{0, 0, 1280, 1024}, 1.0, 368, 208},                 // room enough: centred, frame included
      {{0, 0, 536 + 8, 576 + 32}, 1.0, 0, 0},              // just enough
      {{0, 0, 640, 512}, 480.0 / 576, 92, 0},              // 1280 x 1024 at a scale factor of 2
      {{0, 30, 640, 512}, 480.0 / 576, 92, 30},            // below a panel: never above the area
      {{1280, 0, 1024, 600}, 568.0 / 576, 1280 + 243, 0},  // a second screen to the right
      {{0, 0, 300, 200}, kSmallestZoom, 12, 0},  // too small to be legible: the top stays on the area
      {{0, 0, 0, 0}, 1.0, 0, 0},
  };
  for (const Case& c : cases) {
    const WindowFit fit = FitWindow(536, 576, c.area);
    EXPECT_DOUBLE_EQ(fit.zoom, c.zoom) << c.area.width << "x" << c.area.height;
    EXPECT_EQ(fit.x, c.x) << c.area.width << "x" << c.area.height;
    EXPECT_EQ(fit.y, c.y) << c.area.width << "x" << c.area.height;
  }
}

// The Win32 window gives its frame's real size: at 144 DPI on a 1024 x 768
// screen (a 30-pixel task bar) the 804 x 864 layout is drawn at 0.8, its title
// bar on the screen's top edge; at 96 DPI it fits as it is.
TEST(ScreenFit, AFrameOfTheMonitorsDpiIsKeptInsideTheArea) {
  const WindowFit large = FitWindow(804, 864, {0, 0, 1024, 738}, FrameRoom{12, 45});
  EXPECT_DOUBLE_EQ(large.zoom, 693.0 / 864);
  EXPECT_EQ(large.x, (1024 - 645 - 12) / 2);
  EXPECT_EQ(large.y, 0);
  const WindowFit small = FitWindow(536, 576, {0, 0, 1024, 738}, FrameRoom{8, 31});
  EXPECT_DOUBLE_EQ(small.zoom, 1.0);
  EXPECT_EQ(small.y, (738 - 576 - 31) / 2);
}

}  // namespace
}  // namespace brevant
