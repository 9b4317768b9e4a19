#include "support/file_access.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "support/native_path.h"

namespace brevant {

bool FileIsAccessibleAt(int folderDescriptor, const char* name) {
  // Looking first keeps us from opening devices (a tape rewinds when closed)
  // and FIFOs; the second look catches a file swapped in between.
  struct stat info {};
  if (fstatat(folderDescriptor, name, &info, 0) != 0 || !S_ISREG(info.st_mode)) return false;
  const int descriptor = openat(folderDescriptor, name, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (descriptor < 0) return false;
  const bool regular = fstat(descriptor, &info) == 0 && S_ISREG(info.st_mode);
  close(descriptor);
  return regular;
}

bool FileIsAccessible(TextView path) {
  std::string bytes;
  if (path.empty() || !ToNativePath(path, bytes)) return false;
  return FileIsAccessibleAt(AT_FDCWD, bytes.c_str());
}

}  // namespace brevant
