#include "support/files_in_folder.h"

#include <string>

#include "support/file_access.h"
#include "support/file_pattern.h"
#include "support/name_order.h"
#include "support/native_path.h"
#include "support/open_folder.h"
#include "support/utf8.h"

namespace brevant {

std::vector<Text> GetFilesInFolder(TextView folder, TextView pattern) {
  Text folderPath(folder);
  if (folderPath.empty() || folderPath.back() != u'/') folderPath += u'/';
  std::vector<Text> names;
  std::string bytes;
  std::vector<FolderEntry> entries;
  if (ToNativePath(folderPath, bytes)) {
    OpenFolder listing(bytes, OpenFolder::Links::Follow);
    // A listing that breaks off still gives the names read until then.
    listing.readEntries(entries);
    const FilePattern matcher(pattern);
    for (const FolderEntry& entry : entries) {
      if (entry.type == DT_DIR || !IsValidUtf8(entry.name)) continue;
      Text name = FromUtf8(entry.name);
      if (!matcher.matches(name) || !FileIsAccessibleAt(listing.descriptor(), entry.name.c_str())) continue;
      names.push_back(std::move(name));
    }
  }
  SortAsListed(names);
  names.insert(names.begin(), Text());
  return names;
}

}  // namespace brevant
