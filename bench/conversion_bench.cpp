// Measures the two conversions against what merely reading and writing the same
// bytes costs, and prints one table. Every run happens in a child process of its
// own, so its peak memory is its own. It always exits with 0: it measures, the
// reader judges.
//
//   brevant_conversion_bench [--dir DIR] [--small]
//
// --dir keeps the generated corpus in DIR and uses it again on the next run;
// --small makes everything ten times smaller for a quick look.

#include <array>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "engine/convert/one_document_conversion.h"
#include "engine/convert/per_input_conversion.h"
#include "support/bench_host.h"
#include "support/bench_options.h"
#include "support/child_measure.h"
#include "support/corpus_files.h"
#include "support/file_io.h"
#include "support/io_floors.h"
#include "support/result_table.h"
#include "support/text/utf8.h"
#include "support/work_folder.h"

namespace brevant::bench {
namespace {

constexpr int kRuns = 3;
// Writing the CSV file as well costs at most this many times the document alone.
constexpr double kCsvCostGoal = 1.3;
// The same with the .xlsx workbook instead costs at most this many times the case with the CSV file.
constexpr double kXlsxCostGoal = 1.5;
// A case slower than this is not repeated; one slow run says enough.
constexpr double kStopRepeatingAfterSeconds = 30;

struct Scale {
  const char* name;
  std::uint64_t contactsFileBytes;
  std::size_t oneContactFiles;
  std::array<std::size_t, 3> emailLines;  // ascending; the last against the first shows the growth
};
constexpr Scale kFullScale{"full", 50'000'000, 10'000, {10'000, 30'000, 100'000}};
constexpr Scale kSmallScale{"small", 5'000'000, 1'000, {1'000, 3'000, 10'000}};

struct Corpus {
  std::string contactsFile;
  std::vector<std::string> oneContactFiles;
  std::array<std::string, 3> emailFiles;
  std::uint64_t contactsBytes = 0;
  std::uint64_t oneContactBytes = 0;
  std::array<std::uint64_t, 3> emailBytes{};
};

Corpus LayOutCorpus(const WorkFolder& work, const Scale& scale) {
  Corpus corpus;
  corpus.contactsFile = work / "contacts.vcf";
  for (std::size_t i = 0; i < scale.emailLines.size(); ++i) {
    corpus.emailFiles[i] = work / ("email-lines-" + std::to_string(scale.emailLines[i]) + ".vcf");
  }
  return corpus;
}

// Generates in a child, so that this process stays as small as it started.
bool GenerateCorpus(const WorkFolder& work, const Scale& scale, const Corpus& corpus) {
  const std::string description = std::string("conversion corpus 1, ") + scale.name + " scale\n";
  if (CorpusIsReady(work.path(), description)) {
    std::printf("Using the corpus in %s\n", work.path().c_str());
    return true;
  }
  std::printf("Generating the corpus in %s ...\n", work.path().c_str());
  const RunFigures generation = RunInChild([&]() -> std::int64_t {
    WriteContactsFile(corpus.contactsFile, scale.contactsFileBytes, 1);
    RecreateFolder(work / "one-contact");
    WriteOneContactFiles(work / "one-contact", scale.oneContactFiles, 2);
    for (std::size_t i = 0; i < scale.emailLines.size(); ++i) {
      WriteEmailListFile(corpus.emailFiles[i], scale.emailLines[i]);
    }
    MarkCorpusReady(work.path(), description);
    return 0;
  });
  if (!generation.completed) {
    std::fprintf(stderr, "generating the corpus failed: %s\n", generation.problem.c_str());
    return false;
  }
  std::printf("Generated in %.1f s\n", generation.seconds);
  return true;
}

void MeasureCorpus(const WorkFolder& work, Corpus& corpus) {
  corpus.oneContactFiles = ListFiles(work / "one-contact", ".vcf");
  corpus.contactsBytes = FileSize(corpus.contactsFile);
  corpus.oneContactBytes = TotalSize(corpus.oneContactFiles);
  for (std::size_t i = 0; i < corpus.emailFiles.size(); ++i)
    corpus.emailBytes[i] = FileSize(corpus.emailFiles[i]);
}

