#include "support/folders/files_in_folder.h"

#include <string>

#include "support/files/native_path.h"
#include "support/files/path_helpers.h"
#include "support/folders/name_order.h"
#include "support/folders/unsafe_names.h"
#include "support/text/utf8.h"

namespace brevant {

std::vector<Text> ReadableMatchingNames(const OpenFolder& listing, const std::vector<FolderEntry>& entries,
                                        const FilePattern& pattern) {
  std::vector<Text> names;
  for (const FolderEntry& entry : entries) {
    if (entry.kind == EntryKind::Folder || !IsUsableListedName(entry.name)) continue;
    Text name = FromUtf8(entry.name);
    if (!pattern.matches(name) || !listing.fileIsAccessible(entry)) continue;
    names.push_back(std::move(name));
  }
  SortAsListed(names);
  return names;
}

std::vector<Text> GetFilesInFolder(TextView folder, TextView pattern) {
  Text folderPath(folder);
  if (folderPath.empty() || folderPath.back() != Separator()) folderPath += Separator();
  std::vector<Text> names;
  NativePath native;
  if (ToNativePath(folderPath, native)) {
    OpenFolder listing(native, OpenFolder::Links::Follow);
    std::vector<FolderEntry> entries;
    listing.readEntries(entries);  // a listing that breaks off still gives what it read
    names = ReadableMatchingNames(listing, entries, FilePattern(pattern));
  }
  names.insert(names.begin(), Text());
  return names;
}

}  // namespace brevant
