#include "support/pending_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <random>

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

}  // namespace

int PendingFile::create(const std::string& target, Kind preferred) {
  discard();
  if (preferred == Kind::Unnamed) {
    const std::string folder = FolderOf(target);
    fd_ = ::open(folder.empty() ? "." : folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd_ >= 0) {
      kind_ = Kind::Unnamed;
      return 0;
    }
    if (!UnnamedUnsupported(errno)) return errno;
  }
  return createNamed(target);
}

int PendingFile::createNamed(const std::string& target) {
  kind_ = Kind::Named;
  for (int attempt = 0; attempt < kMaxNameAttempts; ++attempt) {
    name_ = HiddenName(target);
    // Noted before it exists, so that no moment is left in which a signal could
    // end the program with the file on disk and unknown to the handler.
    slot_ = NotePendingPath(name_.c_str());
    fd_ = ::open(name_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
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

int PendingFile::place(const std::string& target, mode_t mode) {
  if (fd_ < 0) return EBADF;
  int error = fchmod(fd_, mode) == 0 ? 0 : errno;
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

namespace {

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

}  // namespace

mode_t NewFileMode() {
  // The program never changes its umask: it is read once, not for every one of
  // ten thousand documents.
  static const mode_t mask = ReadUmask();
  return 0666 & ~mask;
}

}  // namespace brevant
