#pragma once

#include <sys/stat.h>

#include "support/files/open_folder.h"
#include "support/text/text.h"

// Helpers that the POSIX implementations of the support headers share.
namespace brevant {

// The open test of FileIsAccessible for a name inside an open folder. The kind
// its listing gave spares a look at the file when it already tells the answer.
bool FileIsAccessibleAt(int folderDescriptor, const char* name, EntryKind listedKind = EntryKind::Unknown);

// The attribute value for an entry that is not a symbolic link and whose status is known.
int AttributeValueOf(TextView path, const struct stat& status);

}  // namespace brevant
