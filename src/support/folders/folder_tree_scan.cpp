#include "support/folders/folder_tree_scan.h"

#include <cerrno>
#include <new>
#include <string>
#include <utility>

#include "support/files/file_attributes.h"
#include "support/files/file_helpers.h"
#include "support/files/native_path.h"
#include "support/files/path_helpers.h"
#include "support/folders/name_order.h"
#include "support/folders/unsafe_names.h"
#include "support/messages/error_report.h"
#include "support/messages/error_tags.h"
#include "support/text/utf8.h"

namespace brevant {

namespace {

// The platform's limits: a longer folder path cannot be opened, a longer name
// cannot exist. Windows takes paths in their long form (see ToNativePath) up to
// 32,767 characters, as far as a path named by the user reaches; a name it
// lists is one it can reach.
constexpr bool kWindows = kNativePathStyle == PathStyle::Windows;
constexpr std::size_t kFolderPathLimit = kWindows ? 32767 : 4096;
constexpr std::size_t kNameLimit = kWindows ? std::string::npos : 256;

// Hidden system folders (with or without the reparse point) are left out.
constexpr int kHiddenSystemFolder = kAttributeDirectory | kAttributeSystem | kAttributeHidden;
constexpr int kHiddenSystemLink = kHiddenSystemFolder | kAttributeReparsePoint;

// Statement numbers an error report names.
constexpr int kYieldPerFolder = 110;
constexpr int kEnterTest = 112;
constexpr int kYieldPerSubFolder = 116;
constexpr int kTakeSubFolder = 120;
constexpr int kAppendToList = 134;

bool IsHiddenSystemFolder(int attributes) {
  return attributes == kHiddenSystemFolder || attributes == kHiddenSystemLink;
}

// "/" on Linux; a drive's root ("C:\\") or separators alone on Windows.
bool IsRootFolder(TextView folder) {
  if (kNativePathStyle == PathStyle::Windows && folder.size() >= 2 && folder[1] == u':')
    folder.remove_prefix(2);
  return !folder.empty() && folder.find_first_not_of(Separator()) == TextView::npos;
}

// Access denied and path not found: the folder cannot be read, so it leaves
// the list and none of its files are taken.
bool CannotBeRead(int error) {
  return error == EACCES || error == EPERM || error == ENOENT || error == ENOTDIR || error == ELOOP;
}

}  // namespace

void FolderTreeScan::run(std::vector<Text>& folders, bool recurse) {
  found_ = folders.size();
  // The caller's entries are scanned in place; one that is not entered (missing,
  // too long, a hidden system folder) stays, one that cannot be read leaves.
  std::vector<Text> level;
  std::vector<Text> kept;
  for (Text& folder : folders) {
    if (mayEnter(folder) && scan(folder, Level::Start, level) == Outcome::Remove) continue;
    kept.push_back(std::move(folder));
  }
  folders = std::move(kept);
  // Deeper levels one after the other, in a loop: a deep tree must not deepen the stack.
  while (!level.empty()) {
    std::vector<Text> deeper;
    for (Text& folder : level) {
      const bool take = recurse ? scan(folder, Level::Deeper, deeper) == Outcome::Keep : mayEnter(folder);
      if (take) append(folders, std::move(folder));
    }
    level = std::move(deeper);
  }
}

// Runs one statement; a failure is reported and the scan goes on after it.
template <typename Statement>
void FolderTreeScan::step(int number, const Text& folder, Statement&& statement) {
  Text description;
  try {
    statement();
    return;
  } catch (const std::bad_alloc&) {
    description = u"Out of memory";
  } catch (const std::exception& failure) {
    description = FromUtf8(failure.what());
  }
  const ProcedureTag tag = TagOf(Procedure::FolderTreeScan);
  observer_.reportError({std::move(description), tag.tag, number, tag.supportSentence, folder});
}

// The folder exists and is not a hidden system folder (a root always passes).
bool FolderTreeScan::mayEnter(const Text& folder) {
  if (!FolderExists(folder)) return false;
  bool enter = true;
  step(kEnterTest, folder,
       [&] { enter = IsRootFolder(folder) || !IsHiddenSystemFolder(FileAttributeValue(folder)); });
  return enter;
}

// The same test for a folder that is open and is no link, from its attributes.
bool FolderTreeScan::mayEnter(const Text& folder, int attributes) {
  bool enter = true;
  step(kEnterTest, folder, [&] { enter = IsRootFolder(folder) || !IsHiddenSystemFolder(attributes); });
  return enter;
}

// Appends the folder's sub-folders to `found`. Remove when the folder cannot be
// read or was listed before. A deeper folder is also removed when the caller's
// test of a start folder (mayEnter) would fail: it is found missing or too long,
// or it is a hidden system folder; that test comes from the open folder itself,
// which saves looking the path up twice more for every folder of the tree.
FolderTreeScan::Outcome FolderTreeScan::scan(const Text& folder, Level level, std::vector<Text>& found) {
  const bool start = level == Level::Start;
  NativePath path;
  if (!ToNativePath(folder, path) || path.size() >= kFolderPathLimit) {
    observer_.leftOut(folder, LeftOut::PathTooLong);
    return start ? Outcome::Keep : Outcome::Remove;
  }
  step(kYieldPerFolder, folder, [&] { observer_.yield(); });
  std::vector<Text> names;
  try {
    OpenFolder listing(path, start ? OpenFolder::Links::Follow : OpenFolder::Links::Refuse);
    FileIdentity identity;
    int attributes = 0;
    if (!listing.isOpen() || !listing.describe(folder, identity, attributes)) {
      if (CannotBeRead(listing.openError())) {
        if (listing.openError() == EACCES || listing.openError() == EPERM) {
          observer_.leftOut(folder, LeftOut::CannotOpen);
        }
        return Outcome::Remove;
      }
      // Listing failed otherwise (too many open files, ...): the folder stays
      // without sub-folders.
      return start || mayEnter(folder) ? Outcome::Keep : Outcome::Remove;
    }
    if (!start && !mayEnter(folder, attributes)) return Outcome::Remove;
    if (!seen_.insert(identity).second) return Outcome::Remove;
    std::vector<FolderEntry> entries;
    listing.readEntries(entries);  // a listing that breaks off keeps what it read
    names = subFolderNames(folder, listing, entries);
    listed(folder, listing, entries);
  } catch (const std::exception&) {
    // Any other failure of the listing ends it quietly; the folder stays.
  }
  SortAsListed(names);
  for (const Text& name : names) {
    step(kTakeSubFolder, folder, [&] { found.push_back(folder + name + Separator()); });
  }
  found_ += names.size();
  observer_.foundFolders(found_);
  return Outcome::Keep;
}

std::vector<Text> FolderTreeScan::subFolderNames(const Text& folder, const OpenFolder& listing,
                                                 const std::vector<FolderEntry>& entries) {
  std::vector<Text> names;
  for (const FolderEntry& entry : entries) {
    if (!listing.isSubFolder(entry)) continue;
    step(kYieldPerSubFolder, folder, [&] { observer_.yield(); });
    Text name = FromUtf8(entry.name);
    if (entry.name.size() >= kNameLimit) {
      observer_.leftOut(folder + name, LeftOut::PathTooLong);
    } else if (HasUnsafeCharacters(name)) {
      observer_.leftOut(folder + name, LeftOut::UnusableName);
    } else {
      names.push_back(std::move(name));
    }
  }
  return names;
}

void FolderTreeScan::append(std::vector<Text>& folders, Text&& folder) {
  step(kAppendToList, folder, [&] { folders.push_back(std::move(folder)); });
}

}  // namespace brevant
