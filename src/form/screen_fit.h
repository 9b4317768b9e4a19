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
// and thin borders, which the client area does not include. Where the view
// knows its frame's real size (Win32, at the monitor's DPI), it gives that.
inline constexpr int kTitleBarRoom = 32;
inline constexpr int kBorderRoom = 8;
struct FrameRoom {
  int across = kBorderRoom;  // the left and right borders together
  int down = kTitleBarRoom;  // the title bar and the borders above and below
};
// Below this the captions would no longer be legible.
inline constexpr double kSmallestZoom = 0.5;

// The fixed-size window on a screen's available area (the screen less its
// panels): at its own size when it fits there with its frame, else scaled down
// until it does; centred, and never with its frame's top or left off the area.
// At a scale factor of 2 a 1280 x 1024 screen gives 640 x 512 logical pixels,
// where the 536 x 576 window is drawn at 0.83.
WindowFit FitWindow(int width, int height, const ScreenRect& area, FrameRoom frame = {});

}  // namespace brevant
