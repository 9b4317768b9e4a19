#include "support/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <random>
#include <stdexcept>

#include "support/file_error.h"
#include "support/native_path.h"

namespace brevant {

namespace {

constexpr std::size_t kBufferSize = std::size_t{1} << 20;
// Keeps the temporary name within the file system's 255-byte limit when the
// target's own name is near it.
constexpr std::size_t kMaxNameInTempName = 200;
constexpr int kMaxLinkHops = 40;
constexpr int kMaxNameAttempts = 100;

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

// Whether the existing target may be replaced: a folder or device is not a
// document, and a read-only file keeps its content. A missing target is fine.
int CheckTarget(const std::string& path, struct stat& st, bool& exists) {
  exists = stat(path.c_str(), &st) == 0;
  if (!exists) return 0;  // the temporary file's creation reports a missing folder
  if (!S_ISREG(st.st_mode)) return EISDIR;
  if ((st.st_mode & S_IWUSR) == 0) return EACCES;
  if (faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) return errno;
  return 0;
}

std::string RandomSuffix() {
  static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  thread_local std::mt19937_64 engine{std::random_device{}()};
  std::uniform_int_distribution<std::size_t> pick(0, sizeof kAlphabet - 2);
  std::string suffix(6, ' ');
  for (char& c : suffix) c = kAlphabet[pick(engine)];
  return suffix;
}

// Creates ".<name>.brevant-XXXXXX" beside the target. Mode 0666 lets the umask
// decide, as for any new file.
int CreateTempFile(const std::string& target, std::string& tempPath, int& fd) {
  const std::size_t slash = target.rfind('/');
  const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
  const std::string prefix = folder + "." + name.substr(0, kMaxNameInTempName) + ".brevant-";
  for (int attempt = 0; attempt < kMaxNameAttempts; ++attempt) {
    tempPath = prefix + RandomSuffix();
    fd = open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) return 0;
    if (errno != EEXIST) break;
  }
  const int error = errno;
  tempPath.clear();
  return error;
}

// The replacement keeps the target's permissions and, where allowed, its owner.
// File systems without them (FAT) refuse, which is no reason to fail the write.
void TakeOverModeAndOwner(int fd, const struct stat& target) {
  const bool sameOwner = target.st_uid == geteuid() && target.st_gid == getegid();
  if (fchmod(fd, target.st_mode & 0777) == 0 && !sameOwner) {
    [[maybe_unused]] const int ignored = fchown(fd, target.st_uid, target.st_gid);
  }
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

void DropTemporaryFile(int& fd, std::string& tempPath, std::string& buffer) {
  if (fd >= 0) close(fd);
  fd = -1;
  if (!tempPath.empty()) unlink(tempPath.c_str());
  tempPath.clear();
  buffer = std::string();  // gives the memory back, not only the content
}

}  // namespace

AtomicFileWriter::AtomicFileWriter(TextView targetPath) {
  if (!ToNativePath(targetPath, target_)) {
    error_ = EINVAL;
  } else if (target_.empty()) {
    error_ = ENOENT;
  } else if (target_.back() == '/') {
    error_ = EISDIR;  // names a folder, not a file
  }
}

AtomicFileWriter::~AtomicFileWriter() {
  if (!done_) abandon();
}

void AtomicFileWriter::write(std::string_view bytes) {
  if (done_ || error_ != 0) return;
  if (bytes.size() >= kBufferSize) {
    // A large piece goes straight to the file rather than through the buffer.
    flush();
    if (error_ == 0) {
      if (const int error = WriteAll(fd_, bytes)) fail(error);
    }
    return;
  }
  buffer_.append(bytes);
  if (buffer_.size() >= kBufferSize) flush();
}

void AtomicFileWriter::flush() {
  if (error_ != 0) return;
  if (fd_ < 0) {
    struct stat st;
    bool exists;
    int error = ResolveLinks(target_);
    if (error == 0) error = CheckTarget(target_, st, exists);  // fail early, before any writing
    if (error == 0) error = CreateTempFile(target_, tempPath_, fd_);
    if (error != 0) return fail(error);
  }
  if (const int error = WriteAll(fd_, buffer_)) return fail(error);
  buffer_.clear();
}

void AtomicFileWriter::commit() {
  if (done_) throw std::logic_error("AtomicFileWriter: commit after commit or abandon");
  flush();
  if (error_ == 0) {
    // Checked again: the target may have changed while the document was written.
    struct stat st;
    bool exists;
    if (const int error = CheckTarget(target_, st, exists)) {
      fail(error);
    } else if (exists) {
      TakeOverModeAndOwner(fd_, st);
    }
  }
  if (error_ == 0) {
    const int closed = close(fd_);
    fd_ = -1;
    if (closed != 0) fail(errno);
  }
  if (error_ == 0 && rename(tempPath_.c_str(), target_.c_str()) != 0) fail(errno);
  done_ = true;
  if (error_ != 0) throw FileError(DescribeSystemError(error_));
  tempPath_.clear();
  buffer_ = std::string();
}

void AtomicFileWriter::abandon() {
  done_ = true;
  DropTemporaryFile(fd_, tempPath_, buffer_);
}

void AtomicFileWriter::fail(int errorNumber) {
  if (error_ == 0) error_ = errorNumber;
  // The temporary file goes at once; nothing after a failure may reach the disk.
  DropTemporaryFile(fd_, tempPath_, buffer_);
}

}  // namespace brevant
