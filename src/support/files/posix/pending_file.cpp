#include "support/files/pending_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <fstream>
#include <map>
#include <random>

#include "support/files/native_path.h"
#include "support/files/posix/posix_files.h"
#include "support/files/signal_cleanup.h"
#include "support/files/write_session.h"

namespace brevant {

namespace {

// Keeps the hidden name within the file system's 255-byte limit when the
// target's own name is near it.
constexpr std::size_t kMaxNameInTempName = 200;
constexpr int kMaxNameAttempts = 100;
constexpr std::size_t kMaxOwnExtension = 4;
static_assert(std::ranges::all_of(kOwnExtensions, [](std::string_view extension) {
  return extension.size() <= kMaxOwnExtension;
}));

std::string FolderOf(const std::string& target) {
  const std::size_t slash = target.rfind('/');
  return slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
}

// Six letters or digits; the last never one that marks a file of a batch, so
// that a later run never takes a lone file for one of a group.
std::string RandomSuffix() {
  std::string suffix = RandomLetters(kSuffixLength);
  while (IsGroupRole(suffix.back())) suffix.back() = RandomLetters(1).front();
  return suffix;
}

std::string HiddenName(const std::string& target) {
  return FolderOf(target) + HiddenFileName(NameOf(target), RandomSuffix());
}

// Errors by which a file system says it has no unnamed files.
bool UnnamedUnsupported(int error) { return error == EOPNOTSUPP || error == EISDIR || error == EINVAL; }

// What stands at the target now, links not followed. A missing target is fine
// (the pending file's creation reports a missing folder); a folder is never a
// document.
struct TargetState {
  bool exists = false;
  bool regularFile = false;
  struct stat st {};
};

int CheckTarget(const std::string& path, ExistingTarget existing, TargetState& state) {
  if (lstat(path.c_str(), &state.st) != 0) return 0;
  state.exists = true;
  return CheckStandingFile(AT_FDCWD, path.c_str(), state.st, existing, state.regularFile);
}

int WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (written == 0) return EIO;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return 0;
}

mode_t ReadUmask() {
  // Read without changing it: umask() itself would change it for a moment for
  // every thread of the program.
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("Umask:", 0) == 0) return static_cast<mode_t>(std::stoul(line.substr(6), nullptr, 8));
  }
  const mode_t mask = umask(022);
  umask(mask);
  return mask;
}

mode_t Umask() {
  // The program never changes its umask: it is read once, not for every one of
  // ten thousand documents.
  static const mode_t mask = ReadUmask();
  return mask;
}

// Bits a pending file may be created with: those it will keep when they are
// known and nobody gains by seeing it early. Others than its owner would gain
// nothing from an unnamed file (nobody can open it) and nothing from a named one
// that is as readable as the file it replaces, when that file is ours.
mode_t CreationMode(const TargetLook* look) {
  if (look == nullptr) return 0600;
  if (!look->exists) return 0666;
  if (look->regularFile && OwnedByUs(look->owner, look->group)) return ReplacementMode(look->mode);
  return 0600;
}

// The owner of the folder the target is in, or -1 when it cannot be told.
uid_t FolderOwner(const std::string& target) {
  const std::string folder = FolderOf(target);
  struct stat st;
  return stat(folder.empty() ? "." : folder.c_str(), &st) == 0 ? st.st_uid : static_cast<uid_t>(-1);
}

}  // namespace

std::string NameOf(const std::string& target) {
  const std::size_t slash = target.rfind('/');
  return slash == std::string::npos ? target : target.substr(slash + 1);
}

std::string RandomLetters(std::size_t count) {
  static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  thread_local std::mt19937_64 engine{std::random_device{}()};
  std::uniform_int_distribution<std::size_t> pick(0, sizeof kAlphabet - 2);
  std::string letters(count, ' ');
  for (char& c : letters) c = kAlphabet[pick(engine)];
  return letters;
}

std::string HiddenFileName(std::string name, std::string_view suffix) {
  if (name.size() > kMaxNameInTempName) {
    const std::size_t dot = name.rfind('.');
    const std::size_t extension = dot == std::string::npos ? 0 : name.size() - dot;
    name = extension > kMaxOwnExtension + 1
               ? name.substr(0, kMaxNameInTempName)
               : name.substr(0, kMaxNameInTempName - extension) + name.substr(dot);
  }
  return "." + name + std::string(kTemporaryMark) + std::string(suffix);
}

