#pragma once

#include <optional>
#include <vector>

#include "form/command_line.h"
#include "support/text/text.h"

namespace brevant {

// The arguments after the program name, as the system splits its command line.
std::vector<Text> ProgramArguments();

// The working folder, without a trailing "\" (but "C:\" for a drive's root).
Text WorkingFolder();

// Answers --help, --version and a usage error: on the console or the stream
// the program was started with, or in a message box when it has neither.
// Gives the exit status; nothing when the window is to open.
std::optional<int> AnswerWithoutWindow(const WindowCommandLine& commandLine);

}  // namespace brevant
