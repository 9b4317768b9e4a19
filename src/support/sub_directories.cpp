#include "support/sub_directories.h"

#include <cerrno>
#include <new>
#include <set>
#include <string>
#include <utility>

#include "support/error_report.h"
#include "support/file_attributes.h"
#include "support/file_helpers.h"
#include "support/name_order.h"
#include "support/native_path.h"
#include "support/open_folder.h"
#include "support/unsafe_names.h"
#include "support/utf8.h"

namespace brevant {

namespace {

// The platform's limits: a longer folder path cannot be opened, a longer name
// cannot exist.
constexpr std::size_t kFolderPathLimit = 4096;
constexpr std::size_t kNameLimit = 256;

// Hidden system folders (with or without the reparse point) are left out.
constexpr int kHiddenSystemFolder = kAttributeDirectory | kAttributeSystem | kAttributeHidden;
constexpr int kHiddenSystemLink = kHiddenSystemFolder | kAttributeReparsePoint;

// Statement numbers an error report names.
constexpr int kYieldPerFolder = 110;
constexpr int kEnterTest = 112;
constexpr int kYieldPerSubFolder = 116;
constexpr int kTakeSubFolder = 120;
constexpr int kAppendToList = 134;

enum class Outcome { Keep, Remove };

bool IsRootFolder(TextView folder) { return !folder.empty() && folder.find_first_not_of(u'/') == TextView::npos; }

// Access denied and path not found: the folder cannot be read, so it leaves
// the list and none of its files are taken.
bool CannotBeRead(int error) {
  return error == EACCES || error == EPERM || error == ENOENT || error == ENOTDIR || error == ELOOP;
}

class SubDirectoryScan {
 public:
  SubDirectoryScan(ScanObserver& observer, std::size_t startCount) : observer_(observer), found_(startCount) {}

  // Runs one statement; a failure is reported and the scan goes on after it.
  template <typename Statement>
  void run(int number, Statement&& statement) {
    try {
      statement();
    } catch (const std::bad_alloc&) {
      report(number, u"Out of memory");
    } catch (const std::exception& failure) {
      report(number, FromUtf8(failure.what()));
    }
  }

  // The folder exists and is not a hidden system folder (a root always passes).
  bool mayEnter(const Text& folder) {
    if (!FolderExists(folder)) return false;
    bool enter = true;
    run(kEnterTest, [&] {
      const int attributes = FileAttributeValue(folder);
      enter = IsRootFolder(folder) || (attributes != kHiddenSystemFolder && attributes != kHiddenSystemLink);
    });
    return enter;
  }

  // Appends the folder's sub-folders to `found`. Remove when the folder cannot be
  // read or was seen before.
  Outcome scan(const Text& folder, OpenFolder::Links links, std::vector<Text>& found) {
    std::string path;
    if (!ToNativePath(folder, path) || path.size() >= kFolderPathLimit) return Outcome::Keep;
    run(kYieldPerFolder, [&] { observer_.yield(); });
    std::vector<Text> names;
    try {
      OpenFolder listing(path, links);
      if (!listing.isOpen()) return CannotBeRead(listing.openError()) ? Outcome::Remove : Outcome::Keep;
      if (!seen_.insert({listing.device(), listing.inode()}).second) return Outcome::Remove;
      names = subFolderNames(listing);
    } catch (const std::exception&) {
      // Any other failure of the listing ends it quietly; the folder stays.
    }
    SortAsListed(names);
    for (const Text& name : names) {
      run(kTakeSubFolder, [&] { found.push_back(folder + name + u'/'); });
    }
    found_ += names.size();
    observer_.foundFolders(found_);
    return Outcome::Keep;
  }

  void append(std::vector<Text>& folders, Text&& folder) {
    run(kAppendToList, [&] { folders.push_back(std::move(folder)); });
  }

 private:
  std::vector<Text> subFolderNames(OpenFolder& listing) {
    std::vector<FolderEntry> entries;
    listing.readEntries(entries);  // a listing that breaks off keeps what it read
    std::vector<Text> names;
    for (const FolderEntry& entry : entries) {
      if (!listing.isSubFolder(entry)) continue;
      run(kYieldPerSubFolder, [&] { observer_.yield(); });
      if (entry.name.size() >= kNameLimit) continue;
      Text name = FromUtf8(entry.name);
      if (!HasUnsafeCharacters(name)) names.push_back(std::move(name));
    }
    return names;
  }

  void report(int statement, Text description) {
    observer_.reportError({std::move(description),
                           ProcedureTag(u"DorrinTitle", u"AddFolder", u"GetSubDirectories2016"), statement, true});
  }

  ScanObserver& observer_;
  std::size_t found_;
  std::set<std::pair<dev_t, ino_t>> seen_;
};

}  // namespace

void GetSubDirectories2016(std::vector<Text>& folders, bool recurse, ScanObserver& observer) {
  SubDirectoryScan scan(observer, folders.size());
  // The caller's entries are scanned in place; one that is not entered (missing,
  // too long, a hidden system folder) stays, one that cannot be read leaves.
  std::vector<Text> level;
  std::vector<Text> kept;
  for (Text& folder : folders) {
    if (scan.mayEnter(folder) && scan.scan(folder, OpenFolder::Links::Follow, level) == Outcome::Remove) continue;
    kept.push_back(std::move(folder));
  }
  folders = std::move(kept);
  // Deeper levels one after the other, in a loop: a deep tree must not deepen the stack.
  while (!level.empty()) {
    std::vector<Text> deeper;
    for (Text& folder : level) {
      if (!scan.mayEnter(folder)) continue;
      if (recurse && scan.scan(folder, OpenFolder::Links::Refuse, deeper) == Outcome::Remove) continue;
      scan.append(folders, std::move(folder));
    }
    level = std::move(deeper);
  }
}

}  // namespace brevant
