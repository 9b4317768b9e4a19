#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string_view>

#include "engine/statement_reporter.h"
#include "support/files/atomic_file.h"
#include "support/text/text.h"

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
  // The file is no text: it is put in place as written, without a final line break.
  void endAsWritten() { finalLineBreak_ = false; }

  const Text& path() const { return path_; }
  // The document's size once committed.
  std::uint64_t size() const { return size_; }

 private:
  friend bool CommitTogether(std::span<DocumentOutput* const> outputs, const StatementReporter& errors,
                             int statement);
  Text path_;
  std::optional<AtomicFileWriter> writer_;
  std::uint64_t size_ = 0;
  bool finalLineBreak_ = true;
};

// Puts a document and the files that go with it (its CSV file, its workbook) in
// place together, or none of them, each with its final line break if it has one: a file that cannot
// be written leaves every earlier file as it was. A failure is reported at
// `statement`, naming the file it concerns. Null entries are passed over.
// Gives whether they were placed. In a run (a WriteSession) they may be placed
// with the run's next batch of files (PlacingBatch), whole after a kill or a
// power cut too; should that fail, the failure is reported then, as here.
bool CommitTogether(std::span<DocumentOutput* const> outputs, const StatementReporter& errors, int statement);
inline bool CommitTogether(std::initializer_list<DocumentOutput*> outputs, const StatementReporter& errors,
                           int statement) {
  return CommitTogether(std::span(outputs.begin(), outputs.size()), errors, statement);
}

// The bytes of all documents this thread has put in place so far: the
// difference over a conversion is the size of what it wrote.
std::uint64_t CommittedDocumentBytes();

}  // namespace brevant
