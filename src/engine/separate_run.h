#pragma once

#include <cstdint>
#include <set>
#include <unordered_set>
#include <utility>
#include <vector>

#include "engine/property_tally.h"
#include "support/file_helpers.h"
#include "support/text.h"

namespace brevant {

// What the per-file conversions of one run share. No document may replace an
// input of the run, and none may replace a document that the run wrote before:
// a later input of the same name gets "name (2).htm", "name (3).htm", ...
class SeparateRun {
 public:
  explicit SeparateRun(const std::vector<Text>& inputs);

  // The same path text as an input, or the same file.
  bool isInput(const Text& path) const;

  // The path itself, or, when this run already wrote it, the first of
  // "<path less .htm> (2).htm", " (3)" ... that this run has not written.
  Text unwrittenPath(const Text& path) const;

  // Notes a document of `bytes` that the run has just written.
  void wrote(const Text& path, std::uint64_t bytes);
  // Notes a CSV file written beside the document just written.
  void wroteCsv() { ++csvFilesWritten_; }
  // Notes an input that yielded no cell.
  void foundNothing() { ++nothingToConvert_; }

  std::size_t documentsWritten() const { return documentsWritten_; }
  std::size_t nothingToConvert() const { return nothingToConvert_; }
  std::size_t csvFilesWritten() const { return csvFilesWritten_; }
  std::uint64_t bytesWritten() const { return bytesWritten_; }
  // The properties that documents with one row per contact left out.
  PropertyTally& leftOut() { return leftOut_; }

 private:
  using Identity = std::pair<unsigned long long, unsigned long long>;
  static bool Contains(const std::unordered_set<Text>& texts, const std::set<Identity>& files,
                       const Text& path);

  std::unordered_set<Text> inputTexts_;
  std::set<Identity> inputFiles_;
  std::unordered_set<Text> writtenTexts_;
  std::set<Identity> writtenFiles_;
  std::size_t documentsWritten_ = 0;
  std::size_t nothingToConvert_ = 0;
  std::size_t csvFilesWritten_ = 0;
  std::uint64_t bytesWritten_ = 0;
  PropertyTally leftOut_;
};

}  // namespace brevant
