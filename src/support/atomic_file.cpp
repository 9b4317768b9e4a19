#include "support/atomic_file.h"

#include <cerrno>
#include <stdexcept>

#include "support/file_error.h"
#include "support/path_helpers.h"

namespace brevant {

namespace {

constexpr std::size_t kBufferSize = std::size_t{1} << 20;

}  // namespace

AtomicFileWriter::AtomicFileWriter(TextView targetPath, ExistingTarget existing, const TargetLook* look)
    : existing_(existing) {
  if (look != nullptr && existing == ExistingTarget::Replace) look_ = *look;
  if (!ToNativePath(targetPath, target_)) {
    error_ = EINVAL;
  } else if (target_.empty()) {
    error_ = ENOENT;
  } else if (target_.back() == static_cast<NativePath::value_type>(Separator())) {
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
      if (const int error = file_.write(bytes)) fail(error);
    }
    return;
  }
  buffer_.append(bytes);
  if (buffer_.size() >= kBufferSize) flush(false);
}

void AtomicFileWriter::flush(bool last) {
  if (error_ != 0) return;
  if (!file_.open()) {
    // Fail early, before any writing.
    int error = look_ ? (look_->folder ? EISDIR : 0) : PendingFile::checkTarget(target_, existing_);
    // A document that is written over time is never seen under a name. One that
    // goes to disk in a single write has a name for that moment only (removed on
    // failure and on signals), which costs less than giving an unnamed file one,
    // unless nothing stands at the target: the unnamed file then takes the
    // target's name itself.
    const bool newFile = look_ && !look_->exists;
    const auto kind = last && !newFile ? PendingFile::Kind::Named : PendingFile::Kind::Unnamed;
    if (error == 0) error = file_.create(target_, kind, look_ ? &*look_ : nullptr);
    if (error != 0) return fail(error);
  }
  if (const int error = file_.write(buffer_)) return fail(error);
  buffer_.clear();
}

void AtomicFileWriter::commit() {
  if (done_) throw std::logic_error("AtomicFileWriter: commit after commit or abandon");
  flush(true);
  if (error_ == 0) {
    if (const int error = file_.placeOver(target_, existing_, look_ ? &*look_ : nullptr)) fail(error);
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
