#pragma once

#include <ostream>
#include <string>

#include "cli/progress_line.h"
#include "support/messages/error_report.h"
#include "support/folders/scan_observer.h"

namespace brevant {

inline constexpr char kProgramName[] = "brevant-convert";

// One line for an error report: the program's name, the file it concerns, what
// failed, and the procedure's tag and statement number in brackets, e.g.
// "brevant-convert: /out/b.htm: Disk full (in Tarnwick2021/08/31.modVCF.Con...
// at line 546)". File names and descriptions are made safe for the terminal.
std::string ErrorLine(const ErrorReport& report);

// One line for a folder or file that a folder scan had to leave out.
std::string LeftOutLine(TextView path, LeftOut reason);

// The warning for an input that holds no BEGIN:VCARD line at all.
std::string NotVcardLine(TextView path);

// Prints a line on err; the progress line steps aside for it and comes back below.
void PrintLine(const std::string& line, ProgressLine& progress, std::ostream& err);

}  // namespace brevant
