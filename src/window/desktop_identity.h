#pragma once

namespace brevant {

// The name of the menu entry (.desktop file) and of the icon in the icon theme.
inline constexpr char kDesktopId[] = "example.ambervale.Brevant";

// Ties the running program to its menu entry (Wayland desktops match windows to
// entries by this name) and gives its windows the program's icon: the one the
// icon theme holds, or the copy built into the program when the theme has none
// (a program run from its build folder).
void PresentAsDesktopApplication();

}  // namespace brevant
