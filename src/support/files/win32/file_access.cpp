#include "support/files/file_access.h"

#include "support/files/win32/win32_files.h"

namespace brevant {

// Opened for reading while others may read and write it: a file another
// program holds without sharing is not accessible. A folder does not open this
// way; a pipe or device opens but is no file.
bool FileIsAccessible(TextView path) {
  NativePath native;
  if (path.empty() || !ToNativePath(path, native)) return false;
  const OwnedHandle file(CreateFileW(native.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  return file.valid() && GetFileType(file.get()) == FILE_TYPE_DISK;
}

}  // namespace brevant
