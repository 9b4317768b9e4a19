#pragma once

#include "support/text/text.h"

namespace brevant {

// The user's desktop folder ending in "\", or "" when the shell cannot say.
Text DesktopFolder();

// The folder that holds the running program, without a trailing "\".
Text ProgramFolder();

}  // namespace brevant
