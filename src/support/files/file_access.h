#pragma once

#include "support/text/text.h"

namespace brevant {

// True when the path names a regular file (links followed) that opens for
// reading. Folders, FIFOs, sockets, devices and unreadable files give false.
// Never blocks, never fails, and never opens anything but a regular file.
bool FileIsAccessible(TextView path);

}  // namespace brevant
