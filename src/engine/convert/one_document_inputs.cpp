#include "engine/convert/one_document_inputs.h"

#include <algorithm>

#include "engine/progress.h"
#include "engine/write/html_document.h"
#include "support/files/file_helpers.h"
#include "support/files/path_helpers.h"

namespace brevant {

namespace {

// Whether the document would replace one of its own inputs.
bool NamesAnInput(const Text& outputPath, const std::vector<Text>& inputs) {
  if (!FileExists(outputPath)) return false;  // a new file replaces nothing
  return std::any_of(inputs.begin(), inputs.end(),
                     [&outputPath](const Text& input) { return IsSameFile(outputPath, input); });
}

}  // namespace

const InputText& InputSweeps::read(std::size_t index, const Text& path, const StatementReporter& errors,
                                   int statement) {
  if (const auto kept = kept_.find(index); kept != kept_.end()) {
    current_ = std::move(kept->second);
    kept_.erase(kept);
    return current_;
  }
  current_ = InputText();  // the input before goes first: never two in memory at once
  try {
    current_ = ReadInput(path, {.betweenPieces = [this] { host_.yield(); }});
  } catch (...) {
    errors.reportCurrentException(statement, path);
    failed(index);
    // A pipe that failed is not read again: the second sweep would wait on it.
    if (IsReadOnce(path)) return kept_[index] = InputText();
    return current_;
  }
  if (current_.missing()) notFound(index, path);
  if (!current_.readOnce()) return current_;
  InputText& kept = kept_[index] = std::move(current_);
  current_ = InputText();
  return kept;
}

void InputSweeps::failed(std::size_t index) {
  if (!failed_.insert(index).second) return;
  ++summary_.failed;
  const auto missing = notFound_.find(index);
  if (missing == notFound_.end()) return;
  --summary_.notFound;
  std::vector<Text>& paths = summary_.notFoundInputs;
  paths.erase(std::find(paths.begin(), paths.end(), missing->second));
  notFound_.erase(missing);
}

void InputSweeps::notFound(std::size_t index, const Text& path) {
  if (failed_.contains(index) || !notFound_.try_emplace(index, path).second) return;
  ++summary_.notFound;
  summary_.notFoundInputs.push_back(path);
}

void InputSweeps::secondSweep(const std::vector<Text>& inputs, const StatementReporter& errors,
                              const std::function<void(const InputText&)>& scan,
                              const std::function<void()>& rowEnd) {
  for (std::size_t f = 1; f <= inputs.size(); ++f) {
    const Text& path = inputs[f - 1];
    host_.setProgressPosition(WholePercent(f, inputs.size()));
    host_.setProgressCaption(kProcessingPrefix + GetFileName(path));
    host_.yield();
    const InputText& input = read(f - 1, path, errors, kSecondSweepRead);
    try {
      scan(input);
    } catch (...) {
      errors.reportCurrentException(kSecondSweepScan, path);
      failed(f - 1);
    }
    if (rowEnd) rowEnd();
  }
}

void CommitOneDocument(DocumentOutput& document, BesideFiles& beside, const Text& outputPath,
                       const std::vector<Text>& inputs, const StatementReporter& errors, int statement,
                       RunSummary& summary) {
  document.write(kClosing);
  if (NamesAnInput(outputPath, inputs)) {
    errors.report(statement, kOutputWouldOverwriteInput, outputPath);
    return;
  }
  // A file beside it that would replace an input is left out, and the document comes without it.
  beside.leaveOut([&](const BesideFile& file) {
    if (!NamesAnInput(file.path(), inputs)) return false;
    errors.report(statement, kOutputWouldOverwriteInput, file.path());
    return true;
  });
  if (!beside.commitWith(document, errors, statement)) return;
  summary.documentsWritten = 1;
  summary.oneDocument = outputPath;
  summary.bytesWritten = document.size();
  for (const BesideFiles::Entry* file : beside.written()) {
    summary.besideFilesWritten[file->format] = 1;
    summary.besideOneDocument[file->format] = file->file->path();
    summary.bytesWritten += file->file->size();
    if (file->file->valuesCut() > 0)
      summary.valuesCut.push_back({file->file->path(), file->file->valuesCut()});
  }
}

}  // namespace brevant
