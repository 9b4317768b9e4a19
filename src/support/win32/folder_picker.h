#pragma once

#include <windows.h>

#include "support/text/text.h"

namespace brevant {

// The shell's folder dialog, modal to `owner`, titled `title`, opening on
// `startFolder` when that folder exists. Gives the chosen folder's path (a
// drive's root as "C:\", any other folder without a trailing "\"), or "" when
// the user cancels or the choice has no file-system path.
Text BrowseForFolder(HWND owner, const Text& title, const Text& startFolder);

}  // namespace brevant