bool IsTemporaryName(std::string_view name) {
  if (name.size() < 2 + kTemporaryMark.size() + kSuffixLength || name.front() != '.') return false;
  const std::string_view suffix = name.substr(name.size() - kSuffixLength);
  const std::string_view mark =
      name.substr(name.size() - kSuffixLength - kTemporaryMark.size(), kTemporaryMark.size());
  if (mark != kTemporaryMark) return false;
  for (const char c : suffix) {
    if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))) return false;
  }
  const std::string_view named = TargetNameOf(name);
  return std::ranges::any_of(kOwnExtensions, [named](std::string_view extension) {
    return named.size() > extension.size() + 1 && named.ends_with(extension) &&
           named[named.size() - extension.size() - 1] == '.';
  });
}

std::string_view TargetNameOf(std::string_view hiddenName) {
  return hiddenName.substr(1, hiddenName.size() - 1 - kTemporaryMark.size() - kSuffixLength);
}

int CheckStandingFile(int folder, const char* name, const struct stat& st, ExistingTarget existing,
                      bool& regularFile) {
  if (S_ISDIR(st.st_mode)) return EISDIR;
  regularFile = S_ISREG(st.st_mode);
  if (existing == ExistingTarget::Replace || S_ISLNK(st.st_mode)) return 0;
  // A device or FIFO is not a document; a read-only file keeps its content.
  if (!regularFile) return EISDIR;
  if ((st.st_mode & S_IWUSR) == 0) return EACCES;
  if (faccessat(folder, name, W_OK, AT_EACCESS) != 0) return errno;
  return 0;
}

// The program never changes who it runs as: asked once, not for every document.
bool OwnedByUs(uid_t owner, gid_t group) {
  static const uid_t user = geteuid();
  static const gid_t userGroup = getegid();
  return owner == user && group == userGroup;
}

void TakeOverOwner(int fd, uid_t owner, gid_t group, uid_t folderOwner) {
  if (OwnedByUs(owner, group) || owner != folderOwner) return;
  // File systems without owners refuse, which is no reason to fail the write.
  [[maybe_unused]] const int ignored = fchown(fd, owner, group);
}

mode_t NewFileMode() { return 0666 & ~Umask(); }
mode_t ReplacementMode(mode_t earlier) { return earlier & 0775; }

TargetLook LookAtTarget(TextView path) {
  TargetLook look;
  std::string native;
  struct stat st;
  if (!ToNativePath(path, native) || native.empty()) return look;
  WriteSession::PlaceWaitingAt(native);
  if (lstat(native.c_str(), &st) != 0) return look;
  look.exists = true;
  look.folder = S_ISDIR(st.st_mode);
  look.regularFile = S_ISREG(st.st_mode);
  look.mode = st.st_mode & 0777;
  look.owner = st.st_uid;
  look.group = st.st_gid;
  if (S_ISLNK(st.st_mode) && stat(native.c_str(), &st) != 0) return look;  // names nothing
  look.namesFile = true;
  look.identity = {static_cast<unsigned long long>(st.st_dev), static_cast<unsigned long long>(st.st_ino)};
  look.changedAt = static_cast<std::int64_t>(st.st_ctim.tv_sec) * 1'000'000'000 + st.st_ctim.tv_nsec;
  return look;
}

int PendingFile::checkTarget(const NativePath& target, ExistingTarget existing) {
  TargetState state;
  return CheckTarget(target, existing, state);
}

bool PendingFile::targetExists(const NativePath& target) {
  struct stat st;
  return lstat(target.c_str(), &st) == 0;
}

