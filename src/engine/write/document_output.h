#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "support/atomic_file.h"
#include "support/text.h"

namespace brevant {

// What became of one input's document.
enum class DocumentOutcome { Written, NoCells, Failed };

// A document goes straight into its new file as it is built, and replaces the
// file at the path only when it is complete. An empty path writes nothing and
// fails on commit. `look` is the caller's look at the path, when it took one.
class DocumentOutput {
 public:
  explicit DocumentOutput(const Text& path, ExistingTarget existing = ExistingTarget::KeepReadOnly,
                          const TargetLook* look = nullptr);
  void write(std::string_view bytes);
  // Adds the final line break and puts the document in place. Throws FileError.
  void commit();
  // Puts the file in place as written, for a file that is no text.
  void commitAsWritten();

  // The document's size once committed.
  std::uint64_t size() const { return size_; }

 private:
  std::optional<AtomicFileWriter> writer_;
  std::uint64_t size_ = 0;
};

// The bytes of all documents this thread has put in place so far: the
// difference over a conversion is the size of what it wrote.
std::uint64_t CommittedDocumentBytes();

}  // namespace brevant
