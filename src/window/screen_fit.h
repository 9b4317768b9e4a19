#pragma once

namespace brevant {

// A rectangle in the window system's logical pixels.
struct ScreenRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// How large the window is drawn and where it goes.
struct WindowFit {
  double zoom = 1;  // its layout's size times this
  int x = 0;        // the top-left of its frame
  int y = 0;
};

// Room kept for the frame the desktop draws around a window: a title bar above
// and thin borders, which the client area does not include.
inline constexpr int kTitleBarRoom = 32;
inline constexpr int kBorderRoom = 8;
// Below this the captions would no longer be legible.
inline constexpr double kSmallestZoom = 0.5;

// The fixed-size window on a screen's available area (the screen less its
// panels): at its own size when it fits there with its frame, else scaled down
// until it does; centred, and never with its frame's top or left off the area.
// At a scale factor of 2 a 1280 x 1024 screen gives 640 x 512 logical pixels,
// where the 536 x 576 window is drawn at 0.83.
WindowFit FitWindow(int width, int height, const ScreenRect& area);

}  // namespace brevant
