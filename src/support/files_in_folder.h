#pragma once

#include <vector>

#include "support/text.h"

namespace brevant {

// The names (without folder) of the files in one folder that match the pattern
// (see FilePattern) and open for reading, in listing order (see SortAsListed).
// The folder may end in "/" or not. Hidden and read-only files are listed,
// folders are not, nor are names that are not valid UTF-8.
// Index 0 holds "" and the names follow from index 1, so a walk from 1 to the
// last index visits every name; with no name, or a folder that cannot be
// listed, the result is {""}.
std::vector<Text> GetFilesInFolder(TextView folder, TextView pattern);

}  // namespace brevant
