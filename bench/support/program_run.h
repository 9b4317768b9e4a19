#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace brevant::bench {

// Runs a program (searched in PATH when the name has no slash) with its
// standard output and error thrown away, and waits for it. Gives its exit
// status, or -1 when it could not be started or did not exit normally.
int RunProgram(const std::vector<std::string>& arguments);

// The folder this benchmark's own program lies in, so that the programs built
// beside it are found.
std::string OwnFolder();

// True when the program can be found in PATH.
bool ProgramFound(const std::string& name);

// System calls a program made, counted by `strace -f -c`: all of them, and per
// call name. Empty when strace is missing or the run failed.
struct CallCounts {
  bool counted = false;
  std::uint64_t total = 0;
  std::map<std::string, std::uint64_t> byName;
};
CallCounts CountSystemCalls(const std::vector<std::string>& arguments, const std::string& scratchFile);

}  // namespace brevant::bench
