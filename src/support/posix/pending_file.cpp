#include "support/pending_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <fstream>
#include <random>

#include "support/native_path.h"
#include "support/signal_cleanup.h"

namespace brevant {

namespace {

// Keeps the hidden name within the file system's 255-byte limit when the
// target's own name is near it.
constexpr std::size_t kMaxNameInTempName = 200;
constexpr int kMaxNameAttempts = 100;

std::string FolderOf(const std::string& target) {
  const std::size_t slash = target.rfind('/');
  return slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
}

std::string NameOf(const std::string& target) {
  const std::size_t slash = target.rfind('/');
  return slash == std::string::npos ? target : target.substr(slash + 1);
}

std::string RandomSuffix() {
  static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  thread_local std::mt19937_64 engine{std::random_device{}()};
  std::uniform_int_distribution<std::size_t> pick(0, sizeof kAlphabet - 2);
  std::string suffix(6, ' ');
  for (char& c : suffix) c = kAlphabet[pick(engine)];
  return suffix;
}

std::string HiddenName(const std::string& target) {
  return FolderOf(target) + "." + NameOf(target).substr(0, kMaxNameInTempName) + ".brevant-" + RandomSuffix();
}

// Errors by which a file system says it has no unnamed files.
bool UnnamedUnsupported(int error) { return error == EOPNOTSUPP || error == EISDIR || error == EINVAL; }

constexpr int kMaxLinkHops = 40;

// The path that a chain of symbolic links finally names, dangling ones included,
// so that writing through a link replaces the file and keeps the link.
int ResolveLinks(std::string& path) {
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    struct stat st;
    if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return 0;
    std::string link(PATH_MAX, '\0');
    const ssize_t length = readlink(path.c_str(), link.data(), link.size());
    if (length < 0) return errno;
    link.resize(static_cast<std::size_t>(length));
    if (!link.empty() && link.front() == '/') {
      path = link;
    } else {
      path = path.substr(0, path.rfind('/') + 1) + link;  // relative to the link's folder
    }
  }
  return ELOOP;
}

// What stands at the target now. A missing target is fine (the pending file's
// creation reports a missing folder); a folder is never a document.
struct TargetState {
  bool regularFile = false;
  struct stat st {};
};

int CheckTarget(const std::string& path, ExistingTarget existing, TargetState& state) {
  const bool keep = existing == ExistingTarget::KeepReadOnly;
  if ((keep ? stat(path.c_str(), &state.st) : lstat(path.c_str(), &state.st)) != 0) return 0;
  if (S_ISDIR(state.st.st_mode)) return EISDIR;
  state.regularFile = S_ISREG(state.st.st_mode);
  if (!keep) return 0;
  // A device or FIFO is not a document; a read-only file keeps its content.
  if (!state.regularFile) return EISDIR;
  if ((state.st.st_mode & S_IWUSR) == 0) return EACCES;
  if (faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) return errno;
  return 0;
}

// The program never changes who it runs as: asked once, not for every document.
bool OwnedByUs(uid_t owner, gid_t group) {
  static const uid_t user = geteuid();
  static const gid_t userGroup = getegid();
  return owner == user && group == userGroup;
}

// The replacement keeps the target's owner where allowed; file systems without
// owners refuse, which is no reason to fail the write.
void TakeOverOwner(int fd, uid_t owner, gid_t group) {
  if (OwnedByUs(owner, group)) return;
  [[maybe_unused]] const int ignored = fchown(fd, owner, group);
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

mode_t NewFileMode() { return 0666 & ~Umask(); }

// Bits a pending file may be created with: those it will keep when they are
// known and nobody gains by seeing it early. Others than its owner would gain
// nothing from an unnamed file (nobody can open it) and nothing from a named one
// that is as readable as the file it replaces, when that file is ours.
mode_t CreationMode(const TargetLook* look) {
  if (look == nullptr) return 0600;
  if (!look->exists) return 0666;
  if (look->regularFile && OwnedByUs(look->owner, look->group)) return look->mode & 0777;
  return 0600;
}

}  // namespace

TargetLook LookAtTarget(TextView path) {
  TargetLook look;
  std::string native;
  struct stat st;
  if (!ToNativePath(path, native) || native.empty() || lstat(native.c_str(), &st) != 0) return look;
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

int PendingFile::checkTarget(NativePath& target, ExistingTarget existing) {
  int error = existing == ExistingTarget::KeepReadOnly ? ResolveLinks(target) : 0;
  TargetState state;
  if (error == 0) error = CheckTarget(target, existing, state);
  return error;
}

int PendingFile::create(const std::string& target, Kind preferred, const TargetLook* look) {
  discard();
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
    if (fd_ >= 0) return 0;
    const int error = errno;
    forgetName();
    if (error != EEXIST) return error;
  }
  return EEXIST;
}

// Gives the unnamed file a hidden name in its folder, noted for the signal handler.
int PendingFile::linkUnder(const std::string& target, std::string& name) {
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

int PendingFile::write(std::string_view bytes) { return WriteAll(fd_, bytes); }

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

int PendingFile::placeOver(const NativePath& target, ExistingTarget existing, const TargetLook* look) {
  if (fd_ < 0) return EBADF;
  const bool trustLook = look != nullptr && existing == ExistingTarget::Replace;
  if (trustLook && !look->exists && kind_ == Kind::Unnamed) {
    int error = createdMode_ == NewFileMode() || fchmod(fd_, NewFileMode()) == 0 ? 0 : errno;
    if (error == EPERM || error == EOPNOTSUPP) error = 0;
    if (error == 0) error = linkAsNew(target);
    if (error == 0) {
      const int closed = ::close(fd_);
      fd_ = -1;
      if (closed == 0) return 0;
      error = errno;
      unlink(target.c_str());  // just linked in: ours
      return error;
    }
    if (error != EEXIST) {
      discard();
      return error;
    }
    // Something took the name since the look: it is looked at again and replaced.
  } else if (trustLook) {
    if (look->folder) {
      discard();
      return EISDIR;
    }
    if (look->regularFile) TakeOverOwner(fd_, look->owner, look->group);
    return place(target, look->regularFile ? look->mode : NewFileMode());
  }
  TargetState state;
  if (const int error = CheckTarget(target, existing, state)) {
    discard();
    return error;
  }
  if (state.regularFile) TakeOverOwner(fd_, state.st.st_uid, state.st.st_gid);
  return place(target, state.regularFile ? (state.st.st_mode & 0777) : NewFileMode());
}

int PendingFile::place(const std::string& target, unsigned mode) {
  if (fd_ < 0) return EBADF;
  // A file created with its final bits (and no new owner) needs no change.
  int error = mode == createdMode_ ? 0 : (fchmod(fd_, static_cast<mode_t>(mode)) == 0 ? 0 : errno);
  // File systems without permission bits (FAT) refuse; that is no reason to fail.
  if (error == EPERM || error == EOPNOTSUPP) error = 0;
  if (error == 0 && kind_ == Kind::Unnamed) error = linkUnder(target, name_);
  const int closed = ::close(fd_);
  fd_ = -1;
  if (error == 0 && closed != 0) error = errno;
  if (error == 0 && rename(name_.c_str(), target.c_str()) != 0) error = errno;
  if (error != 0) {
    if (!name_.empty()) unlink(name_.c_str());
  }
  forgetName();
  return error;
}

void PendingFile::discard() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!name_.empty()) unlink(name_.c_str());
  forgetName();
}

void PendingFile::forgetName() {
  ForgetPendingPath(slot_);
  slot_ = -1;
  name_.clear();
}

}  // namespace brevant
