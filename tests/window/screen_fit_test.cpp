#include "window/screen_fit.h"

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

}  // namespace
}  // namespace brevant