// One read of everything, so that every measured run finds the corpus in the page cache.
void WarmUp(const Corpus& corpus) {
  ReadAndDiscard(corpus.contactsFile);
  for (const std::string& file : corpus.oneContactFiles) ReadAndDiscard(file);
  for (const std::string& file : corpus.emailFiles) ReadAndDiscard(file);
}

std::vector<Text> AsTexts(const std::vector<std::string>& paths) {
  std::vector<Text> texts;
  texts.reserve(paths.size());
  for (const std::string& path : paths) texts.push_back(FromUtf8(path));
  return texts;
}

// Which files for spreadsheets go beside the documents.
struct Beside {
  bool csv = false;
  bool xlsx = false;
};

Work SeparateConversions(const std::vector<std::string>& inputs, const std::string& outputFolder,
                         Beside beside = {}) {
  return [inputs = AsTexts(inputs), folder = FromUtf8(outputFolder), beside]() -> std::int64_t {
    BenchHost host;
    host.setChosenFolder(folder);
    host.setSavesBeside(OutputFormat::Csv, beside.csv);
    host.setSavesBeside(OutputFormat::Xlsx, beside.xlsx);
    for (const Text& input : inputs) ConvertPerInput(host, input);
    host.printErrors(stderr);
    return host.errorCount();
  };
}

Work SingleConversion(const std::vector<std::string>& inputs, const std::string& outputPath,
                      Beside beside = {}) {
  return [inputs = AsTexts(inputs), output = FromUtf8(outputPath), beside]() -> std::int64_t {
    BenchHost host;
    host.setInputPaths(inputs);
    host.setSavesBeside(OutputFormat::Csv, beside.csv);
    host.setSavesBeside(OutputFormat::Xlsx, beside.xlsx);
    ConvertToOneDocument(host, output);
    host.printErrors(stderr);
    return host.errorCount();
  };
}

// Every run writes into an empty folder, as the first run of a user would.
Measurement MeasureInto(const std::string& outputFolder, const Work& work) {
  return MeasureBest(kRuns, kStopRepeatingAfterSeconds, work, [&] { RecreateFolder(outputFolder); });
}

// The documents a case left behind, and a note when fewer came out than expected.
struct Output {
  std::uint64_t bytes = 0;
  std::string note;
};

Output CheckOutput(const std::string& folder, std::string_view suffix, std::size_t expected) {
  const std::vector<std::string> files = ListFiles(folder, suffix);
  Output output{TotalSize(files), ""};
  if (files.size() != expected) {
    output.note = std::to_string(files.size()) + " of " + std::to_string(expected) + " outputs";
  }
  return output;
}

std::string Megabytes(std::uint64_t bytes) { return Fixed(static_cast<double>(bytes) / 1e6, 1) + " MB"; }

