#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "support/files/file_error.h"
#include "support/files/native_path.h"
#include "support/files/pending_file.h"
#include "support/files/placing_batch.h"
#include "support/text/text.h"

namespace brevant {

// Streams a document into a pending file beside the target and puts it in place
// on commit(), so a failure half-way leaves the earlier file as it was and no
// temporary file behind. Opening is lazy: nothing touches the disk until the
// buffered bytes exceed the buffer or the file is finished. A failure is kept
// and thrown (as FileError) by finish() or commit(); later writes are then
// dropped. The new file gets the permission bits (and, where allowed, the
// owner) of the file it replaces, or those of any new file. A caller that
// looked at the target already (LookAtTarget) may pass its look: with Replace,
// the target is then not looked at again.
//
// Durable: a file that replaces another is on disk before it takes its place.
// One that replaces nothing is synced by the thread's WriteSession when that
// ends, or, without a session, before it is placed; its folder is then synced
// after it. Files put in place together with a session that places in
// batches go to its batch instead (CommitTogether).
class AtomicFileWriter {
 public:
  explicit AtomicFileWriter(TextView targetPath, ExistingTarget existing = ExistingTarget::KeepReadOnly,
                            const TargetLook* look = nullptr);
  ~AtomicFileWriter();  // abandons unless committed
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  void write(std::string_view bytes);
  // Takes everything written to the file, and to the disk when it is to
  // replace a file; nothing is placed yet. Throws FileError.
  void finish();
  // finish(), then checks the target again and puts the file in place. Throws FileError.
  void commit();
  // Drops everything written so far and removes the pending file.
  void abandon();

 private:
  friend void CommitTogether(std::span<AtomicFileWriter* const> writers, const GroupFailed& failedLater);
  // last: nothing more follows.
  void flush(bool last);
  // Takes everything written to the file; nothing is synced. Throws FileError.
  void finishWriting();
  // Whether the finished file can go to the session's batch: unnamed, and a
  // name its hidden names can hold whole.
  bool batchable() const;
  // Hands the finished file over to a batch.
  ReadyFile handOver();
  void fail(int errorNumber);
  // Puts the finished file in place; keepReplaced as PendingFile has it.
  void place(bool keepReplaced);
  [[noreturn]] void throwFailure();

  NativePath target_;
  ExistingTarget existing_;
  std::optional<TargetLook> look_;  // only with Replace
  PendingFile file_;
  std::string buffer_;
  int error_ = 0;
  bool finished_ = false;
  bool readyToPlace_ = false;  // finished, and synced where it must be before it is placed
  bool done_ = false;
};

// A failure of one of several files put in place together: which one, by its
// position among them.
class CommitFailure : public FileError {
 public:
  CommitFailure(const FileError& error, std::size_t index) : FileError(error), index_(index) {}
  std::size_t index() const { return index_; }

 private:
  std::size_t index_;
};

// Puts files that belong together (a document and the files beside it) in
// place together or not at all. Every one is finished first: a failure drops
// them all, and every earlier file stays as it was. Then each is placed, in
// order; should one fail, those placed before it are taken out again and the
// files they replaced put back (where the file system can swap two names in one
// step, as Linux's ext4, XFS, Btrfs and tmpfs can). Throws CommitFailure.
// Given `failedLater`, and with a WriteSession that places in batches (see
// PlacingBatch), the finished files go to the session's batch and are placed
// with it, a kill or power cut notwithstanding, whole or not at all; should
// the group fail then, `failedLater` is told.
void CommitTogether(std::span<AtomicFileWriter* const> writers, const GroupFailed& failedLater = {});

}  // namespace brevant
