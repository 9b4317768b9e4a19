#include "support/files/placing_batch.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <map>
#include <set>
#include <string>
#include <tuple>

#include "support/files/posix/posix_files.h"

namespace brevant {

namespace {

constexpr std::size_t kTokenLength = kSuffixLength - 1;

struct Folder {
  int fd = -1;
  dev_t device = 0;
  ino_t inode = 0;
  uid_t owner = 0;
};

struct Member {
  std::string name;  // in its folder
  ExistingTarget existing;
  int fd = -1;
  unsigned createdMode = 0;
  GroupFile names;
};

struct Group {
  std::string folder;
  std::vector<Member> members;
  GroupFailed failed;
};

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

int LinkDescriptor(int fd, int folder, const std::string& name) {
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  if (linkat(AT_FDCWD, self.c_str(), folder, name.c_str(), AT_SYMLINK_FOLLOW) == 0) return 0;
  int error = errno;
  // Without /proc the descriptor itself may be linked (needs a newer kernel or privilege).
  if (error == ENOENT && linkat(fd, "", folder, name.c_str(), AT_EMPTY_PATH) == 0) return 0;
  if (error == ENOENT) error = errno;
  return error;
}

// Open files a batch may hold: well within the system's limit for the program.
std::size_t MostOpenFiles() {
  struct rlimit limit {};
  if (getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
    return 3 * PlacingBatch::kMostGroups;
  return std::clamp<std::size_t>(static_cast<std::size_t>(limit.rlim_cur) / 4, 8,
                                 3 * PlacingBatch::kMostGroups);
}

// Whether the file stands at its name: the staged one is there, or the kept
// earlier one no longer is. A file whose hidden names are gone stands (its
// group was being rid of them).
bool Stands(int folder, const GroupFile& file) {
  struct stat at {
  }, hidden{};
  const bool exists = fstatat(folder, file.name.c_str(), &at, AT_SYMLINK_NOFOLLOW) == 0;
  if (!file.kept.empty() && fstatat(folder, file.kept.c_str(), &hidden, AT_SYMLINK_NOFOLLOW) == 0)
    return exists && !SameFile(at, hidden);
  if (!file.staged.empty() && fstatat(folder, file.staged.c_str(), &hidden, AT_SYMLINK_NOFOLLOW) == 0)
    return exists && SameFile(at, hidden);
  return true;
}

void Unlink(int folder, const std::string& name) {
  if (!name.empty()) unlinkat(folder, name.c_str(), 0);
}

}  // namespace

void SettleGroup(int folder, const std::vector<GroupFile>& files) {
  std::vector<bool> stands;
  for (const GroupFile& file : files) stands.push_back(Stands(folder, file));
  if (std::all_of(stands.begin(), stands.end(), [](bool b) { return b; })) {
    for (const GroupFile& file : files) {
      Unlink(folder, file.staged);
      Unlink(folder, file.kept);
    }
    return;
  }
  // The files that stand go first: until the last of those that do not has
  // lost its names, the group is known to be half placed.
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (!stands[i]) continue;
    const GroupFile& file = files[i];
    Unlink(folder, file.staged);
    if (!file.kept.empty()) {
      renameat(folder, file.kept.c_str(), folder, file.name.c_str());
    } else if (!file.staged.empty()) {
      unlinkat(folder, file.name.c_str(), 0);
    }
  }
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (stands[i]) continue;
    Unlink(folder, files[i].kept);
    Unlink(folder, files[i].staged);
  }
}

struct PlacingBatch::State {
  std::map<std::string, Folder> folders;  // open for the groups taken and those to drop names of
  std::vector<Group> groups;              // taken, not placed yet
  std::set<std::tuple<dev_t, ino_t, std::string>> targets;
  // The folders of the targets looked at, by their paths: each is looked up once a batch.
  std::map<std::string, std::pair<dev_t, ino_t>> looked;
  std::size_t openFiles = 0;
  std::size_t mostOpenFiles = MostOpenFiles();
  std::vector<std::pair<std::string, std::string>> toDrop;  // folder, hidden name of a placed group

