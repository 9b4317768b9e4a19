#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace brevant::bench {

// A piece of work to measure. It gives a count of failures it met (error boxes,
// missing outputs); a thrown exception marks the run as broken.
using Work = std::function<std::int64_t()>;

// One run of the work in a forked child, so that its peak memory is its own and
// nothing it allocates stays behind in the benchmark process.
struct RunFigures {
  bool completed = false;     // the work returned normally
  double seconds = 0;         // wall time of the work alone, taken in the child
  double cpuSeconds = 0;      // user + system time of the whole child; holds up on a busy machine
  double peakMegabytes = 0;   // the child's peak resident set (10^6 bytes)
  std::int64_t failures = 0;  // what the work reported
  std::string problem;        // why it did not complete
};

RunFigures RunInChild(const Work& work);

// The best of several runs. Stops repeating once a run took longer than
// stopAfterSeconds, so that a slow case cannot hold the whole benchmark.
struct Measurement {
  int runs = 0;
  bool completed = false;     // every run completed
  double bestSeconds = 0;     // the shortest completed run
  double bestCpuSeconds = 0;  // the least CPU time of a completed run
  double peakMegabytes = 0;   // the highest of all runs
  std::int64_t failures = 0;  // the most any run reported
  std::string problem;        // of the first run that broke
};

// beforeEach runs in this process before every run, outside the timing (for
// example to empty an output folder).
Measurement MeasureBest(int runs, double stopAfterSeconds, const Work& work,
                        const std::function<void()>& beforeEach = {});

}  // namespace brevant::bench