int PendingFile::create(const std::string& target, Kind preferred, const TargetLook* look) {
  discard();
  synced_ = false;
  written_ = sentToDisk_ = 0;
  const mode_t mode = CreationMode(look);
  if (preferred == Kind::Unnamed) {
    const std::string folder = FolderOf(target);
    fd_ = ::open(folder.empty() ? "." : folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
    if (fd_ >= 0) {
      kind_ = Kind::Unnamed;
      createdMode_ = mode & ~Umask();
      return 0;
    }
    if (!UnnamedUnsupported(errno)) return errno;
  }
  return createNamed(target, mode);
}

int PendingFile::createNamed(const std::string& target, unsigned mode) {
  kind_ = Kind::Named;
  createdMode_ = mode & ~Umask();
  for (int attempt = 0; attempt < kMaxNameAttempts; ++attempt) {
    name_ = HiddenName(target);
    // Noted before it exists, so that no moment is left in which a signal could
    // end the program with the file on disk and unknown to the handler.
    slot_ = NotePendingPath(name_.c_str());
    fd_ = ::open(name_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, static_cast<mode_t>(mode));
    if (fd_ >= 0) {
      // Held while it has its name: a later run leaves a locked file alone.
      flock(fd_, LOCK_EX | LOCK_NB);
      return 0;
    }
    const int error = errno;
    forgetName();
    if (error != EEXIST) return error;
  }
  return EEXIST;
}

// Gives the unnamed file a hidden name in its folder, noted for the signal handler.
int PendingFile::linkUnder(const std::string& target, std::string& name) {
  // Held while it has its name: a later run leaves a locked file alone.
  flock(fd_, LOCK_EX | LOCK_NB);
  const std::string self = "/proc/self/fd/" + std::to_string(fd_);
  for (int attempt = 0; attempt < kMaxNameAttempts; ++attempt) {
    name = HiddenName(target);
    slot_ = NotePendingPath(name.c_str());
    if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) return 0;
    int error = errno;
    // Without /proc the descriptor itself may be linked (needs a newer kernel or privilege).
    if (error == ENOENT && linkat(fd_, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0) return 0;
    if (error == ENOENT) error = errno;
    ForgetPendingPath(slot_);
    slot_ = -1;
    name.clear();  // not ours: nothing to remove later
    if (error != EEXIST) return error;
  }
  return EEXIST;
}

bool PendingFile::open() const { return fd_ >= 0; }

int PendingFile::releaseUnnamed(unsigned& createdMode) {
  if (kind_ != Kind::Unnamed) return -1;
  createdMode = createdMode_;
  const int fd = fd_;
  fd_ = -1;
  return fd;
}

int PendingFile::write(std::string_view bytes) {
  const int error = WriteAll(fd_, bytes);
  if (error == 0) written_ += bytes.size();
  return error;
}

void PendingFile::startWriteback() {
  if (fd_ < 0 || written_ == sentToDisk_) return;
  // Only a start: the file system may not take the hint, and sync() waits in any case.
  sync_file_range(fd_, static_cast<off_t>(sentToDisk_), static_cast<off_t>(written_ - sentToDisk_),
                  SYNC_FILE_RANGE_WRITE);
  sentToDisk_ = written_;
}

int PendingFile::sync() {
  if (fd_ < 0) return EBADF;
  if (synced_) return 0;
  // The data and what it takes to read it back (its length, its blocks); not the times.
  while (fdatasync(fd_) != 0) {
    if (errno != EINTR) return errno;
  }
  synced_ = true;
  return 0;
}

// Links the unnamed file in under the target's own name, which fails with
// EEXIST when anything stands there.
int PendingFile::linkAsNew(const std::string& target) {
  const std::string self = "/proc/self/fd/" + std::to_string(fd_);
  if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, target.c_str(), AT_SYMLINK_FOLLOW) == 0) return 0;
  int error = errno;
  if (error == ENOENT && linkat(fd_, "", AT_FDCWD, target.c_str(), AT_EMPTY_PATH) == 0) return 0;
  if (error == ENOENT) error = errno;
  return error;
}

int PendingFile::placeOver(const NativePath& target, ExistingTarget existing, const TargetLook* look,
                           const PlaceOptions& options) {
  if (fd_ < 0) return EBADF;
  placedAt_.clear();
  kept_.clear();
  // What stands there: the caller's look, where it stands, or a look now.
  TargetState state;
  if (look != nullptr && existing == ExistingTarget::Replace) {
    if (look->folder) {
      discard();
      return EISDIR;
    }
    state.exists = look->exists;
    state.regularFile = look->regularFile;
    state.st.st_mode = look->mode;
    state.st.st_uid = look->owner;
    state.st.st_gid = look->group;
  } else if (const int error = CheckTarget(target, existing, state)) {
    discard();
    return error;
  }
  if (!state.exists) {
    // A new file: nothing can be lost by placing it before its bytes are on disk.
    int error = options.syncNewFileLater ? 0 : sync();
    if (error == 0) error = placeNew(target, NewFileMode(), options.keepReplaced);
    if (error == 0) {
      placedAt_ = options.keepReplaced ? target : std::string();
      return 0;
    }
    if (error != EEXIST) {
      discard();
      return error;
    }
    // Something took the name meanwhile: it is looked at again and replaced as any earlier file.
    if ((error = CheckTarget(target, existing, state)) != 0) {
      discard();
      return error;
    }
  }
  // The replaced file goes only once the new bytes are on disk.
  if (const int error = sync()) {
    discard();
    return error;
  }
  if (state.regularFile) TakeOverOwner(fd_, state.st.st_uid, state.st.st_gid, FolderOwner(target));
  return placeReplacing(target, state.regularFile ? ReplacementMode(state.st.st_mode) : NewFileMode(),
                        options.keepReplaced);
}

