#include "form/screen_fit.h"

#include <algorithm>
#include <cmath>

namespace brevant {

WindowFit FitWindow(int width, int height, const ScreenRect& area, FrameRoom frame) {
  WindowFit fit;
  if (width <= 0 || height <= 0 || area.width <= 0 || area.height <= 0) {
    fit.x = area.x;
    fit.y = area.y;
    return fit;
  }
  const double across = static_cast<double>(area.width - frame.across) / width;
  const double down = static_cast<double>(area.height - frame.down) / height;
  fit.zoom = std::clamp(std::min(across, down), kSmallestZoom, 1.0);
  const int outerWidth = static_cast<int>(std::lround(width * fit.zoom)) + frame.across;
  const int outerHeight = static_cast<int>(std::lround(height * fit.zoom)) + frame.down;
  fit.x = area.x + std::max(0, (area.width - outerWidth) / 2);
  fit.y = area.y + std::max(0, (area.height - outerHeight) / 2);
  return fit;
}

}  // namespace brevant
