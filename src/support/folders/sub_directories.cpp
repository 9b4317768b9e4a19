#include "support/folders/sub_directories.h"

#include "support/folders/folder_tree_scan.h"

namespace brevant {

void GetSubDirectories2016(std::vector<Text>& folders, bool recurse, ScanObserver& observer) {
  FolderTreeScan(observer).run(folders, recurse);
}

}  // namespace brevant
