#pragma once

#include "support/text.h"

namespace brevant {

// The user's desktop folder with one trailing separator: the default output
// folder. Throws std::invalid_argument when the desktop cannot be located.
Text GetDesktopFolder();

// The folder that holds the running program, without a trailing separator.
Text ProgramFolder();

}  // namespace brevant
