#pragma once

#include <optional>
#include <ostream>
#include <vector>

#include "support/files/path_helpers.h"
#include "support/text/text.h"

namespace brevant {

// What the window's command line asks for. Read before any window is made, so
// that --help and --version work without a display.
struct WindowCommandLine {
  enum class Action { Open, ShowHelp, ShowVersion, UsageError };
  Action action = Action::Open;
  // Files and folders to add to the list as a drop of them would: absolute,
  // in the order given.
  std::vector<Text> paths;
  Text problem;  // what was wrong, for a usage error
};

// Reads the arguments after the program name. Relative paths are taken from
// the working folder, "." and ".." resolved in the text as the shell's cd
// resolves them ("..": above the root stays at the root); absolute paths stay
// as given. "--" ends the options, so that a file may begin with "-".
WindowCommandLine ParseWindowCommandLine(const std::vector<Text>& args, const Text& workingFolder,
                                         PathStyle style = kNativePathStyle);

// Answers --help, --version and a usage error on the terminal (UTF-8) and gives
// the exit status; gives nothing when the window is to open.
std::optional<int> AnswerOnTerminal(const WindowCommandLine& commandLine, std::ostream& out,
                                    std::ostream& err);

// The texts of --help and --version (help2man makes the manual page of them),
// and of a usage error.
Text WindowHelpText();
Text WindowVersionText();
Text WindowUsageError(const Text& problem);

}  // namespace brevant
