#pragma once

#include <unordered_set>
#include <vector>

#include "support/files/open_folder.h"
#include "support/folders/scan_observer.h"
#include "support/text/text.h"

namespace brevant {

// The walk of GetSubDirectories2016 (see there for what it takes and leaves
// out). A subclass may look at every folder's entries while the folder is open,
// so that a scan for files lists each folder only once.
class FolderTreeScan {
 public:
  explicit FolderTreeScan(ScanObserver& observer) : observer_(observer) {}
  virtual ~FolderTreeScan() = default;
  FolderTreeScan(const FolderTreeScan&) = delete;
  FolderTreeScan& operator=(const FolderTreeScan&) = delete;

  void run(std::vector<Text>& folders, bool recurse);

 protected:
  // Called for every folder listed that stays in the list, in list order.
  virtual void listed(const Text& /*folder*/, const OpenFolder& /*listing*/,
                      const std::vector<FolderEntry>& /*entries*/) {}

  ScanObserver& observer() { return observer_; }

 private:
  enum class Outcome { Keep, Remove };
  struct IdentityHash {
    std::size_t operator()(const FileIdentity& id) const {
      return std::hash<unsigned long long>()(id.inode) ^ id.device;
    }
  };

  enum class Level { Start, Deeper };

  bool mayEnter(const Text& folder);
  bool mayEnter(const Text& folder, int attributes);
  Outcome scan(const Text& folder, Level level, std::vector<Text>& found);
  std::vector<Text> subFolderNames(const Text& folder, const OpenFolder& listing,
                                   const std::vector<FolderEntry>& entries);
  void append(std::vector<Text>& folders, Text&& folder);
  template <typename Statement>
  void step(int number, const Text& folder, Statement&& statement);

  ScanObserver& observer_;
  std::size_t found_ = 0;
  std::unordered_set<FileIdentity, IdentityHash> seen_;
};

}  // namespace brevant
