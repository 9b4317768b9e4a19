#include "support/files/file_error.h"

#include <cerrno>
#include <system_error>

namespace brevant {

std::string DescribeSystemError(int errorNumber) {
  switch (errorNumber) {
    case EACCES:
    case EPERM:
    case EROFS:
    case EBUSY:
    case ETXTBSY:
      return "Permission denied";
    case ENOENT:
    case ENOTDIR:
      return "Path not found";
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:  // no quotas on Windows
#endif
    case EFBIG:
      return "Disk full";
    case EISDIR:
      return "Path/File access error";
    case ENAMETOOLONG:
      return "Path too long";
    case EINVAL:  // open() gives it for a name the file system cannot hold
      return "Bad file name or number";
    case EMFILE:
    case ENFILE:
      return "Too many files";
    case EIO:
      return "Device I/O error";
    default:
      // The generic category gives strerror's text without strerror's shared buffer.
      return std::generic_category().message(errorNumber);
  }
}

std::string DescribeInputTooLong(std::uint64_t most) {
  constexpr std::uint64_t kMiB = std::uint64_t{1} << 20;
  const std::string bound = most >= kMiB && most % kMiB == 0 ? std::to_string(most / kMiB) + " MB"
                                                             : std::to_string(most) + " bytes";
  return "Input too long: a pipe or terminal is read up to " + bound + ", and this one gave more";
}

}  // namespace brevant
