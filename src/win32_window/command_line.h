#pragma once

#include <optional>
#include <vector>

#include "support/text.h"

namespace brevant {

// What brevant.exe's command line asks for.
struct WindowCommandLine {
  enum class Action { Open, ShowHelp, ShowVersion, UsageError };
  Action action = Action::Open;
  // Files and folders to add to the list as a drop of them would: full paths,
  // in the order given.
  std::vector<Text> paths;
  Text problem;  // what was wrong, for a usage error
};

// Reads the arguments after the program name. Relative paths are taken from
// the working folder (made full as the system makes them, "/" read as "\");
// "--" ends the options, so that a file may begin with "-".
WindowCommandLine ParseWindowCommandLine(const std::vector<Text>& args);

// The arguments after the program name, as the system splits its command line.
std::vector<Text> ProgramArguments();

// Answers --help, --version and a usage error: on the console or the stream
// the program was started with, or in a message box when it has neither.
// Gives the exit status; nothing when the window is to open.
std::optional<int> AnswerWithoutWindow(const WindowCommandLine& commandLine);

Text WindowHelpText();
Text WindowVersionText();

}  // namespace brevant
