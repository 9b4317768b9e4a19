#pragma once

#include <vector>

#include "support/folders/scan_observer.h"
#include "support/text/text.h"

namespace brevant {

// Every file of a folder tree whose name matches "*." + extension (so "*" takes
// every file), as full paths: the folder's own files first, then those of its
// sub-folders level by level (see GetSubDirectories2016), each folder's files in
// listing order. Left out: names starting with "~" (editors' lock and backup
// files), files that do not open, and writable hidden files (attribute value
// exactly 34). Paths are folder + separator + name with doubled separators collapsed.
// Shared by the window's "add folder" and by the command line.
std::vector<Text> ListMatchingFiles(TextView folder, TextView extension, ScanObserver& observer);

}  // namespace brevant
