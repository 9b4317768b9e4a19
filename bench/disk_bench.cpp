// Puts brevant-convert next to the least the same work costs the system, side by
// side in one run: one large file against reading it once and writing a file of
// the document's size, ten thousand one-contact files against `cp -r`, and the
// system calls each document takes (counted by strace when it is installed).
// Every case runs once per round, rounds interleaved, so that a busy moment of
// the machine falls on all cases alike. It always exits with 0.
//
// A run of brevant-convert makes what it wrote durable (a file that replaces
// another is synced before it does, and the run ends with one sync of its file
// system); the floors that do the same are measured beside the plain ones.
//
//   brevant_disk_bench [--dir DIR] [--small]
//
// BREVANT_CONVERT=PATH measures another build of brevant-convert (an older one,
// say) instead of the one beside this program. BREVANT_CONVERT_BEFORE=PATH
// measures a second build in the same rounds, and prints what the first costs
// more or less than it (the cost of syncing, against a build that does not).

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "support/bench_options.h"
#include "support/child_measure.h"
#include "support/corpus_files.h"
#include "support/file_io.h"
#include "support/program_run.h"
#include "support/table_printer.h"
#include "support/work_folder.h"

namespace brevant::bench {
namespace {

constexpr int kRounds = 5;

struct Scale {
  const char* name;
  std::uint64_t largeFileBytes;
  std::size_t smallFiles;
};
constexpr Scale kFullScale{"full", 50'000'000, 10'000};
constexpr Scale kSmallScale{"small", 5'000'000, 1'000};

std::string Tool() {
  const char* chosen = std::getenv("BREVANT_CONVERT");
  return chosen != nullptr && *chosen != '\0' ? chosen : OwnFolder() + "/brevant-convert";
}

// The build to compare with, or "".
std::string ToolBefore() {
  const char* chosen = std::getenv("BREVANT_CONVERT_BEFORE");
  return chosen != nullptr ? chosen : "";
}

void SyncOrThrow(int fd, const std::string& path) {
  if (fdatasync(fd) != 0) throw std::runtime_error("cannot sync " + path);
}

// The file system of the folder, synced: what a run that ends durably does once.
void SyncFileSystem(const std::string& folder) {
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0 || syncfs(fd) != 0) throw std::runtime_error("cannot sync the file system of " + folder);
  close(fd);
}

// Removes what an earlier run left and lets the disk settle, outside the timing:
// removing ten thousand files leaves work that would otherwise land on the next case.
void Empty(const std::string& folder, bool create) {
  std::filesystem::remove_all(folder);
  if (create) std::filesystem::create_directories(folder);
  sync();
}

double SecondsOf(const std::function<int()>& work, bool& failed) {
  const auto start = std::chrono::steady_clock::now();
  if (work() != 0) failed = true;
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

struct Case {
  std::string name;
  std::function<void()> prepare;  // outside the timing
  std::function<int()> work;      // gives 0 when all went well
  std::vector<double> seconds{};
  bool failed = false;
  double best() const { return *std::min_element(seconds.begin(), seconds.end()); }
  double median() const {
    std::vector<double> sorted = seconds;
    std::sort(sorted.begin(), sorted.end());
    return sorted[sorted.size() / 2];
  }
};

// Reads the file whole and writes `bytes` bytes to a new file: the least any
// converter of this file into a document of that size must do. In a child of
// its own, as the tool runs in a process of its own.
// durable: the file is synced before it replaces the earlier one, as a durable
// writer must (and the folder after).
int ReadOnceWrite(const std::string& input, const std::string& output, std::uint64_t bytes, bool durable) {
  const RunFigures figures = RunInChild([&]() -> std::int64_t {
    std::string content = ReadFileBytes(input);
    content.resize(bytes, 'x');
    if (!durable) {
      WriteFileBytes(output, content);
      return 0;
    }
    const std::string pending = output + ".pending";
    WriteFileBytes(pending, content);
    const int fd = open(pending.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) throw std::runtime_error("cannot open " + pending);
    SyncOrThrow(fd, pending);
    close(fd);
    if (rename(pending.c_str(), output.c_str()) != 0) throw std::runtime_error("cannot rename " + pending);
    SyncFileSystem(output.substr(0, output.rfind('/')));
    return 0;
  });
  return figures.completed ? 0 : 1;
}

// Copies every file of `from` over its namesake in `to` durably: each copy is
// written beside it, synced and renamed over the earlier one, and the file
// system synced at the end. The least a copy that keeps every earlier file
// through a power cut costs.
int DurableCopyOver(const std::string& from, const std::string& to) {
  const RunFigures figures = RunInChild([&]() -> std::int64_t {
    for (const std::string& file : ListFiles(from, "")) {
      const std::string name = file.substr(file.rfind('/') + 1);
      const std::string pending = to + "/." + name + ".pending";
      const std::string content = ReadFileBytes(file);
      const int fd = open(pending.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
      if (fd < 0 || write(fd, content.data(), content.size()) != static_cast<ssize_t>(content.size()))
        throw std::runtime_error("cannot write " + pending);
      SyncOrThrow(fd, pending);
      close(fd);
      if (rename(pending.c_str(), (to + "/" + name).c_str()) != 0)
        throw std::runtime_error("cannot rename " + pending);
    }
    SyncFileSystem(to);
    return 0;
  });
  return figures.completed ? 0 : 1;
}

std::uint64_t FolderBytes(const std::string& folder, std::size_t& files) {
  std::uint64_t bytes = 0;
  files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    bytes += entry.file_size();
    ++files;
  }
  return bytes;
}

std::string Ms(double seconds) { return Fixed(seconds * 1000, 1); }

void PrintCounts(const char* what, const CallCounts& counts, double documents, const CallCounts* startUp) {
  if (!counts.counted) {
    std::printf("  %-44s (not counted)\n", what);
    return;
  }
  const double extra = startUp != nullptr ? static_cast<double>(startUp->total) : 0;
  std::printf("  %-44s %9llu calls, %5.1f per document", what, static_cast<unsigned long long>(counts.total),
              static_cast<double>(counts.total) / documents);
  if (startUp != nullptr && documents > 1) {
    std::printf(" (%.1f past start-up)", (static_cast<double>(counts.total) - extra) / (documents - 1));
  }
  std::printf("\n   ");
  std::vector<std::pair<std::uint64_t, std::string>> names;
  for (const auto& [name, calls] : counts.byName) names.push_back({calls, name});
  std::sort(names.rbegin(), names.rend());
  for (const auto& [calls, name] : names) {
    const double perDocument = static_cast<double>(calls) / documents;
    if (perDocument >= 0.05) std::printf(" %s %.1f", name.c_str(), perDocument);
  }
  std::printf("\n");
}

int Run(const BenchOptions& options) {
  const Scale& scale = options.small ? kSmallScale : kFullScale;
  const WorkFolder work(options.folder);
  const std::string tool = Tool();
  if (access(tool.c_str(), X_OK) != 0) {
    std::fprintf(stderr, "no brevant-convert at %s\n", tool.c_str());
    return 1;
  }
  const std::string large = work / "large.vcf";
  const std::string small = work / "one-contact";
  const std::string description = std::string("disk corpus 1, ") + scale.name + " scale\n";
  if (!CorpusIsReady(work.path(), description)) {
    std::printf("Generating the corpus in %s ...\n", work.path().c_str());
    WriteContactsFile(large, scale.largeFileBytes, 1);
    std::filesystem::remove_all(small);
    WriteOneContactFiles(small, scale.smallFiles, 2);
    MarkCorpusReady(work.path(), description);
  }
  std::size_t smallCount = 0;
  const std::uint64_t smallBytes = FolderBytes(small, smallCount);
  ReadAndDiscard(large);

  const std::string out = work / "out";
  const std::string largeOut = out + "/large";
  const std::string perContactOut = out + "/per-contact";
  const std::string manyOut = out + "/many";
  const std::string copyOut = out + "/copy";
  const std::string singleOut = out + "/single";
  const std::string floorFile = out + "/floor.htm";
  auto tool50 = [&](const std::string& into, std::vector<std::string> extra) {
    std::vector<std::string> arguments{tool, "-q", "-o", into};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    arguments.push_back(large);
    return arguments;
  };
  const std::vector<std::string> largeRun = tool50(largeOut, {});
  const std::vector<std::string> manyRun{tool, "-q", "-o", manyOut, small};
  const std::vector<std::string> copyRun{"cp", "-r", small, copyOut};
  const std::string before = ToolBefore();
  // The same run with the build to compare with.
  const auto withBefore = [&before](std::vector<std::string> arguments) {
    arguments.front() = before;
    return arguments;
  };

  // The size of the document the tool writes sets the floor's output.
  Empty(largeOut, true);
  if (RunProgram(largeRun) != 0) std::fprintf(stderr, "brevant-convert failed on %s\n", large.c_str());
  std::size_t files = 0;
  const std::uint64_t documentBytes = FolderBytes(largeOut, files);

  std::printf("brevant-convert: %s\n", tool.c_str());
  std::printf("Corpus: one file of %.1f MB (document %.1f MB); %zu one-contact files, %.1f MB in all.\n",
              static_cast<double>(FileSize(large)) / 1e6, static_cast<double>(documentBytes) / 1e6,
              smallCount, static_cast<double>(smallBytes) / 1e6);
  std::printf("%d rounds, every case once per round; outputs removed and the disk synced before each.\n\n",
              kRounds);

  std::vector<Case> cases;
  cases.push_back({"A. floor: read the large file once, write the document's size",
                   [&] { Empty(out + "/floor", true); },
                   [&] { return ReadOnceWrite(large, out + "/floor/floor.htm", documentBytes, false); }});
  cases.push_back(
      {"B. per-file, the large file", [&] { Empty(largeOut, true); }, [&] { return RunProgram(largeRun); }});
  cases.push_back({"C. per-file per-contact, the large file", [&] { Empty(perContactOut, true); },
                   [&] { return RunProgram(tool50(perContactOut, {"--per-contact"})); }});
  cases.push_back({"D. floor: cp -r of the small files", [&] { Empty(copyOut, false); },
                   [&] { return RunProgram(copyRun); }});
  cases.push_back({"E. floor: cp -r of the small files over D's copies", [] { sync(); },
                   [&] {
                     return RunProgram({"cp", "-rT", small, copyOut});
                   }});
  cases.push_back({"F. per-file, small files, new documents", [&] { Empty(manyOut, true); },
                   [&] { return RunProgram(manyRun); }});
  cases.push_back(
      {"G. per-file, small files, replacing F's", [] { sync(); }, [&] { return RunProgram(manyRun); }});
  cases.push_back({"H. one document of the small files", [&] { Empty(singleOut, true); },
                   [&] {
                     return RunProgram({tool, "-q", "-m", "single", "-o", singleOut, small});
                   }});
  // The floors that make what they wrote durable, as the tool does.
  cases.push_back({"A'. floor A, the file synced before it replaces the earlier one",
                   [&] {
                     Empty(out + "/floor", true);
                     WriteFileBytes(out + "/floor/floor.htm", "earlier");
                     sync();
                   },
                   [&] { return ReadOnceWrite(large, out + "/floor/floor.htm", documentBytes, true); }});
  cases.push_back({"D'. floor D, then one sync of the file system", [&] { Empty(copyOut, false); },
                   [&] {
                     const int copied = RunProgram(copyRun);
                     SyncFileSystem(out);
                     return copied;
                   }});
  cases.push_back({"E'. floor E, each copy synced before it replaces its earlier one", [] { sync(); },
                   [&] { return DurableCopyOver(small, copyOut); }});
  // What the same cases cost with the build to compare with.
  const std::size_t firstBefore = cases.size();
  if (!before.empty()) {
    cases.push_back(
        {"B. before", [&] { Empty(largeOut, true); }, [&] { return RunProgram(withBefore(largeRun)); }});
    cases.push_back(
        {"F. before", [&] { Empty(manyOut, true); }, [&] { return RunProgram(withBefore(manyRun)); }});
    cases.push_back({"G. before", [] { sync(); }, [&] { return RunProgram(withBefore(manyRun)); }});
    cases.push_back({"H. before", [&] { Empty(singleOut, true); },
                     [&] {
                       return RunProgram(withBefore({tool, "-q", "-m", "single", "-o", singleOut, small}));
                     }});
  }
  for (int round = 0; round < kRounds; ++round) {
    for (Case& measured : cases) {
      measured.prepare();
      measured.seconds.push_back(SecondsOf(measured.work, measured.failed));
    }
  }

  TablePrinter table;
  table.addColumn("case", TablePrinter::Align::Left);
  table.addColumn("best ms", TablePrinter::Align::Right);
  table.addColumn("median ms", TablePrinter::Align::Right);
  table.addColumn("floor", TablePrinter::Align::Left);
  table.addColumn("ratio best", TablePrinter::Align::Right);
  table.addColumn("ratio median", TablePrinter::Align::Right);
  table.addColumn("goal", TablePrinter::Align::Left);
  auto row = [&](const Case& measured, const Case* floor, double goal) {
    std::vector<std::string> cells{measured.name, Ms(measured.best()), Ms(measured.median())};
    if (floor != nullptr) {
      const double best = measured.best() / floor->best();
      const double median = measured.median() / floor->median();
      cells.push_back(floor->name.substr(0, floor->name.find('.')));
      cells.push_back(Fixed(best, 2));
      cells.push_back(Fixed(median, 2));
      cells.push_back("<= " + Fixed(goal, 1) + (best <= goal ? "  PASS" : "  MISS"));
    }
    if (measured.failed) cells.back() += "  (a run failed)";
    table.addRow(cells);
  };
  row(cases[0], nullptr, 0);
  row(cases[1], &cases[0], 1.5);
  row(cases[2], nullptr, 0);
  row(cases[3], nullptr, 0);
  row(cases[4], nullptr, 0);
  row(cases[5], &cases[3], 2);
  // A run places its files in batches, one sync a batch: replacing costs about
  // what writing new documents does (F), and what a copy that syncs once (D') does.
  row(cases[6], &cases[5], 1.5);
  row(cases[6], &cases[9], 2);
  row(cases[7], nullptr, 0);
  row(cases[8], nullptr, 0);
  row(cases[9], nullptr, 0);
  row(cases[10], nullptr, 0);
  table.print(stdout);
  std::printf("\nAgainst the floors that are as durable as the tool (G: against the plain copy E):\n");
  TablePrinter durable;
  durable.addColumn("case", TablePrinter::Align::Left);
  durable.addColumn("floor", TablePrinter::Align::Left);
  durable.addColumn("ratio best", TablePrinter::Align::Right);
  durable.addColumn("ratio median", TablePrinter::Align::Right);
  for (const auto& [measured, floor] : {std::pair{1, 8}, {5, 9}, {6, 4}}) {
    durable.addRow({cases[measured].name.substr(0, 2),
                    cases[floor].name.substr(0, cases[floor].name.find('.')),
                    Fixed(cases[measured].best() / cases[floor].best(), 2),
                    Fixed(cases[measured].median() / cases[floor].median(), 2)});
  }
  durable.print(stdout);

  if (!before.empty()) {
    std::printf("\nWhat the files' durability costs: %s (after) against %s (before):\n", tool.c_str(),
                before.c_str());
    TablePrinter cost;
    cost.addColumn("case", TablePrinter::Align::Left);
    cost.addColumn("before ms", TablePrinter::Align::Right);
    cost.addColumn("after ms", TablePrinter::Align::Right);
    cost.addColumn("after - before ms", TablePrinter::Align::Right);
    cost.addColumn("per document us", TablePrinter::Align::Right);
    const std::pair<std::size_t, double> measured[] = {
        {1, 1}, {5, static_cast<double>(smallCount)}, {6, static_cast<double>(smallCount)}, {7, 1}};
    for (std::size_t i = 0; i < std::size(measured); ++i) {
      const Case& after = cases[measured[i].first];
      const Case& was = cases[firstBefore + i];
      const double extra = after.median() - was.median();
      cost.addRow({after.name, Ms(was.median()), Ms(after.median()), Ms(extra),
                   Fixed(extra / measured[i].second * 1e6, 1)});
    }
    cost.print(stdout);
    std::printf("(medians of the rounds)\n");
  }

  std::printf("\nSystem calls (strace -f -c), whole runs:\n");
  Empty(manyOut, true);
  const std::string scratch = out + "/strace.txt";
  const CallCounts oneFile =
      CountSystemCalls({tool, "-q", "-o", manyOut, small + "/contact00001.vcf"}, scratch);
  Empty(manyOut, true);
  const CallCounts fresh = CountSystemCalls(manyRun, scratch);
  const CallCounts replacing = CountSystemCalls(manyRun, scratch);
  Empty(copyOut, false);
  const CallCounts copy = CountSystemCalls(copyRun, scratch);
  Empty(largeOut, true);
  const CallCounts largeCounts = CountSystemCalls(largeRun, scratch);
  const auto documents = static_cast<double>(smallCount);
  PrintCounts("brevant-convert, one small file", oneFile, 1, nullptr);
  PrintCounts("F. small files, new documents", fresh, documents, &oneFile);
  PrintCounts("G. small files, replacing", replacing, documents, &oneFile);
  PrintCounts("D. cp -r", copy, documents, nullptr);
  PrintCounts("B. the large file", largeCounts, 1, nullptr);
  if (fresh.counted && oneFile.counted) {
    // The start-up of the program is paid once a run, not once a document.
    const double perDocument =
        static_cast<double>(fresh.total - oneFile.total) / static_cast<double>(smallCount - 1);
    // A few calls grow with the run but not once a document (folder listings, heap): judged to one decimal.
    std::printf("\nGoal: at most 10 system calls per document past start-up (F): %.2f  %s\n", perDocument,
                perDocument < 10.05 ? "PASS" : "MISS");
  }
  std::printf(
      "\nratio is the case's time over its floor's (A for B, D for F, E' for G), of the best and of the\n"
      "median runs. Times are wall times of whole processes, start-up included. Replacing a file frees\n"
      "the old one's blocks, which is why G and E cost more than F and D. The primed floors do what the\n"
      "tool does to make its files durable: sync a file before it replaces another, sync the file\n"
      "system once at the end.\n");
  std::filesystem::remove_all(out);
  return 0;
}

}  // namespace
}  // namespace brevant::bench

int main(int argc, char** argv) { return brevant::bench::RunBench(argc, argv, brevant::bench::Run); }
