#pragma once

#include <dirent.h>

#include "support/text.h"

namespace brevant {

// True when the path names a regular file (links followed) that opens for
// reading. Folders, FIFOs, sockets, devices and unreadable files give false.
// Never blocks, never fails, and never opens anything but a regular file.
bool FileIsAccessible(TextView path);

// The same test for a name inside an open folder. The type its listing gave
// spares a look at the file when it already tells the answer.
bool FileIsAccessibleAt(int folderDescriptor, const char* name, unsigned char listedType = DT_UNKNOWN);

}  // namespace brevant
