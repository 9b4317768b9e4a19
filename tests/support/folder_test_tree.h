#pragma once

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <filesystem>
#include <string>
#include <vector>

#include "support/messages/error_report.h"
#include "support/files/path_helpers.h"
#include "support/folders/scan_observer.h"
#include "support/text/utf8.h"
#include "test_support/temp_dir.h"
#include "test_support/test_texts.h"

namespace brevant::test {

// A folder as the scanner's lists hold it: ending in the separator.
inline Text FolderEntryOf(const std::filesystem::path& folder) { return PathText(folder) + Separator(); }

inline void MakeFolders(const std::filesystem::path& root, const std::vector<std::string>& relative) {
  for (const std::string& path : relative) std::filesystem::create_directories(root / path);
}

inline void MakeFiles(const std::filesystem::path& root, const std::vector<std::string>& relative) {
  for (const std::string& path : relative) WriteBytes(root / path, "BEGIN:VCARD\r\nEND:VCARD\r\n");
}

#ifndef _WIN32
inline void MakeFifo(const std::filesystem::path& path) {
  if (mkfifo(path.c_str(), 0666) != 0) throw std::runtime_error("mkfifo failed");
}
#endif

// The list's paths relative to the root (as UTF-8, with "/" between folders),
// so expectations stay short and the same on every system.
inline std::vector<std::string> Relative(const std::vector<Text>& paths, const std::filesystem::path& root) {
  const std::string prefix = ToUtf8(PathText(root) + Separator());
  std::vector<std::string> relative;
  for (const Text& path : paths) {
    std::string bytes = ToUtf8(path);
    if (bytes.rfind(prefix, 0) == 0) bytes.erase(0, prefix.size());
    for (char& c : bytes) {
      if (c == static_cast<char>(Separator())) c = '/';
    }
    relative.push_back(bytes);
  }
  return relative;
}

// Remembers everything a scan tells it.
struct RecordingObserver : ScanObserver {
  int yields = 0;
  std::size_t folders = 0;
  std::size_t files = 0;
  std::vector<ErrorReport> reports;
  std::vector<std::pair<Text, LeftOut>> leftOutPaths;

  void yield() override { ++yields; }
  void foundFolders(std::size_t count) override { folders = count; }
  void foundFiles(std::size_t count) override { files = count; }
  void reportError(const ErrorReport& report) override { reports.push_back(report); }
  void leftOut(TextView path, LeftOut reason) override { leftOutPaths.emplace_back(Text(path), reason); }
};

}  // namespace brevant::test
