#pragma once

#include "support/text/text.h"

namespace brevant {

// The default output folder: the desktop, or when it does not exist the
// Documents folder, or else the home folder; with one trailing separator.
Text DefaultOutputFolder();

// The folder that holds the running program, without a trailing separator.
Text ProgramFolder();

}  // namespace brevant
