// Measures one row per contact against the line scanner on the same large
// contacts file, in both conversion modes, and prints one table. Every run
// happens in a child process of its own, so its peak memory is its own. It
// always exits with 0: it measures, the reader judges.
//
//   brevant_per_contact_bench [--dir DIR] [--small]
//
// --dir keeps the generated file in DIR and uses it again on the next run;
// --small makes it ten times smaller for a quick look.

#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "engine/separate_conversion.h"
#include "engine/single_conversion.h"
#include "support/bench_host.h"
#include "support/bench_options.h"
#include "support/child_measure.h"
#include "support/corpus_files.h"
#include "support/file_io.h"
#include "support/result_table.h"
#include "support/utf8.h"
#include "support/work_folder.h"

namespace brevant::bench {
namespace {

constexpr int kRuns = 3;
constexpr double kStopRepeatingAfterSeconds = 30;
constexpr double kTimeGoal = 1.5;  // per-contact time at most this many line-scanner times

class ContactsHost : public BenchHost {
 public:
  explicit ContactsHost(bool perContact) : perContact_(perContact) {}
  bool oneRowPerContact() override { return perContact_; }

 private:
  bool perContact_;
};

// The contacts of the generated file: its BEGIN lines.
std::size_t CountContacts(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return 0;
  std::size_t count = 0;
  char line[4096];
  while (std::fgets(line, sizeof line, file) != nullptr) {
    if (std::string_view(line).starts_with("BEGIN:VCARD")) ++count;
  }
  std::fclose(file);
  return count;
}

Work Separate(const std::string& input, const std::string& folder, bool perContact) {
  return [input = FromUtf8(input), folder = FromUtf8(folder), perContact]() -> std::int64_t {
    ContactsHost host(perContact);
    host.setChosenFolder(folder);
    ConvertVCFToSeparateHTML(host, input);
    host.printErrors(stderr);
    return host.errorCount();
  };
}

Work Single(const std::string& input, const std::string& output, bool perContact) {
  return [input = FromUtf8(input), output = FromUtf8(output), perContact]() -> std::int64_t {
    ContactsHost host(perContact);
    host.setInputPaths({input});
    ConvertVCFToSingleHTML(host, output);
    host.printErrors(stderr);
    return host.errorCount();
  };
}

std::string Megabytes(std::uint64_t bytes) { return Fixed(static_cast<double>(bytes) / 1e6, 1) + " MB"; }

int Run(const BenchOptions& options) {
  const std::uint64_t targetBytes = options.small ? 5'000'000 : 50'000'000;
  const WorkFolder work(options.folder);
  const std::string input = work / "contacts.vcf";
  const std::string description = "per-contact corpus 1, " + std::to_string(targetBytes) + " bytes\n";
  if (!CorpusIsReady(work.path(), description)) {
    std::printf("Generating %s ...\n", input.c_str());
    // The same generator and seed as the conversion benchmark's contacts file.
    const RunFigures generation = RunInChild([&]() -> std::int64_t {
      WriteContactsFile(input, targetBytes, 1);
      MarkCorpusReady(work.path(), description);
      return 0;
    });
    if (!generation.completed) {
      std::fprintf(stderr, "generating the file failed: %s\n", generation.problem.c_str());
      return 1;
    }
  }
  const std::uint64_t inputBytes = FileSize(input);
  const std::size_t contacts = CountContacts(input);
  ReadAndDiscard(input);
  std::printf("Input: %s, %zu contacts in one file. Best of %d runs, each in a child process.\n\n",
              Megabytes(inputBytes).c_str(), contacts, kRuns);

  ResultTable table("contact");
  const std::string out = work / "out";
  const auto measure = [&](const Work& w) {
    return MeasureBest(kRuns, kStopRepeatingAfterSeconds, w, [&] { RecreateFolder(out); });
  };
  const auto outputBytes = [&](std::string_view suffix) { return TotalSize(ListFiles(out, suffix)); };
  const double memoryLimit = 3 * static_cast<double>(inputBytes) / 1e6 + 64;

  struct Mode {
    const char* name;
    bool single;
  };
  for (const Mode mode : {Mode{"per-file", false}, Mode{"one document", true}}) {
    const auto conversion = [&](bool perContact) {
      return mode.single ? Single(input, out + "/output.xml", perContact) : Separate(input, out, perContact);
    };
    const std::string suffix = mode.single ? ".xml" : ".htm";
    const Measurement lines = measure(conversion(false));
    table.addCase({.name = std::string(mode.name) + ", line scanner",
                   .measurement = lines,
                   .inputBytes = inputBytes,
                   .outputBytes = outputBytes(suffix)});
    const Measurement perContact = measure(conversion(true));
    table.addCase({.name = std::string(mode.name) + ", one row per contact",
                   .measurement = perContact,
                   .inputBytes = inputBytes,
                   .units = contacts,
                   .outputBytes = outputBytes(suffix),
                   .floor = &lines,
                   .ratioGoal = kTimeGoal});
    table.addCheck("   peak memory", ResultTable::Figure::Peak, perContact.peakMegabytes,
                   "< " + Fixed(memoryLimit, 0) + " MB (3x file + 64)",
                   perContact.peakMegabytes < memoryLimit);
  }
  table.print(stdout);
  std::printf(
      "\nMB are 10^6 bytes. time is wall time, cpu is user + system time of the child. ratio is the\n"
      "per-contact time over the line scanner's on the same file, in the same mode.\n");
  std::filesystem::remove_all(out);
  return 0;
}

}  // namespace
}  // namespace brevant::bench

int main(int argc, char** argv) {
  brevant::bench::BenchOptions options;
  if (!brevant::bench::ParseBenchOptions(argc, argv, options)) return 2;
  try {
    return brevant::bench::Run(options);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "benchmark failed: %s\n", error.what());
    return 1;
  }
}
