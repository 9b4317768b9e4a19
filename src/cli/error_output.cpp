#include "cli/error_output.h"

#include "cli/terminal_text.h"

namespace brevant {

void PrintErrorReport(const ErrorReport& report, ProgressLine& progress, std::ostream& err) {
  progress.clear();
  err << ("Application Error: " + TerminalLines(report.boxText()) + "\n") << std::flush;
  progress.redraw();
}

}  // namespace brevant
