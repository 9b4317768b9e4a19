#pragma once

#include "engine/convert/per_input_run.h"
#include "engine/host.h"

namespace brevant {

// Converts one vCard file into its own ".htm" document, beside the input or in
// the chosen folder, as the host's options say at the moment they are reached.
// Reports its own failures through the host and always returns normally. The
// earlier document of that name is removed when the input yields no cells, and
// otherwise only ever replaced by a complete new one.
void ConvertPerInput(Host& host, const Text& inputPath);

// The same as one conversion of a run: no input of the run is ever deleted or
// replaced, and no document that the run wrote before.
void ConvertPerInput(Host& host, const Text& inputPath, PerInputRun& run);

}  // namespace brevant

namespace brevant {

// The ".htm" path for an input: in the chosen folder, or beside the input.
Text PerInputDocumentPath(Host& host, const Text& inputPath);

}  // namespace brevant
