#pragma once

#include <vector>

#include "support/folders/file_pattern.h"
#include "support/files/open_folder.h"
#include "support/text/text.h"

namespace brevant {

// The names (without folder) of the files in one folder that match the pattern
// (see FilePattern) and open for reading (see FileIsAccessible), in listing
// order (see SortAsListed). The folder may end in "/" or not. Hidden and
// read-only files are listed, folders are not, nor are names that are not valid
// UTF-8. Index 0 holds "" and the names follow from index 1, so a walk from 1 to
// the last index visits every name; with no name, or a folder that cannot be
// listed, the result is {""}.
std::vector<Text> GetFilesInFolder(TextView folder, TextView pattern);

// The same names, without the element at index 0, from a listing already made.
std::vector<Text> ReadableMatchingNames(const OpenFolder& listing, const std::vector<FolderEntry>& entries,
                                        const FilePattern& pattern);

}  // namespace brevant
