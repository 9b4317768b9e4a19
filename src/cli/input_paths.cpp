#include "cli/input_paths.h"

#include "support/files/input_file.h"
#include "support/files/path_helpers.h"
#include "support/text/utf8.h"

namespace brevant {

// On Windows a path that starts at a drive's root or names a drive ("C:\x",
// "\x", "C:x") is the system's to resolve; "/" counts as a separator there too.
bool IsRelativePath(const std::string& path) {
  if (path.empty()) return true;
  if constexpr (kNativePathStyle == PathStyle::Windows) {
    return path.front() != '\\' && path.front() != '/' && (path.size() < 2 || path[1] != ':');
  }
  return path.front() != '/';
}

Text TypedPath(const std::string& typed) {
  Text path = FromUtf8(typed);
  if constexpr (kNativePathStyle == PathStyle::Windows) {
    for (char16_t& unit : path) {
      if (unit == u'/') unit = Separator();
    }
  }
  return path;
}

std::vector<Text> AbsoluteInputPaths(const std::vector<std::string>& files,
                                     const std::string& workingFolder) {
  std::vector<Text> paths;
  paths.reserve(files.size());
  for (const std::string& file : files) {
    if (file == kStandardInputArgument) {
      paths.push_back(StandardInputPath());
    } else if (!IsRelativePath(file)) {
      paths.push_back(TypedPath(file));
    } else if (!workingFolder.empty() && workingFolder.back() == static_cast<char>(Separator())) {
      paths.push_back(TypedPath(workingFolder + file));  // the root folder
    } else {
      paths.push_back(TypedPath(workingFolder + static_cast<char>(Separator()) + file));
    }
  }
  return paths;
}

}  // namespace brevant
