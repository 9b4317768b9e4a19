#include "support/files/open_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <memory>

#include "support/files/posix/posix_files.h"

namespace brevant {

namespace {

constexpr std::size_t kBlockBytes = 32 * 1024;

// A trailing "/" would make the system look through a symbolic link.
std::string WithoutTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

bool IsDotOrDotDot(const char* name) {
  return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

EntryKind KindOf(unsigned char type) {
  switch (type) {
    case DT_DIR:
      return EntryKind::Folder;
    case DT_REG:
      return EntryKind::File;
    case DT_LNK:
      return EntryKind::Link;
    case DT_UNKNOWN:
      return EntryKind::Unknown;
    default:
      return EntryKind::Other;
  }
}

}  // namespace

OpenFolder::OpenFolder(const NativePath& path, Links links) {
  int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
  if (links == Links::Refuse) flags |= O_NOFOLLOW;
  descriptor_ = open(WithoutTrailingSlashes(path).c_str(), flags);
  if (descriptor_ < 0) openError_ = errno;
}

OpenFolder::~OpenFolder() {
  if (descriptor_ >= 0) close(descriptor_);
}

bool OpenFolder::isOpen() const { return descriptor_ >= 0; }

bool OpenFolder::describe(TextView path, FileIdentity& identity, int& attributes) const {
  struct stat info {};
  if (descriptor_ < 0 || fstat(descriptor_, &info) != 0) return false;
  identity = {static_cast<unsigned long long>(info.st_dev), static_cast<unsigned long long>(info.st_ino)};
  attributes = AttributeValueOf(path, info);
  return true;
}

bool OpenFolder::readEntries(std::vector<FolderEntry>& entries) {
  if (descriptor_ < 0) return false;
  const std::unique_ptr<char[]> block(new char[kBlockBytes]);
  for (;;) {
    const ssize_t got = getdents64(descriptor_, block.get(), kBlockBytes);
    if (got == 0) return true;
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    for (ssize_t at = 0; at < got;) {
      dirent64 record;
      std::memcpy(&record, block.get() + at, offsetof(dirent64, d_name));
      const char* name = block.get() + at + offsetof(dirent64, d_name);
      if (!IsDotOrDotDot(name)) entries.push_back({name, KindOf(record.d_type)});
      at += record.d_reclen;
    }
  }
}

bool OpenFolder::isSubFolder(const FolderEntry& entry) const {
  if (entry.kind != EntryKind::Unknown) return entry.kind == EntryKind::Folder;
  struct stat info {};
  return fstatat(descriptor_, entry.name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(info.st_mode);
}

bool OpenFolder::fileIsAccessible(const FolderEntry& entry) const {
  return FileIsAccessibleAt(descriptor_, entry.name.c_str(), entry.kind);
}

}  // namespace brevant
