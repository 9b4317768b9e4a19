#pragma once

#include <windows.h>

#include "support/text/text.h"

namespace brevant {

// The program's text and the wide text of the Windows calls are the same
// 16-bit units.
inline const wchar_t* Wide(const Text& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }
inline Text FromWide(const wchar_t* text) { return Text(reinterpret_cast<const char16_t*>(text)); }
inline Text FromWide(const wchar_t* text, std::size_t length) {
  return Text(reinterpret_cast<const char16_t*>(text), length);
}

// The text of a window (a control's caption or an edit's content).
Text WindowText(HWND window);

// A text as a box shows it: every line break (CR, LF or CR LF) as CR LF.
Text WithBoxLineBreaks(TextView text);

}  // namespace brevant