  // The folder, opened once for the batch and held (see RemoveStaleTemporaryFiles);
  // null with the system's error number when it cannot be opened.
  const Folder* open(const std::string& path, int& error) {
    if (const auto found = folders.find(path); found != folders.end()) return &found->second;
    Folder folder;
    folder.fd = ::open(path.empty() ? "." : path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    struct stat st {};
    if (folder.fd < 0 || fstat(folder.fd, &st) != 0) {
      error = errno;
      if (folder.fd >= 0) ::close(folder.fd);
      return nullptr;
    }
    // Held while the batch has hidden names there: a later run settles a group
    // only where no batch holds the folder.
    while (flock(folder.fd, LOCK_SH) != 0 && errno == EINTR) {
    }
    folder.device = st.st_dev;
    folder.inode = st.st_ino;
    folder.owner = st.st_uid;
    ++openFiles;
    return &folders.emplace(path, folder).first->second;
  }

  // The hidden names of placed groups, once their placing is on disk.
  void dropNames() {
    for (const auto& [folder, name] : toDrop) Unlink(folders[folder].fd, name);
    toDrop.clear();
  }

  // Only the folders of groups still to be placed, or with names to drop, stay open.
  void closeFolders() {
    for (auto it = folders.begin(); it != folders.end();) {
      const std::string& path = it->first;
      const bool needed =
          std::any_of(groups.begin(), groups.end(),
                      [&path](const Group& group) { return group.folder == path; }) ||
          std::any_of(toDrop.begin(), toDrop.end(), [&path](const auto& name) { return name.first == path; });
      if (needed) {
        ++it;
        continue;
      }
      if (it->second.fd >= 0) ::close(it->second.fd);
      it = folders.erase(it);
    }
  }

  void fail(Group& group, std::size_t index, int error) {
    for (Member& member : group.members) {
      if (member.fd >= 0) ::close(member.fd);
      member.fd = -1;
    }
    if (group.failed) group.failed(index, error);
  }
};

bool PlacingBatch::Available() { return true; }

bool BatchTakesName(const NativePath& target) {
  return HiddenFileName(NameOf(target), "") == "." + NameOf(target) + std::string(kTemporaryMark);
}

PlacingBatch::PlacingBatch() : state_(std::make_unique<State>()) {}

PlacingBatch::~PlacingBatch() {
  for (Group& group : state_->groups) {
    const Folder& folder = state_->folders[group.folder];
    for (Member& member : group.members) {
      if (member.fd >= 0) ::close(member.fd);
      Unlink(folder.fd, member.names.staged);
    }
  }
  for (auto& [path, folder] : state_->folders) {
    if (folder.fd >= 0) ::close(folder.fd);
  }
}

void PlacingBatch::add(std::vector<ReadyFile> files, GroupFailed failed) {
  State& state = *state_;
  if (files.empty()) return;
  const std::string folderPath = FolderOfTarget(files.front().target);
  int error = 0;
  const Folder* folder = state.open(folderPath, error);
  Group group{folderPath, {}, std::move(failed)};
  bool again = false;
  for (ReadyFile& file : files) {
    Member member;
    member.name = NameOf(file.target);
    member.existing = file.existing;
    member.fd = file.descriptor;
    member.createdMode = file.createdMode;
    member.names.name = member.name;
    if (folder != nullptr) again |= state.targets.contains({folder->device, folder->inode, member.name});
    group.members.push_back(std::move(member));
  }
  // A name of this batch once more (the same folder by another path): the first goes first.
  if (again) {
    place();
    folder = state.open(folderPath, error);
  }
  if (folder == nullptr) return state.fail(group, 0, error);
  for (const Member& member : group.members)
    state.targets.emplace(folder->device, folder->inode, member.name);
  state.openFiles += group.members.size();
  state.groups.push_back(std::move(group));
  if (state.groups.size() >= kMostGroups || state.openFiles >= state.mostOpenFiles) place();
}

void PlacingBatch::placeIfWaiting(const NativePath& target) {
  State& state = *state_;
  if (state.targets.empty()) return;
  const std::string folderPath = FolderOfTarget(target);
  std::pair<dev_t, ino_t> folder;
  if (const auto open = state.folders.find(folderPath); open != state.folders.end()) {
    folder = {open->second.device, open->second.inode};
  } else if (const auto seen = state.looked.find(folderPath); seen != state.looked.end()) {
    folder = seen->second;
  } else {
    struct stat st {};
    if (stat(folderPath.empty() ? "." : folderPath.c_str(), &st) != 0) return;
    folder = state.looked[folderPath] = {st.st_dev, st.st_ino};
  }
  if (state.targets.contains({folder.first, folder.second, NameOf(target)})) place();
}

std::vector<NativePath> PlacingBatch::place() {
  State& state = *state_;
  std::vector<NativePath> placedIn;
  if (state.groups.empty()) return placedIn;
  std::vector<Group> groups = std::move(state.groups);
  state.groups.clear();
  state.targets.clear();
  state.looked.clear();
  state.openFiles = 0;

  // Each file under a hidden name of its group.
  std::vector<Group*> staged;
  for (Group& group : groups) {
    const Folder& folder = state.folders[group.folder];
    const std::string token = RandomLetters(kTokenLength);
    int error = 0;
    std::size_t at = 0;
    for (; at < group.members.size() && error == 0; ++at) {
      Member& member = group.members[at];
      member.names.staged = HiddenFileName(member.name, token + kStagedRole);
      member.names.kept = HiddenFileName(member.name, token + kKeptRole);
      error = member.fd < 0 ? EBADF : LinkDescriptor(member.fd, folder.fd, member.names.staged);
      if (error != 0) member.names.staged.clear();
    }
    if (error != 0) {
      for (const Member& member : group.members) Unlink(folder.fd, member.names.staged);
      state.fail(group, at - 1, error);
    } else {
      staged.push_back(&group);
    }
  }

  // One sync for each file system: every byte and hidden name of the batch,
  // and the groups the batch before placed.
  std::map<dev_t, int> syncs;
  for (const Group* group : staged) {
    const Folder& folder = state.folders[group->folder];
    if (syncs.contains(folder.device)) continue;
    syncs[folder.device] = syncfs(folder.fd) == 0 || errno == EINVAL ? 0 : errno;
  }
  state.dropNames();

  for (Group* group : staged) {
    const Folder& folder = state.folders[group->folder];
    int error = syncs[folder.device];
    std::size_t at = 0;
    for (; at < group->members.size() && error == 0; ++at) {
      Member& member = group->members[at];
      struct stat st {};
      bool exists = fstatat(folder.fd, member.name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
      bool regular = false;
      if (exists) error = CheckStandingFile(folder.fd, member.name.c_str(), st, member.existing, regular);
      if (error != 0) break;
      const mode_t mode = regular ? ReplacementMode(st.st_mode) : NewFileMode();
      if (regular) TakeOverOwner(member.fd, st.st_uid, st.st_gid, folder.owner);
      if (mode != member.createdMode && fchmod(member.fd, mode) != 0 && errno != EPERM &&
          errno != EOPNOTSUPP) {
        error = errno;
        break;
      }
      if (!exists) {
        if (linkat(folder.fd, member.names.staged.c_str(), folder.fd, member.name.c_str(), 0) == 0) {
          member.names.kept.clear();
          continue;
        }
        error = errno;
        // Something took the name meanwhile: it is replaced as any earlier file.
        if (error != EEXIST || fstatat(folder.fd, member.name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) break;
        error = CheckStandingFile(folder.fd, member.name.c_str(), st, member.existing, regular);
        if (error != 0) break;
      }
      // The earlier file keeps a hidden name of the group until the whole group stands.
      if (linkat(folder.fd, member.name.c_str(), folder.fd, member.names.kept.c_str(), 0) != 0 ||
          renameat(folder.fd, member.names.staged.c_str(), folder.fd, member.name.c_str()) != 0) {
        error = errno;
        break;
      }
      member.names.staged.clear();
    }
    std::vector<GroupFile> names;
    for (Member& member : group->members) {
      names.push_back(member.names);
      if (member.fd >= 0) ::close(member.fd);
      member.fd = -1;
    }
    if (error != 0) {
      // Taken back out at once: the earlier files come back.
      SettleGroup(folder.fd, names);
      state.fail(*group, at, error);
      continue;
    }
    for (const GroupFile& file : names)
      state.toDrop.emplace_back(group->folder, file.kept.empty() ? file.staged : file.kept);
    if (placedIn.empty() || placedIn.back() != group->folder) placedIn.push_back(group->folder);
  }
  state.closeFolders();
  return placedIn;
}

void PlacingBatch::dropKept() {
  state_->dropNames();
  state_->closeFolders();
}

}  // namespace brevant
