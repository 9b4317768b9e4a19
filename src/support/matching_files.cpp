#include "support/matching_files.h"

#include "support/file_access.h"
#include "support/file_attributes.h"
#include "support/files_in_folder.h"
#include "support/path_helpers.h"
#include "support/sub_directories.h"

namespace brevant {

namespace {

// Archive + hidden and nothing else: a writable dot-file.
constexpr int kWritableHiddenFile = kAttributeArchive | kAttributeHidden;

}  // namespace

std::vector<Text> ListMatchingFiles(TextView folder, TextView extension, ScanObserver& observer) {
  std::vector<Text> folders{Text(folder) + u'/'};
  GetSubDirectories2016(folders, true, observer);
  const Text pattern = u"*." + Text(extension);
  std::vector<Text> files;
  for (const Text& entry : folders) {
    const TextView folderPath = TextView(entry).substr(0, entry.size() - 1);
    const std::vector<Text> names = GetFilesInFolder(folderPath, pattern);
    for (std::size_t i = 1; i < names.size(); ++i) {
      const Text& name = names[i];
      if (name.front() == u'~') continue;
      const Text path = Text(folderPath) + u'/' + name;
      if (!FileIsAccessible(path)) continue;
      // Only a name starting with "." carries the hidden bit, so only such a
      // name can have the value 34; the others need no look at their attributes.
      if (name.front() == u'.' && FileAttributeValue(path) == kWritableHiddenFile) continue;
      files.push_back(CollapseBackslashes(path));
    }
    observer.foundFiles(files.size());
  }
  return files;
}

}  // namespace brevant
