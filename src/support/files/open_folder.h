#pragma once

#include <string>
#include <vector>

#include "support/files/file_helpers.h"
#include "support/files/native_path.h"
#include "support/text/text.h"

namespace brevant {

// What a listing tells of an entry without a further look.
enum class EntryKind { Unknown, Folder, File, Link, Other };

// One entry of a folder listing; the name as UTF-8 bytes (on Linux the bytes
// on disk, whatever their encoding).
struct FolderEntry {
  std::string name;
  EntryKind kind;
  int attributes = -1;  // its attribute value (see FileAttributeValue) where the listing tells it
};

// A folder opened for listing, closed when the object goes. It reads the
// system's entry records directly, in large blocks: a scan lists every folder of
// a tree, and each call saved there counts.
class OpenFolder {
 public:
  enum class Links { Follow, Refuse };

  // Links::Refuse fails (ELOOP) when the path's last part is a symbolic link
  // (on Windows any reparse point).
  OpenFolder(const NativePath& path, Links links);
  ~OpenFolder();
  OpenFolder(const OpenFolder&) = delete;
  OpenFolder& operator=(const OpenFolder&) = delete;

  bool isOpen() const;
  int openError() const { return openError_; }  // errno of a failed open

  // Which folder it is (two paths to one folder give the same identity) and its
  // attribute value (see FileAttributeValue) as `path`, the folder's own path
  // text, names it. False when the folder cannot be examined.
  bool describe(TextView path, FileIdentity& identity, int& attributes) const;

  // Every entry but "." and "..", in the file system's order. False when the
  // listing broke off; the entries read until then are kept.
  bool readEntries(std::vector<FolderEntry>& entries);

  // A real sub-folder: a folder that is not reached through a symbolic link.
  bool isSubFolder(const FolderEntry& entry) const;

  // True when the entry is a regular file (links followed) that opens for
  // reading; see FileIsAccessible. Never blocks.
  bool fileIsAccessible(const FolderEntry& entry) const;

 private:
#ifdef _WIN32
  void* handle_;
  NativePath path_;
#else
  int descriptor_ = -1;
#endif
  int openError_ = 0;
};

}  // namespace brevant
