#pragma once

#include <cstddef>

#include "support/error_report.h"

namespace brevant {

// What a folder scan tells the one who started it. The window yields to its
// event loop and shows progress; the command line ignores it all.
class ScanObserver {
 public:
  virtual ~ScanObserver() = default;

  // Called once per folder and once per sub-folder, so a window stays responsive.
  virtual void yield() {}
  // Folders taken into the folder list so far.
  virtual void foundFolders(std::size_t /*count*/) {}
  // Matching files taken so far.
  virtual void foundFiles(std::size_t /*count*/) {}
  // A failure the scan stepped over; the scan goes on with the next statement.
  virtual void reportError(const ErrorReport& /*report*/) {}
};

}  // namespace brevant
