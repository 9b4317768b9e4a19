#pragma once

#include <windows.h>

#include "support/text/text.h"

namespace brevant {

// A progress bar with its caption drawn over it: the part done (0 to 100,
// fractions shown as they fall on pixels) filled, the caption centred on top.
// A window class of its own, registered once.
inline constexpr wchar_t kProgressCaptionBarClass[] = L"BrevantProgressCaptionBar";

void RegisterProgressCaptionBar(HINSTANCE instance);

// Each repaints the bar only when what it shows changes.
void SetProgressPosition(HWND bar, double position);
void SetProgressCaption(HWND bar, const Text& caption);
Text ProgressCaption(HWND bar);

}  // namespace brevant
