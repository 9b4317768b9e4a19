#pragma once

#include <windows.h>

#include <string>

#include "support/files/file_helpers.h"
#include "support/files/native_path.h"
#include "support/text/text.h"

// Helpers that the Windows implementations of the support headers share.
namespace brevant {

// The errno value that stands for a Windows error, so that both systems
// describe failures in the same words (see DescribeSystemError).
int ErrnoFromWindowsError(DWORD error);
inline int LastErrno() { return ErrnoFromWindowsError(GetLastError()); }

// The attribute bits the program knows (read-only, hidden, system, directory,
// archive, reparse point); others (normal, not indexed, ...) say nothing to it.
int KnownAttributes(DWORD attributes);

// Which file the information names: its volume's serial number and its index.
inline FileIdentity IdentityOf(const BY_HANDLE_FILE_INFORMATION& info) {
  return {info.dwVolumeSerialNumber,
          (static_cast<unsigned long long>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

// A path without trailing separators, but a drive's root ("C:\") as it is.
NativePath WithoutTrailingSeparators(NativePath path);

// A handle closed when the object goes.
class OwnedHandle {
 public:
  explicit OwnedHandle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
  ~OwnedHandle() {
    if (valid()) CloseHandle(handle_);
  }
  OwnedHandle(const OwnedHandle&) = delete;
  OwnedHandle& operator=(const OwnedHandle&) = delete;
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

// Opens an existing file or folder to look at it (no read or write access),
// links followed unless `ownLink`.
HANDLE OpenForLooking(const NativePath& path, bool ownLink = false);

}  // namespace brevant
