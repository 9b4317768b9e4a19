#pragma once

#include <string_view>

#include "support/text/text.h"

namespace brevant {

// True when a folder name cannot be handled safely, so the folder scan leaves
// the folder (and all below it) out: a name that holds a lone surrogate (on
// Linux, bytes on disk that are not valid UTF-8 read so) or a control character
// (below U+0020, U+007F, U+0080 to U+009F). The program uses the system's
// Unicode calls, so any other character is fine. "" gives false.
bool HasUnsafeCharacters(TextView name);

// The same test for a name as the system lists it (UTF-8 on Linux): true when it
// is valid UTF-8 without a control character, so that a folder scan may take it.
bool IsUsableListedName(std::string_view bytes);

}  // namespace brevant
