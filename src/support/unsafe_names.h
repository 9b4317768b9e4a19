#pragma once

#include "support/text.h"

namespace brevant {

// True when a folder name cannot be handled safely, so the folder scan leaves
// the folder (and all below it) out. On Linux: a name that is not valid UTF-8
// on disk (it reads with lone surrogates) or that holds a control character
// (below U+0020, U+007F, U+0080 to U+009F). On Windows: a character the ANSI
// code page cannot hold, "?", or such a control character. "" gives false.
bool HasUnsafeCharacters(TextView name);

}  // namespace brevant
