#pragma once

#include "support/text/text.h"

namespace brevant {

// Windows style uses "\" as separator and keeps network paths ("\\srv\share");
// POSIX style uses "/". The program uses the native style.
enum class PathStyle { Windows, Posix };

#ifdef _WIN32
inline constexpr PathStyle kNativePathStyle = PathStyle::Windows;
#else
inline constexpr PathStyle kNativePathStyle = PathStyle::Posix;
#endif

char16_t Separator(PathStyle style = kNativePathStyle);

// Text after the last separator (the whole input when there is none).
Text GetFileName(TextView path, PathStyle style = kNativePathStyle);

// Text up to and including the last separator; "" when there is none.
Text GetFolderPath(TextView path, PathStyle style = kNativePathStyle);

// Text before the last "." when that "." is not the first character; else the
// input unchanged. The "." is looked for in the whole text, folders included.
Text StripExtension(TextView path);

// Collapses doubled separators in one left-to-right pass. A leading run of
// separators becomes "\\" in Windows style (network paths) and "/" in POSIX style.
Text CollapseBackslashes(TextView path, PathStyle style = kNativePathStyle);

}  // namespace brevant
