#pragma once

#include "support/text/text.h"

namespace brevant {

// The file attribute bits users know from Windows. On Linux they are derived:
// directory for a folder, hidden for a name starting with ".", read-only when
// the owner may not write, archive for every regular file, reparse point for a
// symbolic link; system is never set.
inline constexpr int kAttributeReadOnly = 1;
inline constexpr int kAttributeHidden = 2;
inline constexpr int kAttributeSystem = 4;
inline constexpr int kAttributeDirectory = 16;
inline constexpr int kAttributeArchive = 32;
inline constexpr int kAttributeReparsePoint = 1024;

// The attribute value of a file or folder (a trailing "/" is allowed). For a
// symbolic link the kind and the read-only bit are those of its target, plus the
// reparse-point bit. -1 when the path cannot be examined.
int FileAttributeValue(TextView path);

}  // namespace brevant
