#pragma once

#include <windows.h>

#include "support/text/text.h"

namespace brevant {

// A progress bar with its caption drawn over it: the part done (0 to 100,
// fractions shown as they fall on pixels) filled, the caption centred on top.
// A window class of its own, registered once.
inline constexpr wchar_t kProgressCaptionBarClass[] = L"BrevantProgressCaptionBar";

void RegisterProgressCaptionBar(HINSTANCE instance);

// Each repaints the bar only when what it shows changes; a change of the whole
// percent is told to screen readers as a change of the bar's value.
void SetProgressPosition(HWND bar, double position);
void SetProgressCaption(HWND bar, const Text& caption);
Text ProgressCaption(HWND bar);
// What the bar shows done, as a screen reader says it: "42%" (whole percents).
Text ProgressValueText(HWND bar);

}  // namespace brevant
