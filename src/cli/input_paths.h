#pragma once

#include <string>
#include <vector>

#include "support/text/text.h"

namespace brevant {

bool IsRelativePath(const std::string& path);

// A path as typed, as the engine takes it: on Windows "/" is a separator too.
Text TypedPath(const std::string& typed);

// A FILE that stands for the standard input.
inline constexpr char kStandardInputArgument[] = "-";

// The files as the engine takes them: a relative path is joined to the working
// folder, lexically (no "." or ".." removed, no link followed), so that "beside
// the input" names a real folder; the bytes are kept whatever their encoding.
// "-" becomes the path of the standard input. On Windows "/" becomes "\\".
std::vector<Text> AbsoluteInputPaths(const std::vector<std::string>& files, const std::string& workingFolder);

}  // namespace brevant
