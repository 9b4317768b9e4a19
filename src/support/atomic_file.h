#pragma once

#include <string>
#include <string_view>

#include "support/text.h"

namespace brevant {

// Streams a document into a temporary file beside the target and renames it over
// the target on commit(), so a failure half-way leaves the earlier file as it was
// and no temporary file behind. Opening is lazy: nothing touches the disk until
// the buffered bytes exceed the buffer or commit() is called. A failure is kept
// and thrown (as FileError) by commit(); later writes are then dropped.
class AtomicFileWriter {
 public:
  explicit AtomicFileWriter(TextView targetPath);
  ~AtomicFileWriter();  // abandons (removes the temporary file) unless committed
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  void write(std::string_view bytes);
  // Flushes, refuses a read-only existing target, renames. Throws FileError.
  void commit();
  // Drops everything written so far and removes the temporary file.
  void abandon();

 private:
  void flush();
  void fail(int errorNumber);

  std::string target_;
  std::string tempPath_;
  std::string buffer_;
  int fd_ = -1;
  int error_ = 0;
  bool done_ = false;
};

}  // namespace brevant
