#pragma once

#include <cstddef>
#include <ostream>
#include <vector>

#include "cli/progress_line.h"
#include "support/folders/scan_observer.h"
#include "support/text/text.h"

namespace brevant {

// A folder among the inputs stands, in its place, for the files of its tree
// whose extension matches ("*": every file), in the order the window's "add
// folder" takes them; anything else is taken as a file, as given. A folder
// without a match adds nothing.
std::vector<Text> ExpandFolderInputs(const std::vector<Text>& inputs, TextView extension,
                                     ScanObserver& observer);

// Shows a folder scan on the progress line ("Scanning: 12 folders, 340 files")
// and prints the scan's error reports.
class ScanProgress final : public ScanObserver {
 public:
  ScanProgress(ProgressLine& progress, std::ostream& err) : progress_(progress), err_(err) {}

  void foundFolders(std::size_t count) override;
  void foundFiles(std::size_t count) override;
  void reportError(const ErrorReport& report) override;
  void leftOut(TextView path, LeftOut reason) override;

  // Error reports and warnings about what was left out.
  int errorsReported() const { return errorsReported_; }

 private:
  void show();

  ProgressLine& progress_;
  std::ostream& err_;
  std::size_t folders_ = 0;
  std::size_t files_ = 0;
  int errorsReported_ = 0;
};

}  // namespace brevant
