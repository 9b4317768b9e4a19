#include "support/files/write_session.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <set>

namespace brevant {

// One syncfs for each file system that holds a file placed unsynced (or more
// than one changed folder): it takes every file and folder of it to the disk at
// once. Any other changed folder is synced alone.
WriteSession::Failures WriteSession::sync(const std::map<NativePath, Folder>& folders) {
  struct Opened {
    NativePath folder;
    int fd;
    dev_t device;
    bool unsynced;
  };
  std::vector<std::pair<NativePath, int>> failures;
  std::vector<Opened> opened;
  std::map<dev_t, int> foldersOn;
  std::set<dev_t> wholeSystem;
  for (const auto& [folder, state] : folders) {
    if (!state.changed) continue;
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    struct stat st;
    if (fd < 0 || fstat(fd, &st) != 0) {
      failures.emplace_back(folder, errno);
      if (fd >= 0) ::close(fd);
      continue;
    }
    opened.push_back({folder, fd, st.st_dev, state.unsyncedFiles});
    if (state.unsyncedFiles || ++foldersOn[st.st_dev] > 1) wholeSystem.insert(st.st_dev);
  }
  std::set<dev_t> synced;
  for (const Opened& folder : opened) {
    int result = 0;
    if (wholeSystem.contains(folder.device)) {
      if (synced.insert(folder.device).second) result = syncfs(folder.fd);
    } else {
      result = fsync(folder.fd);
    }
    // A file system that cannot sync a folder has nothing to wait for.
    const int error = result == 0 ? 0 : errno;
    if (error != 0 && error != EINVAL && error != EROFS) failures.emplace_back(folder.folder, error);
    ::close(folder.fd);
  }
  return failures;
}

}  // namespace brevant
