#include "support/open_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace brevant {

namespace {

// A trailing "/" would make the system look through a symbolic link.
std::string WithoutTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

}  // namespace

OpenFolder::OpenFolder(const std::string& path, Links links) {
  int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
  if (links == Links::Refuse) flags |= O_NOFOLLOW;
  const int descriptor = open(WithoutTrailingSlashes(path).c_str(), flags);
  if (descriptor < 0) {
    openError_ = errno;
    return;
  }
  struct stat info {};
  if (fstat(descriptor, &info) != 0 || (stream_ = fdopendir(descriptor)) == nullptr) {
    openError_ = errno;
    close(descriptor);
    return;
  }
  device_ = info.st_dev;
  inode_ = info.st_ino;
}

OpenFolder::~OpenFolder() {
  if (stream_ != nullptr) closedir(stream_);
}

int OpenFolder::descriptor() const { return stream_ != nullptr ? dirfd(stream_) : -1; }

bool OpenFolder::readEntries(std::vector<FolderEntry>& entries) {
  if (stream_ == nullptr) return false;
  for (;;) {
    errno = 0;
    const dirent* entry = readdir(stream_);
    if (entry == nullptr) return errno == 0;
    const char* name = entry->d_name;
    if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) continue;
    entries.push_back({name, entry->d_type});
  }
}

bool OpenFolder::isSubFolder(const FolderEntry& entry) const {
  if (entry.type != DT_UNKNOWN) return entry.type == DT_DIR;
  struct stat info {};
  return fstatat(descriptor(), entry.name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace brevant
