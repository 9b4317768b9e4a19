#pragma once

#ifndef _WIN32
#include <sys/types.h>
#endif

#include <filesystem>
#include <string>
#include <vector>

namespace brevant::test {

// How the built brevant-convert ended and what it printed. The status is as a
// shell reports it: the exit status, or 128 + the number of the ending signal.
struct ToolRun {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs brevant-convert with the arguments in the working folder; `shellPrefix`,
// when given, is shell text run first in the same process (e.g. "ulimit -f 64";
// POSIX only). Its standard input is empty.
ToolRun RunTool(const std::filesystem::path& workingFolder, const std::vector<std::string>& args,
                const std::string& shellPrefix = "");

#ifndef _WIN32
// Starts brevant-convert without waiting; its output goes to the two files.
pid_t StartTool(const std::filesystem::path& workingFolder, const std::vector<std::string>& args,
                const std::filesystem::path& outFile, const std::filesystem::path& errFile);

// Waits for a started tool; gives its status as a shell reports it.
int WaitForTool(pid_t tool);
#endif

}  // namespace brevant::test
