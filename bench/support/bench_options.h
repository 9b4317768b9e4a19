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

}  // namespace brevant::bench
