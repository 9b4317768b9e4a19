#include "support/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <stdexcept>

#include "support/file_error.h"
#include "support/native_path.h"

namespace brevant {

namespace {

constexpr std::size_t kBufferSize = std::size_t{1} << 20;
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

// The replacement keeps the target's owner where allowed; file systems without
// owners refuse, which is no reason to fail the write.
void TakeOverOwner(int fd, const struct stat& target) {
  if (target.st_uid == geteuid() && target.st_gid == getegid()) return;
  [[maybe_unused]] const int ignored = fchown(fd, target.st_uid, target.st_gid);
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

}  // namespace

AtomicFileWriter::AtomicFileWriter(TextView targetPath, ExistingTarget existing) : existing_(existing) {
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
    flush(false);
    if (error_ == 0) {
      if (const int error = WriteAll(file_.descriptor(), bytes)) fail(error);
    }
    return;
  }
  buffer_.append(bytes);
  if (buffer_.size() >= kBufferSize) flush(false);
}

void AtomicFileWriter::flush(bool last) {
  if (error_ != 0) return;
  if (!file_.open()) {
    TargetState state;
    int error = existing_ == ExistingTarget::KeepReadOnly ? ResolveLinks(target_) : 0;
    if (error == 0) error = CheckTarget(target_, existing_, state);  // fail early, before any writing
    // A document that is written over time is never seen under a name. One that
    // goes to disk in a single write has a name for that moment only (removed on
    // failure and on signals), which costs less than giving an unnamed file one.
    const auto kind = last ? PendingFile::Kind::Named : PendingFile::Kind::Unnamed;
    if (error == 0) error = file_.create(target_, kind);
    if (error != 0) return fail(error);
  }
  if (const int error = WriteAll(file_.descriptor(), buffer_)) return fail(error);
  buffer_.clear();
}

void AtomicFileWriter::commit() {
  if (done_) throw std::logic_error("AtomicFileWriter: commit after commit or abandon");
  flush(true);
  if (error_ == 0) {
    // Checked again: the target may have changed while the document was written.
    TargetState state;
    if (const int error = CheckTarget(target_, existing_, state)) {
      fail(error);
    } else {
      if (state.regularFile) TakeOverOwner(file_.descriptor(), state.st);
      const mode_t mode = state.regularFile ? (state.st.st_mode & 0777) : NewFileMode();
      if (const int error = file_.place(target_, mode)) fail(error);
    }
  }
  done_ = true;
  buffer_ = std::string();
  if (error_ != 0) throw FileError(DescribeSystemError(error_));
}

void AtomicFileWriter::abandon() {
  done_ = true;
  file_.discard();
  buffer_ = std::string();  // gives the memory back, not only the content
}

void AtomicFileWriter::fail(int errorNumber) {
  if (error_ == 0) error_ = errorNumber;
  // The pending file goes at once; nothing after a failure may reach the disk.
  file_.discard();
  buffer_ = std::string();
}

}  // namespace brevant
