#include "support/files/win32/win32_files.h"

#include <cerrno>

#include "support/files/file_attributes.h"

namespace brevant {

int ErrnoFromWindowsError(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
      return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_PRIVILEGE_NOT_HELD:
      return EACCES;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_BUSY:
      return EBUSY;
    case ERROR_WRITE_PROTECT:
      return EROFS;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ENOSPC;
    case ERROR_FILE_TOO_LARGE:
      return EFBIG;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_PARAMETER:
      return EINVAL;
    case ERROR_FILENAME_EXCED_RANGE:
      return ENAMETOOLONG;
    case ERROR_DIRECTORY:
      return ENOTDIR;
    case ERROR_TOO_MANY_OPEN_FILES:
      return EMFILE;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
      return ENOMEM;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return EEXIST;
    case ERROR_CANT_RESOLVE_FILENAME:
      return ELOOP;
    default:
      return EIO;
  }
}

int KnownAttributes(DWORD attributes) {
  constexpr DWORD kKnown = kAttributeReadOnly | kAttributeHidden | kAttributeSystem | kAttributeDirectory |
                           kAttributeArchive | kAttributeReparsePoint;
  return static_cast<int>(attributes & kKnown);
}

NativePath WithoutTrailingSeparators(NativePath path) {
  // A drive's root, in its long form too ("\\?\C:\").
  const std::size_t drive = path.rfind(L"\\\\?\\", 0) == 0 ? 4 : 0;
  while (path.size() > drive + 1 && (path.back() == L'\\' || path.back() == L'/') &&
         !(path.size() == drive + 3 && path[drive + 1] == L':')) {
    path.pop_back();
  }
  return path;
}

HANDLE OpenForLooking(const NativePath& path, bool ownLink) {
  return CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                     FILE_FLAG_BACKUP_SEMANTICS | (ownLink ? FILE_FLAG_OPEN_REPARSE_POINT : 0), nullptr);
}

}  // namespace brevant
