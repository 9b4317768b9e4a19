#include "support/files/file_helpers.h"

#include <cerrno>

#include "support/files/file_error.h"
#include "support/files/win32/win32_files.h"

namespace brevant {

namespace {

DWORD AttributesOf(TextView path) {
  NativePath native;
  if (path.empty() || !ToNativePath(path, native)) return INVALID_FILE_ATTRIBUTES;
  return GetFileAttributesW(native.c_str());
}

}  // namespace

bool FileExists(TextView path) { return AttributesOf(path) != INVALID_FILE_ATTRIBUTES; }

bool FolderExists(TextView path) {
  const DWORD attributes = AttributesOf(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool PathIsTooLong(TextView path) {
  NativePath native;
  if (path.empty() || !ToNativePath(path, native)) return false;
  if (GetFileAttributesW(native.c_str()) != INVALID_FILE_ATTRIBUTES) return false;
  return GetLastError() == ERROR_FILENAME_EXCED_RANGE || native.size() >= MAX_PATH;
}

void DeleteFileSafe(TextView path) {
  NativePath native;
  if (ToNativePath(path, native) && DeleteFileW(native.c_str())) return;
  try {
    ForceDeleteFile(path);
  } catch (const FileError&) {
    // The file stays; callers go on without it.
  }
}

void ForceDeleteFile(TextView path) {
  NativePath native;
  if (!ToNativePath(path, native)) throw FileError(DescribeSystemError(EINVAL));
  if (DeleteFileW(native.c_str())) return;
  const DWORD error = GetLastError();
  // A read-only file is made writable once more, for the places where that is
  // what stands in the way of deleting it.
  const DWORD attributes = GetFileAttributesW(native.c_str());
  if (error == ERROR_ACCESS_DENIED && attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & FILE_ATTRIBUTE_READONLY) != 0 && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
      SetFileAttributesW(native.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY)) {
    if (DeleteFileW(native.c_str())) return;
    SetFileAttributesW(native.c_str(), attributes);
  }
  throw FileError(DescribeSystemError(ErrnoFromWindowsError(error)));
}

// The volume's serial number and the file's index: "A.VCF" and "a.vcf" are one file.
bool IdentifyFile(TextView path, FileIdentity& identity) {
  std::uint64_t ignored = 0;
  return IdentifyFile(path, identity, ignored);
}

bool IdentifyFile(TextView path, FileIdentity& identity, std::uint64_t& regularFileSize) {
  NativePath native;
  if (path.empty() || !ToNativePath(path, native)) return false;
  const OwnedHandle file(OpenForLooking(native));
  BY_HANDLE_FILE_INFORMATION info{};
  if (!file.valid() || !GetFileInformationByHandle(file.get(), &info)) return false;
  identity = IdentityOf(info);
  const bool folder = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  regularFileSize = folder || GetFileType(file.get()) != FILE_TYPE_DISK
                        ? 0
                        : (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
  return true;
}

}  // namespace brevant
