#pragma once

#include <cstdint>
#include <vector>

#include "engine/convert/run_summary.h"
#include "engine/host.h"

namespace brevant {

// Converts every input of the host's list into one document at outputPath: the
// columns are the union of all captions in order of first appearance, one row
// per input. Reports its own failures through the host and always returns.
void ConvertToOneDocument(Host& host, const Text& outputPath);
// The same, telling what it did.
void ConvertToOneDocument(Host& host, const Text& outputPath, RunSummary& summary);

// Position (from 0) of the first entry equal to the caption, or -1.
std::int32_t isHeaderExists(TextView caption, const std::vector<Text>& columns);

}  // namespace brevant
