#pragma once

#include <cstddef>

#include "support/messages/error_report.h"
#include "support/text/text.h"

namespace brevant {

// Why a scan left a folder or file out without being told to.
enum class LeftOut {
  CannotOpen,    // a folder that may not be entered
  UnusableName,  // not valid UTF-8, or a control character in it
  PathTooLong,   // past the platform's length limits
};

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
  // A folder or file the scan had to leave out (with everything below it). Those
  // that the scan's rules leave out on purpose ("~" names, writable hidden
  // files, hidden system folders, links to folders) are not told.
  virtual void leftOut(TextView /*path*/, LeftOut /*reason*/) {}
};

}  // namespace brevant
