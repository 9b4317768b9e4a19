#include "support/folders/matching_files.h"

#include <algorithm>
#include <deque>
#include <iterator>
#include <utility>

#include "support/files/file_attributes.h"
#include "support/files/path_helpers.h"
#include "support/folders/files_in_folder.h"
#include "support/folders/folder_tree_scan.h"
#include "support/folders/unsafe_names.h"
#include "support/text/utf8.h"

namespace brevant {

namespace {

// Archive + hidden and nothing else: a writable dot-file.
constexpr int kWritableHiddenFile = kAttributeArchive | kAttributeHidden;

TextView WithoutTrailingSlash(const Text& entry) { return TextView(entry).substr(0, entry.size() - 1); }

// Appends the paths of the folder's usable files. The names passed the open
// test of GetFilesInFolder a moment ago; opening each file again would double
// the cost of the scan and tell nothing new. Unless `hiddenLeftOut` (the
// listing's attributes did that), writable hidden files are left out here.
void AppendUsableFiles(TextView folderPath, const std::vector<Text>& names, std::size_t first,
                       std::vector<Text>& files, bool hiddenLeftOut = false) {
  const Text doubled(2, Separator());
  const bool collapse = (Text(folderPath) + Separator()).find(doubled) != Text::npos;
  for (std::size_t i = first; i < names.size(); ++i) {
    const Text& name = names[i];
    if (name.front() == u'~') continue;
    Text path;
    path.reserve(folderPath.size() + 1 + name.size());
    path.append(folderPath).append(1, Separator()).append(name);
    // On Linux only a name starting with "." carries the hidden bit, so only such
    // a name can have the value 34; the others need no look at their attributes.
    const bool mayBeHidden =
        !hiddenLeftOut && (kNativePathStyle == PathStyle::Windows || name.front() == u'.');
    if (mayBeHidden && FileAttributeValue(path) == kWritableHiddenFile) continue;
    files.push_back(collapse ? CollapseBackslashes(path) : std::move(path));
  }
}

// Takes each folder's files while the folder scan has it open, so that every
// folder is listed once.
class MatchingFileScan : public FolderTreeScan {
 public:
  MatchingFileScan(ScanObserver& observer, Text pattern)
      : FolderTreeScan(observer), pattern_(std::move(pattern)), matcher_(pattern_) {}

  // The files of the next folder of the list. The scan reports the folders it
  // lists in list order; one it did not list is looked at now.
  std::vector<Text> takeFiles(const Text& folder) {
    if (!listed_.empty() && listed_.front().folder == folder) {
      std::vector<Text> files = std::move(listed_.front().files);
      listed_.pop_front();
      return files;
    }
    std::vector<Text> files;
    const TextView folderPath = WithoutTrailingSlash(folder);
    AppendUsableFiles(folderPath, GetFilesInFolder(folderPath, pattern_), 1, files);
    return files;
  }

 protected:
  void listed(const Text& folder, const OpenFolder& listing,
              const std::vector<FolderEntry>& entries) override {
    tellUnusableNames(folder, entries);
    listed_.push_back({folder, {}});
    std::vector<Text>& files = listed_.back().files;
    // Where the listing tells every entry's attributes (Windows), writable
    // hidden files go before anything opens them or looks at them again.
    const bool attributesListed = std::all_of(entries.begin(), entries.end(),
                                              [](const FolderEntry& entry) { return entry.attributes >= 0; });
    std::vector<FolderEntry> shown;
    if (attributesListed) {
      std::copy_if(entries.begin(), entries.end(), std::back_inserter(shown),
                   [](const FolderEntry& entry) { return entry.attributes != kWritableHiddenFile; });
    }
    AppendUsableFiles(WithoutTrailingSlash(folder),
                      ReadableMatchingNames(listing, attributesListed ? shown : entries, matcher_), 0, files,
                      attributesListed);
    count_ += files.size();
    observer().foundFiles(count_);
  }

 private:
  struct FolderFiles {
    Text folder;
    std::vector<Text> files;
  };

  // Matching files whose names are not valid UTF-8 or hold control characters
  // (a line break, an escape sequence for the terminal) cannot be taken.
  void tellUnusableNames(const Text& folder, const std::vector<FolderEntry>& entries) {
    for (const FolderEntry& entry : entries) {
      if (entry.kind == EntryKind::Folder || IsUsableListedName(entry.name)) continue;
      Text name = FromUtf8(entry.name);
      if (matcher_.matches(name)) observer().leftOut(folder + name, LeftOut::UnusableName);
    }
  }

  const Text pattern_;
  const FilePattern matcher_;
  std::deque<FolderFiles> listed_;
  std::size_t count_ = 0;
};

}  // namespace

std::vector<Text> ListMatchingFiles(TextView folder, TextView extension, ScanObserver& observer) {
  Text start(folder);
  if constexpr (kNativePathStyle == PathStyle::Windows) {
    // "/" typed by a user is a separator there too.
    for (char16_t& unit : start) {
      if (unit == u'/') unit = Separator();
    }
  }
  std::vector<Text> folders{start + Separator()};
  MatchingFileScan scan(observer, u"*." + Text(extension));
  scan.run(folders, true);
  std::vector<Text> files;
  for (const Text& entry : folders) {
    std::vector<Text> folderFiles = scan.takeFiles(entry);
    files.insert(files.end(), std::make_move_iterator(folderFiles.begin()),
                 std::make_move_iterator(folderFiles.end()));
  }
  observer.foundFiles(files.size());
  return files;
}

}  // namespace brevant
