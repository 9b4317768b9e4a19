#pragma once

#include <string>
#include <vector>

#include "engine/contacts/property_tally.h"

namespace brevant {

// What the summary says of the properties that one row per contact left out
// (no column shows them), one text per line without the program's name: the
// most frequent few names with their counts, or, verbose, every name on a line
// of its own. Nothing when nothing was left out.
std::vector<std::string> LeftOutLines(const PropertyTally& leftOut, bool verbose);

}  // namespace brevant