// Puts the file at the target's own name, which fails with EEXIST when
// anything stands there. On success the file is closed; on failure it stays
// open. `undoable`: which file was placed is noted, for undo().
int PendingFile::placeNew(const std::string& target, unsigned mode, bool undoable) {
  int error = mode == createdMode_ || fchmod(fd_, static_cast<mode_t>(mode)) == 0 ? 0 : errno;
  if (error == EPERM || error == EOPNOTSUPP) error = 0;
  if (error == 0) {
    if (kind_ == Kind::Unnamed) {
      error = linkAsNew(target);
    } else if (renameat2(AT_FDCWD, name_.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) != 0) {
      error = errno;
      // A file system that cannot refuse to replace: the name is taken unless something is there.
      if ((error == EINVAL || error == ENOSYS) && !targetExists(target))
        error = rename(name_.c_str(), target.c_str()) == 0 ? 0 : errno;
    }
  }
  if (error != 0) return error;
  struct stat st;
  if (undoable && fstat(fd_, &st) == 0) placedFile_ = {static_cast<unsigned long long>(st.st_dev), st.st_ino};
  forgetName();
  const int closed = ::close(fd_);
  fd_ = -1;
  if (closed == 0) return 0;
  error = errno;
  unlink(target.c_str());  // just linked in: ours
  return error;
}

// Gives the file a hidden name and renames it over the target; keeping what it
// replaces swaps the two names instead, where the file system can.
int PendingFile::placeReplacing(const std::string& target, unsigned mode, bool keepReplaced) {
  int error = mode == createdMode_ ? 0 : (fchmod(fd_, static_cast<mode_t>(mode)) == 0 ? 0 : errno);
  // File systems without permission bits (FAT) refuse; that is no reason to fail.
  if (error == EPERM || error == EOPNOTSUPP) error = 0;
  if (error == 0 && kind_ == Kind::Unnamed) error = linkUnder(target, name_);
  bool swapped = false;
  if (error == 0 && keepReplaced) {
    swapped = renameat2(AT_FDCWD, name_.c_str(), AT_FDCWD, target.c_str(), RENAME_EXCHANGE) == 0;
    // Not on this file system, or the target went meanwhile: a plain rename.
    if (!swapped && errno != EINVAL && errno != ENOSYS && errno != ENOENT) error = errno;
  }
  if (error == 0 && !swapped && rename(name_.c_str(), target.c_str()) != 0) error = errno;
  // Closed only now, so that the file has its hidden name for the fewest steps
  // (a kill in between leaves it behind); its bytes were synced before.
  ::close(fd_);
  fd_ = -1;
  if (error != 0) {
    if (!name_.empty()) unlink(name_.c_str());
    forgetName();
    return error;
  }
  if (swapped) {
    // The hidden name holds the replaced file now; a signal still removes it.
    placedAt_ = target;
    kept_ = name_;
    name_.clear();
    return 0;
  }
  forgetName();
  return 0;
}

int PendingFile::place(const std::string& target, unsigned mode) {
  if (fd_ < 0) return EBADF;
  return placeReplacing(target, mode, false);
}

void PendingFile::confirm() {
  if (!kept_.empty()) unlink(kept_.c_str());
  kept_.clear();
  placedAt_.clear();
  ForgetPendingPath(slot_);
  slot_ = -1;
}

