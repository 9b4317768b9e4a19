#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/contacts/property_tally.h"
#include "engine/write/output_formats.h"
#include "support/text/text.h"

namespace brevant {

// A file beside a document (a workbook) that holds some values cut, as they
// were longer than its cells hold.
struct ValuesCut {
  Text path;
  std::uint64_t values = 0;
  bool operator==(const ValuesCut&) const = default;
};

// "1 value longer than a spreadsheet cell holds was cut in " ("3 values ...
// were cut in "), for the file's path or name to follow.
inline Text ValuesCutIn(std::uint64_t values) {
  const std::string count = std::to_string(values);
  return Text(count.begin(), count.end()) +
         (values == 1 ? u" value longer than a spreadsheet cell holds was cut in "
                      : u" values longer than a spreadsheet cell holds were cut in ");
}

// What a run did, for those who report it (the command line's summary line).
struct RunSummary {
  std::size_t inputs = 0;
  std::size_t documentsWritten = 0;
  std::size_t nothingToConvert = 0;           // inputs that were read and yielded no cell
  std::vector<Text> nothingToConvertInputs;   // their paths, in list order
  std::size_t notFound = 0;                   // inputs that were not there when read
  std::vector<Text> notFoundInputs;           // their paths, as the run met them
  std::size_t failed = 0;                     // inputs whose reading or converting failed (and was reported)
  Text oneDocument;                           // the one document's path, once written
  PropertyTally leftOut;                      // properties that no column shows (one row per contact)
  std::uint64_t bytesWritten = 0;             // of all documents written, the files beside them included
  PerFormat<std::size_t> besideFilesWritten;  // beside the documents, by format
  PerFormat<Text> besideOneDocument;          // the one document's files, once written
  std::vector<ValuesCut> valuesCut;           // the files written with values cut, in the order written

  // Notes an input that was read and yielded no cell: counted and named together.
  void foundNothingIn(const Text& input) {
    ++nothingToConvert;
    nothingToConvertInputs.push_back(input);
  }
  // Notes an input that was not there when read: counted and named together.
  void foundMissingIn(const Text& input) {
    ++notFound;
    notFoundInputs.push_back(input);
  }
};

}  // namespace brevant
