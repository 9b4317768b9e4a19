#pragma once

#include <vector>

#include "support/folders/scan_observer.h"
#include "support/text/text.h"

namespace brevant {

// Extends a folder list by the sub-folders of its entries. Every entry is a
// folder path ending in the separator. The caller's entries come first, then all their
// sub-folders, then with recurse all sub-folders one level deeper, and so on:
// breadth first, each folder's sub-folders in listing order (see SortAsListed).
// A caller's entry that is no folder stays where it is, unscanned; a folder
// that cannot be listed (access denied, gone) leaves the list quietly, so none
// of its files are taken.
//
// Left out, with all below them: sub-folders that are symbolic links (a caller's
// entry that is a link is followed), folders listed before (so no loop of bind
// mounts can make the scan endless), names of 256 bytes or more or with unsafe
// characters (see HasUnsafeCharacters), and hidden system folders. A folder path
// of 4096 bytes or more is not scanned. The levels are walked in a loop, so any
// depth is safe. Other failures are reported to the observer and stepped over.
void GetSubDirectories2016(std::vector<Text>& folders, bool recurse, ScanObserver& observer);

}  // namespace brevant
