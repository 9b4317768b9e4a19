#include "engine/write/document_output.h"

#include <vector>

#include "engine/write/html_document.h"
#include "support/files/file_error.h"

namespace brevant {

namespace {
thread_local std::uint64_t committedBytes = 0;
constexpr char kNoFileName[] = "Bad file name or number";
}  // namespace

DocumentOutput::DocumentOutput(const Text& path, ExistingTarget existing, const TargetLook* look)
    : path_(path) {
  if (!path.empty()) writer_.emplace(path, existing, look);
}

void DocumentOutput::write(std::string_view bytes) {
  if (!writer_) return;
  writer_->write(bytes);
  size_ += bytes.size();
}

void DocumentOutput::commit() {
  if (!writer_) throw FileError(kNoFileName);
  if (finalLineBreak_) write(kFinalLineBreak);
  writer_->commit();
  committedBytes += size_;
}

bool CommitTogether(std::span<DocumentOutput* const> outputs, const StatementReporter& errors,
                    int statement) {
  std::vector<DocumentOutput*> placed;
  std::vector<AtomicFileWriter*> writers;
  for (DocumentOutput* output : outputs) {
    if (output == nullptr) continue;
    if (!output->writer_) {
      errors.report(statement, DescriptionFromUtf8(kNoFileName), output->path_);
      return false;
    }
    if (output->finalLineBreak_) output->write(kFinalLineBreak);
    placed.push_back(output);
    writers.push_back(&*output->writer_);
  }
  // In a run the group may be placed with a later batch: a failure then is reported the same way.
  std::vector<Text> paths;
  for (const DocumentOutput* output : placed) paths.push_back(output->path_);
  const GroupFailed failedLater = [errors, statement, paths = std::move(paths)](std::size_t index,
                                                                                int error) {
    errors.report(statement, DescriptionFromUtf8(DescribeSystemError(error)), paths[index]);
  };
  try {
    CommitTogether(writers, failedLater);
  } catch (const CommitFailure& failure) {
    errors.report(statement, DescriptionFromUtf8(failure.description()), placed[failure.index()]->path_);
    return false;
  }
  for (const DocumentOutput* output : placed) committedBytes += output->size_;
  return true;
}

std::uint64_t CommittedDocumentBytes() { return committedBytes; }

}  // namespace brevant
