#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <set>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "engine/contacts/property_tally.h"
#include "engine/convert/run_summary.h"
#include "engine/write/output_formats.h"
#include "support/files/file_helpers.h"
#include "support/files/pending_file.h"
#include "support/text/text.h"

namespace brevant {

// What the per-input conversions of one run share. No document may replace an
// input of the run, and none may replace a document that the run wrote before:
// a later input of the same name gets "name (2).htm", "name (3).htm", ...
// Which files the inputs are is looked up once, when the run starts; what
// stands at an output path is looked at once per document (LookAtTarget), and
// that look answers every question of the run about it.
class PerInputRun {
 public:
  // `turn` runs after each input looked up: a long list, or a slow disk, must not
  // keep the window from its turns before the first file is shown.
  explicit PerInputRun(const std::vector<Text>& inputs, const std::function<void()>& turn = {});

  // The same path text as an input, or the same file. `look` is a look at the path.
  bool isInput(const Text& path, const TargetLook& look) const;
  // The same, looking at the path first.
  bool isInput(const Text& path) const { return isInput(path, LookAtTarget(path)); }

  // The path itself, or, when this run already wrote it, the first of
  // "<path less .htm> (2).htm", " (3)" ... that this run has not written.
  // `look` is a look at the path, and becomes one at the path given back.
  Text unwrittenPath(const Text& path, TargetLook& look);

  // The length the input had when the run started, when it was a regular file
  // (0 otherwise), so that reading it needs no further look.
  std::uint64_t knownSize(const Text& input) const;

  // Notes a document of `bytes` that the run has just written.
  void wrote(const Text& path, std::uint64_t bytes);
  // Notes a file of `format` written beside the document just written, and the values it holds cut.
  void wroteBeside(OutputFormat format, const Text& path, std::uint64_t valuesCut) {
    ++counts_.besideFilesWritten[format];
    if (valuesCut > 0) counts_.valuesCut.push_back({path, valuesCut});
  }
  // Notes an input that yielded no cell.
  void foundNothing(const Text& input) { counts_.foundNothingIn(input); }
  // Notes an input that was not there.
  void foundMissing(const Text& input) { counts_.foundMissingIn(input); }
  // Notes an input whose reading or converting failed.
  void failedInput() { ++counts_.failed; }

  // What the run did so far (all but the count of inputs).
  const RunSummary& counts() const { return counts_; }
  std::size_t documentsWritten() const { return counts_.documentsWritten; }
  std::size_t nothingToConvert() const { return counts_.nothingToConvert; }
  const std::vector<Text>& nothingToConvertInputs() const { return counts_.nothingToConvertInputs; }
  std::size_t notFound() const { return counts_.notFound; }
  const std::vector<Text>& notFoundInputs() const { return counts_.notFoundInputs; }
  std::size_t failed() const { return counts_.failed; }
  const PerFormat<std::size_t>& besideFilesWritten() const { return counts_.besideFilesWritten; }
  const std::vector<ValuesCut>& valuesCut() const { return counts_.valuesCut; }
  std::uint64_t bytesWritten() const { return counts_.bytesWritten; }
  // The properties that documents with one row per contact left out.
  PropertyTally& leftOut() { return counts_.leftOut; }

 private:
  using Identity = std::pair<unsigned long long, unsigned long long>;
  static Identity IdentityOf(const FileIdentity& file) { return {file.device, file.inode}; }
  bool wroteAt(const Text& path, const TargetLook& look);

  std::unordered_map<Text, std::uint64_t> inputSizes_;
  std::set<Identity> inputFiles_;
  std::unordered_set<Text> writtenTexts_;
  // By path less ".htm": every number below it names a document of this run.
  std::unordered_map<Text, unsigned long long> firstUntaken_;
  // Which files the written documents are is looked up only when a later
  // document's path names a file that may be one of them.
  std::set<Identity> writtenFiles_;
  std::vector<Text> writtenUnidentified_;
  std::chrono::system_clock::time_point startedAt_ = std::chrono::system_clock::now();
  RunSummary counts_;
};

}  // namespace brevant
