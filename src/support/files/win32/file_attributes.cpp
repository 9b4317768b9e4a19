#include "support/files/file_attributes.h"

#include "support/files/win32/win32_files.h"

namespace brevant {

// The file system's own attributes (a symbolic link or junction carries the
// reparse point beside its target's kind).
int FileAttributeValue(TextView path) {
  NativePath native;
  if (path.empty() || !ToNativePath(path, native)) return -1;
  const DWORD attributes = GetFileAttributesW(WithoutTrailingSeparators(native).c_str());
  return attributes == INVALID_FILE_ATTRIBUTES ? -1 : KnownAttributes(attributes);
}

}  // namespace brevant
