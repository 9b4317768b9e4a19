#pragma once

#include <windows.h>

#include "support/text/text.h"

namespace brevant {

// Makes screen readers call a control by `name` and know it in `role` (a
// ROLE_SYSTEM_... value): its accessible object is the system's own for the
// control (rows, state, places, actions stay as they are) with this name and
// role. Where the caption does not say what a control is ("...", a swatch, a
// text box) the system's object would say nothing, or the caption.
// `value`, when given, says the control's value as it stands when a screen
// reader asks (a progress bar's percentage); the system's object says it otherwise.
using AccessibleValue = Text (*)(HWND control);
void GiveAccessibleName(HWND control, Text name, long role, AccessibleValue value = nullptr);

}  // namespace brevant
