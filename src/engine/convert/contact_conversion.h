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

// One document for one input, with one row per contact of the input.
// The earlier document at the path is replaced only by a complete new one.
// `target` is the caller's look at the output path.
DocumentOutcome ConvertContactsPerInput(Host& host, const StatementReporter& errors, const InputText& input,
                                        const Text& inputPath, const Text& outputPath, BesideFiles* beside,
                                        PropertyTally& leftOut, const TargetLook* target = nullptr);

// One document for all inputs, with one row per contact of every input, in order.
void ConvertContactsToOneDocument(Host& host, const StatementReporter& errors,
                                  const std::vector<Text>& inputs, const Text& outputPath,
                                  const FormatChoice& chosen, RunSummary& summary);

}  // namespace brevant
