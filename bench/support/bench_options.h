#pragma once

#include <string>

namespace brevant::bench {

// The command line every benchmark takes: --dir DIR keeps (and reuses) the
// generated data there, --small runs a quick, ten times smaller version.
struct BenchOptions {
  std::string folder;
  bool small = false;
};

// False (after printing the usage) when the arguments are not understood.
bool ParseBenchOptions(int argc, char** argv, BenchOptions& options);

// A benchmark's main: parses the options and runs the benchmark. Exit status 2
// for arguments not understood, 1 (after the message) when the run throws.
int RunBench(int argc, char** argv, int (*run)(const BenchOptions&));

}  // namespace brevant::bench
