#include "support/files/file_attributes.h"

#include <sys/stat.h>

#include "support/files/native_path.h"
#include "support/files/posix/posix_files.h"

namespace brevant {

namespace {

int KindAndAccess(const struct stat& info) {
  int value = 0;
  if (S_ISDIR(info.st_mode)) value |= kAttributeDirectory;
  if (S_ISREG(info.st_mode)) value |= kAttributeArchive;
  if ((info.st_mode & S_IWUSR) == 0) value |= kAttributeReadOnly;
  return value;
}

// A trailing "/" would make the system look through a symbolic link.
TextView WithoutTrailingSlashes(TextView path) {
  while (path.size() > 1 && path.back() == u'/') path.remove_suffix(1);
  return path;
}

bool NameIsHidden(TextView path) {
  const std::size_t slash = path.rfind(u'/');
  const std::size_t start = slash == TextView::npos ? 0 : slash + 1;
  return start < path.size() && path[start] == u'.';
}

}  // namespace

int AttributeValueOf(TextView path, const struct stat& status) {
  return (NameIsHidden(WithoutTrailingSlashes(path)) ? kAttributeHidden : 0) | KindAndAccess(status);
}

int FileAttributeValue(TextView path) {
  path = WithoutTrailingSlashes(path);
  std::string bytes;
  struct stat info {};
  if (path.empty() || !ToNativePath(path, bytes) || lstat(bytes.c_str(), &info) != 0) return -1;
  int value = NameIsHidden(path) ? kAttributeHidden : 0;
  if (S_ISLNK(info.st_mode)) {
    value |= kAttributeReparsePoint;
    struct stat target {};
    if (stat(bytes.c_str(), &target) == 0) value |= KindAndAccess(target);
    return value;
  }
  return value | KindAndAccess(info);
}

}  // namespace brevant
