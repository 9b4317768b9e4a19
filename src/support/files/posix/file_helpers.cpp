#include "support/files/file_helpers.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "support/files/file_error.h"
#include "support/files/native_path.h"

namespace brevant {

namespace {

bool StatPath(TextView path, struct stat& st) {
  std::string native;
  return ToNativePath(path, native) && !native.empty() && stat(native.c_str(), &st) == 0;
}

}  // namespace

bool FileExists(TextView path) {
  struct stat st;
  return StatPath(path, st);
}

bool FolderExists(TextView path) {
  struct stat st;
  return StatPath(path, st) && S_ISDIR(st.st_mode);
}

bool PathIsTooLong(TextView path) {
  std::string native;
  struct stat st;
  return ToNativePath(path, native) && stat(native.c_str(), &st) != 0 && errno == ENAMETOOLONG;
}

void DeleteFileSafe(TextView path) {
  std::string native;
  if (ToNativePath(path, native) && unlink(native.c_str()) == 0) return;
  try {
    ForceDeleteFile(path);
  } catch (const FileError&) {
    // The file stays; callers go on without it.
  }
}

void ForceDeleteFile(TextView path) {
  std::string native;
  if (!ToNativePath(path, native)) throw FileError(DescribeSystemError(EINVAL));
  if (unlink(native.c_str()) == 0) return;
  const int error = errno;
  struct stat st;
  // A file that is read-only for its owner is made writable once more, for the
  // places where that is what stands in the way of deleting it.
  if ((error == EACCES || error == EPERM) && lstat(native.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
      (st.st_mode & S_IWUSR) == 0 && chmod(native.c_str(), (st.st_mode & 07777) | S_IWUSR) == 0) {
    if (unlink(native.c_str()) == 0) return;
    chmod(native.c_str(), st.st_mode & 07777);
  }
  throw FileError(DescribeSystemError(error));
}

bool IdentifyFile(TextView path, FileIdentity& identity) {
  std::uint64_t ignored = 0;
  return IdentifyFile(path, identity, ignored);
}

bool IdentifyFile(TextView path, FileIdentity& identity, std::uint64_t& regularFileSize) {
  struct stat st;
  if (!StatPath(path, st)) return false;
  identity = {static_cast<unsigned long long>(st.st_dev), static_cast<unsigned long long>(st.st_ino)};
  regularFileSize = S_ISREG(st.st_mode) ? static_cast<std::uint64_t>(st.st_size) : 0;
  return true;
}

}  // namespace brevant
