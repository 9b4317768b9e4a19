#pragma once

#include <dirent.h>
#include <sys/stat.h>

#include <memory>
#include <string>
#include <vector>

namespace brevant {

// One entry of a folder listing; the name as the bytes on disk.
struct FolderEntry {
  std::string name;
  unsigned char type;  // DT_DIR, DT_REG, DT_LNK, ... or DT_UNKNOWN
};

// A folder opened for listing, closed when the object goes. It reads the
// system's entry records directly, in large blocks: a scan lists every folder of
// a tree, and each call saved there counts.
class OpenFolder {
 public:
  enum class Links { Follow, Refuse };

  // Links::Refuse fails (ELOOP) when the path's last part is a symbolic link.
  OpenFolder(const std::string& path, Links links);
  ~OpenFolder();
  OpenFolder(const OpenFolder&) = delete;
  OpenFolder& operator=(const OpenFolder&) = delete;

  bool isOpen() const { return descriptor_ >= 0; }
  int openError() const { return openError_; }  // errno of a failed open
  int descriptor() const { return descriptor_; }

  // The open folder's status (device and inode tell two paths to one folder).
  bool status(struct stat& info) const;

  // Every entry but "." and "..", in the file system's order. False when the
  // listing broke off; the entries read until then are kept.
  bool readEntries(std::vector<FolderEntry>& entries);

  // A real sub-folder: a folder that is not reached through a symbolic link.
  bool isSubFolder(const FolderEntry& entry) const;

 private:
  int descriptor_ = -1;
  int openError_ = 0;
};

}  // namespace brevant
