#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "support/native_path.h"
#include "support/pending_file.h"
#include "support/text.h"

namespace brevant {

// Streams a document into a pending file beside the target and puts it in place
// on commit(), so a failure half-way leaves the earlier file as it was and no
// temporary file behind. Opening is lazy: nothing touches the disk until the
// buffered bytes exceed the buffer or commit() is called. A failure is kept and
// thrown (as FileError) by commit(); later writes are then dropped. The new file
// gets the permission bits (and, where allowed, the owner) of the file it
// replaces, or those of any new file. A caller that looked at the target
// already (LookAtTarget) may pass its look: with Replace, the target is then not
// looked at again.
class AtomicFileWriter {
 public:
  explicit AtomicFileWriter(TextView targetPath, ExistingTarget existing = ExistingTarget::KeepReadOnly,
                            const TargetLook* look = nullptr);
  ~AtomicFileWriter();  // abandons unless committed
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  void write(std::string_view bytes);
  // Flushes, checks the target again, puts the file in place. Throws FileError.
  void commit();
  // Drops everything written so far and removes the pending file.
  void abandon();

 private:
  // last: nothing more follows.
  void flush(bool last);
  void fail(int errorNumber);

  NativePath target_;
  ExistingTarget existing_;
  std::optional<TargetLook> look_;  // only with Replace
  PendingFile file_;
  std::string buffer_;
  int error_ = 0;
  bool done_ = false;
};

}  // namespace brevant
