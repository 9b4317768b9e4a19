#pragma once

#include <windows.h>

namespace brevant {

// The layout is in twips: 15 to a pixel at 96 dots per inch.
inline int LayoutPixels(int twips, UINT dpi) { return MulDiv(twips, static_cast<int>(dpi), 1440); }

// The dots per inch of the monitor that shows the window (96 on a system
// that cannot say per window).
UINT WindowDpi(HWND window);

// The outer size of a window with the given style whose client area has the
// given size at the given dots per inch.
SIZE OuterSize(DWORD style, DWORD extendedStyle, int clientWidth, int clientHeight, UINT dpi);

// Tells the system that the program draws for each monitor's DPI itself, in
// case the manifest did not reach it (a program started in an unusual way).
void DeclareDpiAwareness();

}  // namespace brevant
