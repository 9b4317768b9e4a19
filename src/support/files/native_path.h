#pragma once

#include <string>

#include "support/text/text.h"

namespace brevant {

// A path as the system's file calls take it: UTF-8 bytes on Linux, UTF-16 for
// the wide calls on Windows.
#ifdef _WIN32
using NativePath = std::wstring;
#else
using NativePath = std::string;
#endif

// The path for the system's file calls. False when the path holds a NUL, which
// those calls would take as the end and so name another file.
bool ToNativePath(TextView path, NativePath& native);
// The program's text for a path from the system.
Text FromNativePath(const NativePath& native);
// The path as a user writes it, for messages: on Windows without the long
// form's prefix (C:\folder for \\?\C:\folder, \\server for \\?\UNC\server).
Text ShownPath(const NativePath& native);

}  // namespace brevant
