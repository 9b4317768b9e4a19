#include "cli/error_output.h"

#include "cli/terminal_text.h"

namespace brevant {

std::string ErrorLine(const ErrorReport& report) {
  std::string line = std::string(kProgramName) + ": ";
  if (!report.file.empty()) line += TerminalLine(report.file) + ": ";
  line += TerminalLine(report.description);
  line += " (" + TerminalLine(report.tag) + "at line " + std::to_string(report.statement) + ")";
  return line;
}

std::string LeftOutLine(TextView path, LeftOut reason) {
  std::string why;
  switch (reason) {
    case LeftOut::CannotOpen:
      why = "cannot open the folder";
      break;
    case LeftOut::UnusableName:
      why = "name is not valid UTF-8 or holds control characters";
      break;
    case LeftOut::PathTooLong:
      why = "path or name too long";
      break;
  }
  return std::string(kProgramName) + ": warning: " + TerminalLine(path) + ": " + why + "; left out";
}

std::string NotVcardLine(TextView path) {
  return std::string(kProgramName) + ": warning: " + TerminalLine(path) +
         ": not a vCard file (it holds no BEGIN:VCARD line)";
}

void PrintLine(const std::string& line, ProgressLine& progress, std::ostream& err) {
  progress.clear();
  err << (line + "\n") << std::flush;
  progress.redraw();
}

}  // namespace brevant
