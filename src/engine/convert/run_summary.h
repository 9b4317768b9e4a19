#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/contacts/property_tally.h"
#include "engine/write/output_formats.h"
#include "support/text/text.h"

namespace brevant {

// What a run did, for those who report it (the command line's summary line).
struct RunSummary {
  std::size_t inputs = 0;
  std::size_t documentsWritten = 0;
  std::size_t nothingToConvert = 0;           // inputs that were read and yielded no cell
  std::size_t notFound = 0;                   // inputs that were not there when read
  std::vector<Text> notFoundInputs;           // their paths, as the run met them
  std::size_t failed = 0;                     // inputs whose reading or converting failed (and was reported)
  Text oneDocument;                           // the one document's path, once written
  PropertyTally leftOut;                      // properties that no column shows (one row per contact)
  std::uint64_t bytesWritten = 0;             // of all documents written, the files beside them included
  PerFormat<std::size_t> besideFilesWritten;  // beside the documents, by format
  PerFormat<Text> besideOneDocument;          // the one document's files, once written
};

}  // namespace brevant
