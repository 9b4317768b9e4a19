#pragma once

#include <ostream>

#include "cli/progress_line.h"
#include "support/error_report.h"

namespace brevant {

// An error box on the terminal: "Application Error: " and the box text, on lines
// of its own; the progress line steps aside for it and comes back below.
void PrintErrorReport(const ErrorReport& report, ProgressLine& progress, std::ostream& err);

}  // namespace brevant
