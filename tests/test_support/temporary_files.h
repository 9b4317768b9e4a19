#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace brevant::test {

// Names in a folder that look like the atomic writer's temporary files.
inline std::vector<std::string> TemporaryFilesIn(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (name.front() == '.' && name.find(".brevant-") != std::string::npos) names.push_back(name);
  }
  return names;
}

}  // namespace brevant::test
