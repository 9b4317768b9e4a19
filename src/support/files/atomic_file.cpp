#include "support/files/atomic_file.h"

#include <algorithm>
#include <cerrno>
#include <stdexcept>
#include <utility>
#include <vector>

#include "support/files/file_error.h"
#include "support/files/path_helpers.h"
#include "support/files/write_session.h"

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
  if (done_ || finished_ || error_ != 0) return;
  if (bytes.size() >= kBufferSize) {
    // A large piece goes straight to the file rather than through the buffer.
    flush(false);
    if (error_ == 0) {
      if (const int error = file_.write(bytes)) return fail(error);
      file_.startWriteback();
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
    // Unnamed from the start wherever the file system allows it: a program
    // ended by any means while it writes leaves nothing behind.
    if (error == 0) error = file_.create(target_, PendingFile::Kind::Unnamed, look_ ? &*look_ : nullptr);
    if (error != 0) return fail(error);
  }
  if (const int error = file_.write(buffer_)) return fail(error);
  buffer_.clear();
  // A large file goes to the disk while the rest is made, so that its sync
  // (or the session's) finds little left to wait for.
  if (!last) file_.startWriteback();
}

void AtomicFileWriter::finishWriting() {
  if (done_) throw std::logic_error("AtomicFileWriter: finish after commit or abandon");
  if (finished_) return;
  flush(true);
  // Its bytes start on their way to the disk now: the batch's one sync finds little left to wait for.
  if (error_ == 0) file_.startWriteback();
  finished_ = true;
  if (error_ != 0) throwFailure();
}

bool AtomicFileWriter::batchable() const {
  return error_ == 0 && file_.open() && file_.kind() == PendingFile::Kind::Unnamed && BatchTakesName(target_);
}

ReadyFile AtomicFileWriter::handOver() {
  ReadyFile ready{target_, existing_};
#ifndef _WIN32
  ready.descriptor = file_.releaseUnnamed(ready.createdMode);
#endif
  done_ = true;
  buffer_ = std::string();
  return ready;
}

void AtomicFileWriter::finish() {
  if (done_) throw std::logic_error("AtomicFileWriter: finish after commit or abandon");
  if (readyToPlace_) return;
  finishWriting();
  readyToPlace_ = true;
  if (error_ == 0) {
    // The bytes of a file that replaces another are on disk before anything
    // else of a group is placed; a new one waits for the session, if any.
    const bool replaces = look_ ? look_->exists : PendingFile::targetExists(target_);
    if (replaces || WriteSession::current() == nullptr) {
      if (const int error = file_.sync()) fail(error);
    }
  }
  if (error_ != 0) throwFailure();
}

void AtomicFileWriter::place(bool keepReplaced) {
  WriteSession* const session = WriteSession::current();
  const NativePath folder = FolderOfTarget(target_);
  if (session != nullptr) session->enter(folder);
  const PlaceOptions options{.syncNewFileLater = session != nullptr, .keepReplaced = keepReplaced};
  if (const int error = file_.placeOver(target_, existing_, look_ ? &*look_ : nullptr, options)) fail(error);
  if (error_ == 0) {
    if (session != nullptr) {
      session->placed(folder, file_.synced());
    } else if (const int error = SyncFolder(folder)) {
      fail(error);  // placed, but it might not stay
    }
  }
  done_ = true;
  buffer_ = std::string();
  if (error_ != 0) throwFailure();
}

void AtomicFileWriter::commit() {
  if (done_) throw std::logic_error("AtomicFileWriter: commit after commit or abandon");
  finish();
  place(false);
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

void AtomicFileWriter::throwFailure() {
  done_ = true;
  throw FileError(DescribeSystemError(error_));
}

void CommitTogether(std::span<AtomicFileWriter* const> writers, const GroupFailed& failedLater) {
  const auto dropAll = [&writers] {
    for (AtomicFileWriter* writer : writers) {
      if (!writer->done_) writer->abandon();
    }
  };
  WriteSession* const session = WriteSession::current();
  PlacingBatch* const batch = failedLater && session != nullptr ? session->batch() : nullptr;
  for (std::size_t i = 0; i < writers.size(); ++i) {
    try {
      if (batch != nullptr) {
        writers[i]->finishWriting();
      } else {
        writers[i]->finish();
      }
    } catch (const FileError& error) {
      dropAll();
      throw CommitFailure(error, i);
    }
  }
  if (batch != nullptr && std::all_of(writers.begin(), writers.end(),
                                      [](const AtomicFileWriter* writer) { return writer->batchable(); })) {
    // A killed run's half-placed groups there are settled first.
    session->enter(FolderOfTarget(writers.front()->target_));
    std::vector<ReadyFile> group;
    for (AtomicFileWriter* writer : writers) group.push_back(writer->handOver());
    batch->add(std::move(group), failedLater);
    return;
  }
  // Not for a batch after all (a file system without unnamed files): each is synced as it is placed.
  for (std::size_t i = 0; batch != nullptr && i < writers.size(); ++i) {
    try {
      writers[i]->finish();
    } catch (const FileError& error) {
      dropAll();
      throw CommitFailure(error, i);
    }
  }
  if (writers.size() == 1) {
    try {
      writers[0]->place(false);
    } catch (const FileError& error) {
      throw CommitFailure(error, 0);
    }
    return;
  }
  for (std::size_t i = 0; i < writers.size(); ++i) {
    try {
      writers[i]->place(true);
    } catch (const FileError& error) {
      for (std::size_t j = i; j-- > 0;) writers[j]->file_.undo();
      dropAll();
      throw CommitFailure(error, i);
    }
  }
  for (AtomicFileWriter* writer : writers) writer->file_.confirm();
}

}  // namespace brevant
