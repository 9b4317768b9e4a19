#pragma once

#include "engine/host.h"

namespace brevant {

// Converts one vCard file into its own ".htm" document, beside the input or in
// the chosen folder, as the host's options say at the moment they are reached.
// Reports its own failures through the host and always returns normally.
void ConvertVCFToSeparateHTML(Host& host, const Text& inputPath);

}  // namespace brevant

namespace brevant {

// The ".htm" path for an input: in the chosen folder, or beside the input; the
// empty text when neither destination is selected.
Text SeparateOutputPath(Host& host, const Text& inputPath);

}  // namespace brevant
