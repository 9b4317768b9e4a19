#include "cli/input_paths.h"

#include "support/input_file.h"
#include "support/utf8.h"

namespace brevant {

bool IsRelativePath(const std::string& path) { return path.empty() || path.front() != '/'; }

std::vector<Text> AbsoluteInputPaths(const std::vector<std::string>& files,
                                     const std::string& workingFolder) {
  std::vector<Text> paths;
  paths.reserve(files.size());
  for (const std::string& file : files) {
    if (file == kStandardInputArgument) {
      paths.push_back(StandardInputPath());
    } else if (!IsRelativePath(file)) {
      paths.push_back(FromUtf8(file));
    } else if (!workingFolder.empty() && workingFolder.back() == '/') {
      paths.push_back(FromUtf8(workingFolder + file));  // the root folder
    } else {
      paths.push_back(FromUtf8(workingFolder + "/" + file));
    }
  }
  return paths;
}

}  // namespace brevant
