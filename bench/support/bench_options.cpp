#include "support/bench_options.h"

#include <cstdio>
#include <cstring>
#include <exception>

namespace brevant::bench {

bool ParseBenchOptions(int argc, char** argv, BenchOptions& options) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--small") == 0) {
      options.small = true;
    } else if (std::strcmp(argv[i], "--dir") == 0 && i + 1 < argc) {
      options.folder = argv[++i];
    } else {
      std::fprintf(stderr, "usage: %s [--dir DIR] [--small]\n", argv[0]);
      return false;
    }
  }
  return true;
}

int RunBench(int argc, char** argv, int (*run)(const BenchOptions&)) {
  BenchOptions options;
  if (!ParseBenchOptions(argc, argv, options)) return 2;
  try {
    return run(options);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "benchmark failed: %s\n", error.what());
    return 1;
  }
}

}  // namespace brevant::bench
