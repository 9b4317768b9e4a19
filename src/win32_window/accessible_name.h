#pragma once

#include <windows.h>

#include "support/text/text.h"

namespace brevant {

// Makes screen readers call a control by `name` and know it in `role` (a
// ROLE_SYSTEM_... value): its accessible object is the system's own for the
// control (rows, state, places, actions stay as they are) with this name and
// role. Where the caption does not say what a control is ("...", a swatch, a
// text box) the system's object would say nothing, or the caption.
void GiveAccessibleName(HWND control, Text name, long role);

}  // namespace brevant
