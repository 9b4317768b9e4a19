#pragma once

#include <vector>

#include "support/text/text.h"

namespace brevant {

// The order in which a folder lists its entries: by the upper-cased name, then
// by the exact name for names that differ only in letter case. Every machine
// lists a folder the same way, whatever order the file system keeps.
bool ListsBefore(TextView a, TextView b);

void SortAsListed(std::vector<Text>& names);

}  // namespace brevant
