// Measures how the per-file run names the documents of inputs that share one
// name ("contacts.htm", "contacts (2).htm", ...): the cost per input for runs of
// 1,000, 10,000 and 100,000 such inputs. Finding the next free number must not
// grow with the inputs before it: the goal is a cost per input at the largest
// run within twice that at the smallest. A run that takes longer than a minute
// is stopped there, and the measuring with it. No file is
// written: the names are those of a folder that does not exist. It always
// exits with 0.
//
//   brevant_naming_bench [--dir DIR] [--small]

#include <chrono>
#include <cstdio>
#include <vector>

#include "engine/convert/per_input_run.h"
#include "support/bench_options.h"
#include "support/table_printer.h"
#include "support/text/utf8.h"
#include "support/work_folder.h"

namespace brevant::bench {
namespace {

constexpr double kLongestRunSeconds = 60;

struct Naming {
  std::size_t named = 0;
  double seconds = 0;
};

// Names `inputs` documents of one name, as the run does it, for at most kLongestRunSeconds.
Naming NameDocuments(const Text& path, std::size_t inputs) {
  const auto start = std::chrono::steady_clock::now();
  const auto seconds = [&start] {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  };
  PerInputRun run({});
  Naming naming;
  for (; naming.named < inputs; ++naming.named) {
    TargetLook look = LookAtTarget(path);
    const Text named = run.unwrittenPath(path, look);
    run.wrote(named, 0);
    if (naming.named % 256 == 0 && seconds() > kLongestRunSeconds) break;
  }
  naming.seconds = seconds();
  return naming;
}

int Run(const BenchOptions& options) {
  const WorkFolder work(options.folder);
  const Text path = FromUtf8(work / "no-such-folder/contacts.htm");
  const std::vector<std::size_t> sizes = options.small ? std::vector<std::size_t>{100, 1'000, 10'000}
                                                       : std::vector<std::size_t>{1'000, 10'000, 100'000};

  std::printf("%18s %10s %13s %18s\n", "inputs of one name", "seconds", "us per input", "against the first");
  double firstPerInput = 0;
  double lastRatio = 0;
  bool complete = true;
  for (const std::size_t inputs : sizes) {
    const Naming naming = NameDocuments(path, inputs);
    const double perInput = naming.seconds / static_cast<double>(naming.named) * 1e6;
    if (firstPerInput == 0) firstPerInput = perInput;
    lastRatio = perInput / firstPerInput;
    std::printf("%18zu %10s %13s %18s", inputs, Fixed(naming.seconds, 3).c_str(), Fixed(perInput, 2).c_str(),
                Fixed(lastRatio, 2).c_str());
    if (naming.named < inputs) {
      std::printf("  (stopped after %zu inputs)\n", naming.named);
      complete = false;
      break;
    }
    std::printf("\n");
    std::fflush(stdout);
  }
  std::printf("\nGoal: the cost per input at %zu inputs within 2x that at %zu: %s\n", sizes.back(),
              sizes.front(), complete && lastRatio <= 2 ? "PASS" : "MISS");
  return 0;
}

}  // namespace
}  // namespace brevant::bench

int main(int argc, char** argv) { return brevant::bench::RunBench(argc, argv, brevant::bench::Run); }
