// Measures the folder scan that collects every vCard of a tree against find(1)
// walking the same tree, and prints both. The goal is a scan within twice the
// time of find. It always exits with 0: it measures, the reader judges.
//
//   brevant_scan_bench [--dir DIR] [--small]
//
// --dir keeps the generated tree in DIR and uses it again on the next run;
// --small makes the tree ten times smaller for a quick look.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/bench_options.h"
#include "support/corpus_files.h"
#include "support/folders/matching_files.h"
#include "support/text/utf8.h"
#include "support/work_folder.h"

namespace brevant::bench {
namespace {

constexpr int kRuns = 3;

struct TreeShape {
  std::size_t folders;
  std::size_t filesPerFolder;  // one of them is a ".txt" that neither side counts
};

// A tree of mixed depth: every folder hangs below one picked at random among
// those made before it, so most branches are shallow and a few run deep. Names
// mix letter case in the extension; one file a folder does not match.
class TreeGenerator {
 public:
  explicit TreeGenerator(std::uint64_t seed) : state_(seed) {}

  // Gives the deepest level made.
  int make(const std::string& root, const TreeShape& shape) {
    std::vector<std::string> paths{root};
    std::vector<int> depths{0};
    for (std::size_t i = 0; i < shape.folders; ++i) {
      const std::size_t parent = below(paths.size());
      char name[32];
      std::snprintf(name, sizeof(name), "/Folder %05zu", i);
      paths.push_back(paths[parent] + name);
      depths.push_back(depths[parent] + 1);
      if (mkdir(paths.back().c_str(), 0755) != 0) throw std::runtime_error("cannot create " + paths.back());
      for (std::size_t f = 0; f < shape.filesPerFolder; ++f)
        writeFile(paths.back(), f + 1 == shape.filesPerFolder, f);
    }
    return *std::max_element(depths.begin(), depths.end());
  }

 private:
  void writeFile(const std::string& folder, bool other, std::size_t number) {
    static const char* const kExtensions[] = {"vcf", "vcf", "vcf", "VCF", "Vcf"};
    char name[64];
    if (other) {
      std::snprintf(name, sizeof(name), "/notes.txt");
    } else {
      std::snprintf(name, sizeof(name), "/contact %zu.%s", number, kExtensions[below(5)]);
    }
    const std::string path = folder + name;
    const int descriptor = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    static const char kContact[] = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Someone\r\nEND:VCARD\r\n";
    const bool written = descriptor >= 0 && write(descriptor, kContact, sizeof(kContact) - 1) > 0;
    if (descriptor >= 0) close(descriptor);
    if (!written) throw std::runtime_error("cannot write " + path);
  }

  std::size_t below(std::size_t bound) {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<std::size_t>((state_ >> 33) % bound);
  }

  std::uint64_t state_;
};

struct Timing {
  double bestSeconds = 1e300;
  std::size_t count = 0;
};

template <typename Work>
void TimeOnce(Timing& timing, Work&& work) {
  const auto start = std::chrono::steady_clock::now();
  timing.count = work();
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  timing.bestSeconds = std::min(timing.bestSeconds, elapsed.count());
}

std::size_t ScanWithBrevant(const std::string& root) {
  ScanObserver quiet;
  return ListMatchingFiles(FromUtf8(root), u"vcf", quiet).size();
}

std::size_t ScanWithFind(const std::string& root) {
  const std::string command = "find '" + root + "' -type f -iname '*.vcf'";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) throw std::runtime_error("cannot run find");
  std::size_t lines = 0;
  char buffer[1 << 16];
  for (std::size_t got; (got = std::fread(buffer, 1, sizeof(buffer), pipe)) > 0;) {
    lines += static_cast<std::size_t>(std::count(buffer, buffer + got, '\n'));
  }
  pclose(pipe);
  return lines;
}

int Run(const BenchOptions& options) {
  const TreeShape shape{options.small ? 1000u : 10000u, 10};
  WorkFolder work(options.folder);
  const std::string root = work / "tree";
  const std::string description = "scan tree: " + std::to_string(shape.folders) + " folders, " +
                                  std::to_string(shape.filesPerFolder) + " files each";
  if (!CorpusIsReady(work.path(), description)) {
    std::printf("Making %zu folders with %zu files each in %s ...\n", shape.folders, shape.filesPerFolder,
                root.c_str());
    std::fflush(stdout);
    std::filesystem::remove_all(root);
    if (mkdir(root.c_str(), 0755) != 0) throw std::runtime_error("cannot create " + root);
    const int depth = TreeGenerator(20210831).make(root, shape);
    std::printf("Deepest folder: %d levels below the root.\n", depth);
    MarkCorpusReady(work.path(), description);
  }

  Timing brevant;
  Timing find;
  for (int run = 0; run < kRuns; ++run) {
    TimeOnce(find, [&] { return ScanWithFind(root); });
    TimeOnce(brevant, [&] { return ScanWithBrevant(root); });
  }
  const double ratio = brevant.bestSeconds / find.bestSeconds;
  std::printf("\nTree: %zu folders, %zu files (%zu named *.vcf in any letter case)\n", shape.folders + 1,
              shape.folders * shape.filesPerFolder, shape.folders * (shape.filesPerFolder - 1));
  std::printf("%-34s %10s %12s\n", "Best of 3", "seconds", "files found");
  std::printf("%-34s %10.3f %12zu\n", "ListMatchingFiles(tree, \"vcf\")", brevant.bestSeconds, brevant.count);
  std::printf("%-34s %10.3f %12zu\n", "find -type f -iname '*.vcf'", find.bestSeconds, find.count);
  std::printf("Ratio scan / find: %.2f (goal: at most 2.00) %s\n", ratio, ratio <= 2.0 ? "met" : "NOT MET");
  std::printf("File counts %s\n", brevant.count == find.count ? "agree" : "DIFFER");
  return 0;
}

}  // namespace
}  // namespace brevant::bench

int main(int argc, char** argv) {
  brevant::bench::BenchOptions options;
  if (!brevant::bench::ParseBenchOptions(argc, argv, options)) return 0;
  try {
    return brevant::bench::Run(options);
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "scan benchmark: %s\n", failure.what());
    return 0;
  }
}
