#include "support/files/file_access.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "support/files/native_path.h"
#include "support/files/posix/posix_files.h"

namespace brevant {

bool FileIsAccessibleAt(int folderDescriptor, const char* name, EntryKind listedKind) {
  // A file that its folder's listing calls regular is asked whether it may be
  // read, in one call rather than an open and a close: the same permission
  // checks, for the same (effective) user.
  if (listedKind == EntryKind::File) return faccessat(folderDescriptor, name, R_OK, AT_EACCESS) == 0;
  // Only a regular file is opened: opening a FIFO could block and opening a
  // device can act on it (a tape rewinds when closed). A listed link or an
  // unknown type needs a look to tell. Whatever the answer, the file may change
  // kind later, so whoever reads it must still guard the reading.
  if (listedKind != EntryKind::Link && listedKind != EntryKind::Unknown) return false;
  struct stat info {};
  if (fstatat(folderDescriptor, name, &info, 0) != 0 || !S_ISREG(info.st_mode)) return false;
  // Non-blocking, in case a FIFO took the file's place in between.
  const int descriptor = openat(folderDescriptor, name, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (descriptor < 0) return false;
  close(descriptor);
  return true;
}

bool FileIsAccessible(TextView path) {
  std::string bytes;
  if (path.empty() || !ToNativePath(path, bytes)) return false;
  return FileIsAccessibleAt(AT_FDCWD, bytes.c_str());
}

}  // namespace brevant
