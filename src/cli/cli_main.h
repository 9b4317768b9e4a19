#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

namespace brevant {

// Exit statuses of brevant-convert.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitErrorsReported = 1;  // the run went through, with error reports
inline constexpr int kExitRefused = 2;         // usage error, or the run was refused

// The whole tool: parses the arguments (those after the program name), converts
// and gives the exit status. Progress is shown on err only when it is a terminal
// (terminalColumns wide, 0 when unknown) and quiet was not asked for.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, bool stderrIsTerminal,
           std::size_t terminalColumns = 0);

}  // namespace brevant