int Run(const BenchOptions& options) {
  const Scale& scale = options.small ? kSmallScale : kFullScale;
  const WorkFolder work(options.folder);
  Corpus corpus = LayOutCorpus(work, scale);
  if (!GenerateCorpus(work, scale, corpus)) return 1;
  MeasureCorpus(work, corpus);
  WarmUp(corpus);

  const std::string contactsSize = Megabytes(corpus.contactsBytes);
  const std::string fileCount = std::to_string(corpus.oneContactFiles.size());
  std::printf("Corpus: %s of contacts in one file; %s one-contact files, %s in all; e-mail lists of",
              contactsSize.c_str(), fileCount.c_str(), Megabytes(corpus.oneContactBytes).c_str());
  for (std::size_t lines : scale.emailLines) std::printf(" %zu", lines);
  std::printf(" lines.\nBest of %d runs, each in a child process of its own.\n\n", kRuns);

  const std::string out = work / "out";
  ResultTable table("line");
  auto folderOutput = [&](const std::string& folder, std::string_view suffix, std::size_t expected) {
    return CheckOutput(work / ("out/" + folder), suffix, expected);
  };
  auto into = [&](const std::string& folder) { return work / ("out/" + folder); };

  const Measurement idle = MeasureBest(1, 0, [] { return std::int64_t{0}; });
  table.addCase({.name = "idle child (baseline)", .measurement = idle});

  // a, b: the large file, per-file mode.
  const std::string copyTarget = into("copy-large") + "/contacts.vcf";
  const Measurement copyLarge = MeasureInto(
      into("copy-large"), [&] { return CopyWholeFile(corpus.contactsFile, copyTarget) > 0 ? 0 : 1; });
  table.addCase({.name = "a. floor: copy " + contactsSize + " file",
                 .measurement = copyLarge,
                 .inputBytes = corpus.contactsBytes,
                 .outputBytes = folderOutput("copy-large", ".vcf", 1).bytes});
  const Measurement separateLarge =
      MeasureInto(into("separate-large"), SeparateConversions({corpus.contactsFile}, into("separate-large")));
  Output output = folderOutput("separate-large", ".htm", 1);
  table.addCase({.name = "b. per-file, " + contactsSize + " file",
                 .measurement = separateLarge,
                 .inputBytes = corpus.contactsBytes,
                 .outputBytes = output.bytes,
                 .floor = &copyLarge,
                 .ratioGoal = 3,
                 .note = output.note});
  if (separateLarge.completed) {
    const double throughput = Throughput(separateLarge, corpus.contactsBytes);
    table.addCheck("   b. throughput", ResultTable::Figure::Throughput, throughput, ">= 300 MB/s",
                   throughput >= 300);
  }
  const double memoryLimit = 3 * static_cast<double>(corpus.contactsBytes) / 1e6 + 64;
  table.addCheck("   b. peak memory", ResultTable::Figure::Peak, separateLarge.peakMegabytes,
                 "< " + Fixed(memoryLimit, 0) + " MB (3x file + 64)",
                 separateLarge.peakMegabytes < memoryLimit);
  // The same with the CSV file beside the document, then with the .xlsx workbook.
  const auto withSpreadsheets = [&](const std::string& name, const std::string& folder,
                                    const std::function<Work(const std::string&, Beside)>& work,
                                    std::uint64_t inputBytes, std::size_t outputs, const Measurement& alone) {
    const Measurement csv = MeasureInto(into(folder + "-csv"), work(into(folder + "-csv"), {.csv = true}));
    table.addCase({.name = name + ", with CSV",
                   .measurement = csv,
                   .inputBytes = inputBytes,
                   .outputBytes = TotalSize(ListFiles(into(folder + "-csv"), "")),
                   .note = folderOutput(folder + "-csv", ".csv", outputs).note});
    table.addCostChecks("over " + name.substr(0, 2) + " alone", csv, alone, kCsvCostGoal);
    const Measurement xlsx =
        MeasureInto(into(folder + "-xlsx"), work(into(folder + "-xlsx"), {.xlsx = true}));
    table.addCase({.name = name + ", with .xlsx",
                   .measurement = xlsx,
                   .inputBytes = inputBytes,
                   .outputBytes = TotalSize(ListFiles(into(folder + "-xlsx"), "")),
                   .note = folderOutput(folder + "-xlsx", ".xlsx", outputs).note});
    table.addCostChecks("over " + name.substr(0, 2) + " with CSV", xlsx, csv, kXlsxCostGoal);
  };
  withSpreadsheets(
      "b. per-file, " + contactsSize + " file", "separate-large",
      [&](const std::string& folder, Beside beside) {
        return SeparateConversions({corpus.contactsFile}, folder, beside);
      },
      corpus.contactsBytes, 1, separateLarge);

  // c, d: many small files, per-file mode.
  const Measurement copyMany = MeasureInto(into("copy-many"), [&] {
    return CopyFilesInto(corpus.oneContactFiles, into("copy-many")) > 0 ? 0 : 1;
  });
  table.addCase({.name = "c. floor: copy " + fileCount + " files",
                 .measurement = copyMany,
                 .inputBytes = corpus.oneContactBytes,
                 .outputBytes = folderOutput("copy-many", ".vcf", corpus.oneContactFiles.size()).bytes});
  const Measurement separateMany =
      MeasureInto(into("separate-many"), SeparateConversions(corpus.oneContactFiles, into("separate-many")));
  output = folderOutput("separate-many", ".htm", corpus.oneContactFiles.size());
  table.addCase({.name = "d. per-file, " + fileCount + " files",
                 .measurement = separateMany,
                 .inputBytes = corpus.oneContactBytes,
                 .outputBytes = output.bytes,
                 .floor = &copyMany,
                 .ratioGoal = 3,
                 .note = output.note});
  withSpreadsheets(
      "d. per-file, " + fileCount + " files", "separate-many",
      [&](const std::string& folder, Beside beside) {
        return SeparateConversions(corpus.oneContactFiles, folder, beside);
      },
      corpus.oneContactBytes, corpus.oneContactFiles.size(), separateMany);

  // e, f: many small files into one document.
  const Measurement twiceMany = MeasureInto(into("twice-many"), [&] {
    return ReadTwiceWriteOne(corpus.oneContactFiles, into("twice-many") + "/all.vcf") > 0 ? 0 : 1;
  });
  table.addCase({.name = "e. floor: read " + fileCount + " twice, write 1",
                 .measurement = twiceMany,
                 .inputBytes = corpus.oneContactBytes,
                 .outputBytes = folderOutput("twice-many", ".vcf", 1).bytes});
  const Measurement singleMany = MeasureInto(
      into("single-many"), SingleConversion(corpus.oneContactFiles, into("single-many") + "/output.xml"));
  output = folderOutput("single-many", ".xml", 1);
  table.addCase({.name = "f. one document, " + fileCount + " files",
                 .measurement = singleMany,
                 .inputBytes = corpus.oneContactBytes,
                 .outputBytes = output.bytes,
                 .floor = &twiceMany,
                 .ratioGoal = 4,
                 .note = output.note});
  withSpreadsheets(
      "f. one document, " + fileCount + " files", "single-many",
      [&](const std::string& folder, Beside beside) {
        return SingleConversion(corpus.oneContactFiles, folder + "/output.xml", beside);
      },
      corpus.oneContactBytes, 1, singleMany);

  // g: growing e-mail lists into one document; linear cost keeps the time per line flat.
  std::array<Measurement, 3> emailSingle;
  for (std::size_t i = 0; i < corpus.emailFiles.size(); ++i) {
    const std::string folder = "single-email-" + std::to_string(i);
    emailSingle[i] =
        MeasureInto(into(folder), SingleConversion({corpus.emailFiles[i]}, into(folder) + "/output.xml"));
    output = folderOutput(folder, ".xml", 1);
    table.addCase({.name = "g. one document, " + std::to_string(scale.emailLines[i]) + " e-mail lines",
                   .measurement = emailSingle[i],
                   .inputBytes = corpus.emailBytes[i],
                   .units = scale.emailLines[i],
                   .outputBytes = output.bytes,
                   .note = output.note});
  }
  if (emailSingle.front().completed && emailSingle.back().completed && emailSingle.front().bestSeconds > 0) {
    const double growth = (emailSingle.back().bestSeconds / static_cast<double>(scale.emailLines.back())) /
                          (emailSingle.front().bestSeconds / static_cast<double>(scale.emailLines.front()));
    table.addCheck("   g. us/line " + std::to_string(scale.emailLines.back()) + " vs " +
                       std::to_string(scale.emailLines.front()),
                   ResultTable::Figure::Ratio, growth, "< 2 (linear)", growth < 2);
  }

  // h: the longest e-mail list, per-file mode.
  const Measurement separateEmail = MeasureInto(
      into("separate-email"), SeparateConversions({corpus.emailFiles.back()}, into("separate-email")));
  output = folderOutput("separate-email", ".htm", 1);
  table.addCase({.name = "h. per-file, " + std::to_string(scale.emailLines.back()) + " e-mail lines",
                 .measurement = separateEmail,
                 .inputBytes = corpus.emailBytes.back(),
                 .units = scale.emailLines.back(),
                 .outputBytes = output.bytes,
                 .note = output.note});

  table.print(stdout);
  std::printf(
      "\nMB are 10^6 bytes. time is wall time, cpu is user + system time of the child (the better figure\n"
      "when the machine is busy). peak MB is the child's maximum resident set; the idle child shows what\n"
      "every child starts with. ratio is time / floor. Error boxes raised by the engine count as errors.\n"
      "A case with CSV writes the CSV file beside every document; its out MB counts both, and its checks\n"
      "compare it with the same case without. A case with .xlsx writes the workbook instead; its checks\n"
      "compare it with the same case with CSV.\n");
  std::filesystem::remove_all(out);
  return 0;
}

}  // namespace
}  // namespace brevant::bench

int main(int argc, char** argv) { return brevant::bench::RunBench(argc, argv, brevant::bench::Run); }
