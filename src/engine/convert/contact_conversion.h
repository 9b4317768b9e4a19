#pragma once

#include <string>
#include <vector>

#include "engine/convert/run_summary.h"
#include "engine/host.h"
#include "engine/statement_reporter.h"
#include "engine/text/file_text.h"
#include "engine/write/beside_files.h"
#include "engine/write/document_output.h"

namespace brevant {

// The two conversions when every contact gets a row of its own. The columns are
// the union of the captions of the document's rows, in order of first
// appearance; the table options are read from the host when the conversion
// starts; failures are reported with the conversion's own statements. What no
// column shows is counted in `leftOut`. With files beside the document (or the
// choice of them), the same table goes there too and is put in place with the document.

// What the rows of one input may take in memory while they wait for the columns.
inline constexpr std::size_t kKeptRowsBudget = std::size_t{32} << 20;

// One document for one input, with one row per contact of the input.
// The earlier document at the path is replaced only by a complete new one.
// `target` is the caller's look at the output path. The rows wait in memory
// for the columns while they take at most `keptRowsBudget` bytes; past that
// the input is read a second time for them, one contact at a time.
DocumentOutcome ConvertContactsPerInput(Host& host, const StatementReporter& errors, const InputText& input,
                                        const Text& inputPath, const Text& outputPath, BesideFiles* beside,
                                        PropertyTally& leftOut, const TargetLook* target = nullptr,
                                        std::size_t keptRowsBudget = kKeptRowsBudget);

// One document for all inputs, with one row per contact of every input, in order.
void ConvertContactsToOneDocument(Host& host, const StatementReporter& errors,
                                  const std::vector<Text>& inputs, const Text& outputPath,
                                  const FormatChoice& chosen, RunSummary& summary);

}  // namespace brevant