int PendingFile::undo() {
  if (placedAt_.empty()) return 0;
  int error = 0;
  if (!kept_.empty()) {
    // The replaced file back under its name; the new one goes with the hidden name.
    if (renameat2(AT_FDCWD, kept_.c_str(), AT_FDCWD, placedAt_.c_str(), RENAME_EXCHANGE) == 0) {
      unlink(kept_.c_str());
    } else {
      error = errno;
    }
  } else {
    // A new file is taken away again, as long as it is still the one placed.
    struct stat st;
    if (lstat(placedAt_.c_str(), &st) == 0 &&
        FileIdentity{static_cast<unsigned long long>(st.st_dev), st.st_ino} == placedFile_) {
      if (unlink(placedAt_.c_str()) != 0) error = errno;
    }
  }
  kept_.clear();
  placedAt_.clear();
  ForgetPendingPath(slot_);
  slot_ = -1;
  return error;
}

void PendingFile::discard() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!name_.empty()) unlink(name_.c_str());
  forgetName();
  // A placement kept open for undo() stands once the file is dropped.
  confirm();
}

void PendingFile::forgetName() {
  // The slot stays with a replaced file kept under the hidden name.
  if (kept_.empty()) {
    ForgetPendingPath(slot_);
    slot_ = -1;
  }
  name_.clear();
}

NativePath FolderOfTarget(const NativePath& target) { return FolderOf(target); }

int SyncFolder(const NativePath& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return errno;
  int error = fsync(fd) == 0 ? 0 : errno;
  // Some file systems cannot sync a folder, and need not: nothing to wait for.
  if (error == EINVAL || error == EROFS) error = 0;
  ::close(fd);
  return error;
}

void RemoveStaleTemporaryFiles(const NativePath& folder,
                               std::chrono::system_clock::time_point changedBefore) {
  const int folderFd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folderFd < 0) return;
  DIR* listing = fdopendir(folderFd);
  if (listing == nullptr) {
    ::close(folderFd);
    return;
  }
  const auto before =
      std::chrono::duration_cast<std::chrono::nanoseconds>(changedBefore.time_since_epoch()).count();
  const auto nanoseconds = [](const struct timespec& t) {
    return static_cast<std::int64_t>(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
  };
  static const uid_t user = geteuid();
  struct stat folderStatus {};
  const uid_t folderOwner = fstat(folderFd, &folderStatus) == 0 ? folderStatus.st_uid : user;
  // The files of a batch's groups by their group, and whether all of them are a killed run's.
  struct Group {
    std::map<std::string, GroupFile> files;
    bool ours = true;
  };
  std::map<std::string, Group> groups;
  std::vector<std::string> lone;
  while (const dirent* entry = readdir(listing)) {
    if (entry->d_type != DT_REG && entry->d_type != DT_UNKNOWN) continue;
    if (!IsTemporaryName(entry->d_name)) continue;
    const std::string_view name = entry->d_name;
    struct stat st;
    const bool looked =
        fstatat(folderFd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode);
    // An earlier file kept by a group may be the folder owner's, whose file it replaced.
    const bool ours = looked && (st.st_uid == user || (name.back() == kKeptRole && st.st_uid == folderOwner));
    const bool stale = ours && nanoseconds(st.st_ctim) < before && nanoseconds(st.st_mtim) < before;
    if (IsGroupRole(name.back())) {
      Group& group = groups[std::string(name.substr(name.size() - kSuffixLength, kSuffixLength - 1))];
      group.ours &= ours;
      GroupFile& file = group.files[std::string(TargetNameOf(name))];
      file.name = TargetNameOf(name);
      (name.back() == kStagedRole ? file.staged : file.kept) = name;
      continue;
    }
    if (!stale) continue;
    const int fd = openat(folderFd, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat opened;
    // The same file as looked at, and no writer holds it.
    if (fstat(fd, &opened) == 0 && opened.st_ino == st.st_ino && opened.st_dev == st.st_dev &&
        flock(fd, LOCK_EX | LOCK_NB) == 0)
      lone.emplace_back(name);
    ::close(fd);
  }
  for (const std::string& name : lone) unlinkat(folderFd, name.c_str(), 0);
  // A group left half placed gets its earlier files back; one that stands, only loses its hidden names.
  // Only where no batch is at work: each holds the folder while it has names there.
  const bool noBatchAtWork = !groups.empty() && flock(folderFd, LOCK_EX | LOCK_NB) == 0;
  for (const auto& [token, group] : groups) {
    if (!group.ours || !noBatchAtWork) continue;
    std::vector<GroupFile> files;
    for (const auto& [name, file] : group.files) files.push_back(file);
    SettleGroup(folderFd, files);
  }
  closedir(listing);
}

}  // namespace brevant
