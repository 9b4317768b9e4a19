// Measures one row per contact against the line scanner on the same large
// contacts files (50 MB, and 90,000 contacts), in both conversion modes, and
// prints one table; then one row per contact alone, with the CSV file and the
// .xlsx workbook, on hostile inputs (long folded values, endless soft line
// breaks, a note of nothing but "&", one contact with millions of e-mail lines,
// one line of 1 GB), with the peak memory against its goal and the longest
// stretch the conversion went without giving the host a turn.
// Every run happens in a child process of its own, so its peak memory is its
// own. It always exits with 0: it measures, the reader judges.
//
//   brevant_per_contact_bench [--dir DIR] [--small]
//
// --dir keeps the generated file in DIR and uses it again on the next run;
// --small makes it ten times smaller for a quick look.

#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/convert/one_document_conversion.h"
#include "engine/convert/per_input_conversion.h"
#include "support/bench_host.h"
#include "support/bench_options.h"
#include "support/child_measure.h"
#include "support/contact_generator.h"
#include "support/corpus_files.h"
#include "support/file_io.h"
#include "support/result_table.h"
#include "support/text/utf8.h"
#include "support/work_folder.h"

namespace brevant::bench {
namespace {

constexpr int kRuns = 3;
constexpr double kStopRepeatingAfterSeconds = 30;
constexpr double kTimeGoal = 1.5;      // per-contact time at most this many line-scanner times
constexpr double kCsvCostGoal = 1.3;   // with the CSV file, at most this many times the document alone
constexpr double kXlsxCostGoal = 1.5;  // with the .xlsx workbook instead, at most this many times with CSV

class ContactsHost : public BenchHost {
 public:
  explicit ContactsHost(bool perContact) : perContact_(perContact) {}
  bool oneRowPerContact() override { return perContact_; }
  void yield() override {
    const auto now = std::chrono::steady_clock::now();
    longestGap_ = std::max(longestGap_, now - lastTurn_);
    lastTurn_ = now;
  }
  // The longest time without a turn, up to now.
  double longestGapSeconds() {
    yield();
    return std::chrono::duration<double>(longestGap_).count();
  }

 private:
  bool perContact_;
  std::chrono::steady_clock::time_point lastTurn_ = std::chrono::steady_clock::now();
  std::chrono::steady_clock::duration longestGap_{};
};

// The child's longest stretch without a turn reaches the benchmark through this file.
void SaveGap(const std::string& file, double seconds) { std::ofstream(file) << seconds << '\n'; }
double LoadGap(const std::string& file) {
  double seconds = -1;
  std::ifstream(file) >> seconds;
  return seconds;
}

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

// Which files for spreadsheets go beside the documents.
struct Beside {
  bool csv = false;
  bool xlsx = false;
};

Work Separate(const std::string& input, const std::string& folder, bool perContact,
              const std::string& gapFile = {}, Beside beside = {}) {
  return [input = FromUtf8(input), folder = FromUtf8(folder), perContact, gapFile, beside]() -> std::int64_t {
    ContactsHost host(perContact);
    host.setChosenFolder(folder);
    host.setSavesBeside(OutputFormat::Csv, beside.csv);
    host.setSavesBeside(OutputFormat::Xlsx, beside.xlsx);
    ConvertPerInput(host, input);
    host.printErrors(stderr);
    if (!gapFile.empty()) SaveGap(gapFile, host.longestGapSeconds());
    return host.errorCount();
  };
}

Work Single(const std::string& input, const std::string& output, bool perContact,
            const std::string& gapFile = {}, Beside beside = {}) {
  return [input = FromUtf8(input), output = FromUtf8(output), perContact, gapFile, beside]() -> std::int64_t {
    ContactsHost host(perContact);
    host.setInputPaths({input});
    host.setSavesBeside(OutputFormat::Csv, beside.csv);
    host.setSavesBeside(OutputFormat::Xlsx, beside.xlsx);
    ConvertToOneDocument(host, output);
    host.printErrors(stderr);
    if (!gapFile.empty()) SaveGap(gapFile, host.longestGapSeconds());
    return host.errorCount();
  };
}

std::string Megabytes(std::uint64_t bytes) { return Fixed(static_cast<double>(bytes) / 1e6, 1) + " MB"; }

// count contacts of the generator, written in pieces.
void WriteContacts(const std::string& path, std::size_t count) {
  ContactGenerator generator(1);
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) throw std::runtime_error("cannot create " + path);
  std::string chunk;
  for (std::size_t i = 0; i < count; ++i) {
    generator.appendContact(chunk);
    if (chunk.size() >= (std::size_t{1} << 20) || i + 1 == count) {
      if (std::fwrite(chunk.data(), 1, chunk.size(), file) != chunk.size())
        throw std::runtime_error("disk full");
      chunk.clear();
    }
  }
  if (std::fclose(file) != 0) throw std::runtime_error("cannot write " + path);
}

// One contact whose body repeats `line` until the file holds about `bytes`.
void WriteRepeatedContact(const std::string& path, std::string_view head, std::string_view line,
                          std::string_view tail, std::uint64_t bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) throw std::runtime_error("cannot create " + path);
  std::string chunk = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Hostile\r\n" + std::string(head);
  std::uint64_t written = 0;
  while (written < bytes) {
    while (chunk.size() < (std::size_t{1} << 20)) chunk += line;
    if (std::fwrite(chunk.data(), 1, chunk.size(), file) != chunk.size())
      throw std::runtime_error("disk full");
    written += chunk.size();
    chunk.clear();
  }
  chunk = std::string(tail) + "\r\nEND:VCARD\r\n";
  if (std::fwrite(chunk.data(), 1, chunk.size(), file) != chunk.size() || std::fclose(file) != 0)
    throw std::runtime_error("cannot write " + path);
}

struct HostileInput {
  const char* name;
  const char* file;
  const char* head;  // the property's start
  const char* line;  // repeated
  const char* tail;  // ends the property
  std::uint64_t megabytes;
};

// Inputs that once made one row per contact take many times their size.
constexpr HostileInput kHostileInputs[] = {
    {"folded lines", "folded.vcf", "NOTE:start", "\r\n cd", "", 100},
    {"soft line breaks", "soft-breaks.vcf", "NOTE;ENCODING=QUOTED-PRINTABLE:start", "ab=\r\n", "end", 100},
    {"folded lines of 75", "folded-long.vcf", "NOTE:start",
     "\r\n Lorem ipsum dolor sit amet\\, consectetur adipiscing elit\\; sed do eiusmod", "", 100},
    {"soft line breaks of 76", "soft-breaks-long.vcf", "NOTE;ENCODING=QUOTED-PRINTABLE:start",
     "Lorem ipsum dolor sit amet, consectetur adipiscing elit, sed do eiusmod t=E9=\r\n", "end", 100},
    {"note of \"&\"", "ampersands.vcf", "NOTE:", "&&&&&&&&&&&&&&&&", "", 200},
    {"numbered e-mail lines", "emails.vcf", "", "EMAIL:someone@example.com\r\n", "", 100},
    {"one line", "one-line.vcf", "NOTE:", "text & <markup> \\, more text ", "", 1000},
};

void RunHostile(const BenchOptions& options, const WorkFolder& work) {
  const std::uint64_t scale = options.small ? 100'000 : 1'000'000;
  std::string description = "hostile per-contact inputs 3, " + std::to_string(scale) + "\n";
  if (!CorpusIsReady(work.path() + "/hostile", description)) {
    std::filesystem::create_directories(work.path() + "/hostile");
    for (const HostileInput& h : kHostileInputs) {
      WriteRepeatedContact(work / "hostile" + "/" + h.file, h.head, h.line, h.tail, h.megabytes * scale);
    }
    MarkCorpusReady(work.path() + "/hostile", description);
  }
  ResultTable table("contact");
  const std::string out = work / "out";
  const std::string gapFile = work / "gap.txt";
  for (const HostileInput& h : kHostileInputs) {
    const std::string input = work / "hostile" + "/" + h.file;
    const std::uint64_t inputBytes = FileSize(input);
    const double memoryGoal = 2 * static_cast<double>(inputBytes) / 1e6 + 64;
    for (const bool single : {false, true}) {
      // The CSV file and the workbook stream as the document does.
      const Beside both{.csv = true, .xlsx = true};
      const Work conversion = single ? Single(input, out + "/output.xml", true, gapFile, both)
                                     : Separate(input, out, true, gapFile, both);
      const Measurement m = MeasureBest(1, 0, conversion, [&] { RecreateFolder(out); });
      table.addCase({.name = std::string(single ? "one document, " : "per-file, ") + h.name + ", " +
                             Megabytes(inputBytes) + ", with CSV and .xlsx",
                     .measurement = m,
                     .inputBytes = inputBytes,
                     .outputBytes = TotalSize(ListFiles(out, single ? ".xml" : ".htm"))});
      table.addCheck("   peak memory", ResultTable::Figure::Peak, m.peakMegabytes,
                     "<= " + Fixed(memoryGoal, 0) + " MB (2x file + 64)", m.peakMegabytes <= memoryGoal);
      const double gap = LoadGap(gapFile);
      table.addCheck("   longest stretch without a turn", ResultTable::Figure::Milliseconds, gap * 1e3,
                     "< 1000 ms", gap >= 0 && gap < 1.0);
    }
  }
  std::printf("\nOne row per contact on hostile inputs, one run each:\n\n");
  table.print(stdout);
  std::filesystem::remove_all(out);
}

int Run(const BenchOptions& options) {
  const std::uint64_t targetBytes = options.small ? 5'000'000 : 50'000'000;
  const std::size_t targetContacts = options.small ? 9'000 : 90'000;
  const WorkFolder work(options.folder);
  // The conversion benchmark's contacts file (same generator, same seed), and
  // the same contacts until there are the given number.
  const std::vector<std::string> inputs = {work / "contacts.vcf", work / "contacts-by-count.vcf"};
  const std::string description = "per-contact corpus 2, " + std::to_string(targetBytes) + " bytes, " +
                                  std::to_string(targetContacts) + "\n";
  if (!CorpusIsReady(work.path(), description)) {
    std::printf("Generating the inputs in %s ...\n", work.path().c_str());
    const RunFigures generation = RunInChild([&]() -> std::int64_t {
      WriteContactsFile(inputs[0], targetBytes, 1);
      WriteContacts(inputs[1], targetContacts);
      MarkCorpusReady(work.path(), description);
      return 0;
    });
    if (!generation.completed) {
      std::fprintf(stderr, "generating the inputs failed: %s\n", generation.problem.c_str());
      return 1;
    }
  }
  std::printf("Best of %d runs, each in a child process of its own.\n\n", kRuns);

  ResultTable table("contact");
  const std::string out = work / "out";
  const auto measure = [&](const Work& w) {
    return MeasureBest(kRuns, kStopRepeatingAfterSeconds, w, [&] { RecreateFolder(out); });
  };
  const auto outputBytes = [&](std::string_view suffix) { return TotalSize(ListFiles(out, suffix)); };
  for (const std::string& input : inputs) {
    const std::uint64_t inputBytes = FileSize(input);
    const std::size_t contacts = CountContacts(input);
    ReadAndDiscard(input);
    const std::string file = Megabytes(inputBytes) + ", " + std::to_string(contacts) + " contacts";
    const double memoryLimit = 3 * static_cast<double>(inputBytes) / 1e6 + 64;
    for (const bool single : {false, true}) {
      const auto conversion = [&](bool perContact, Beside beside = {}) {
        return single ? Single(input, out + "/output.xml", perContact, {}, beside)
                      : Separate(input, out, perContact, {}, beside);
      };
      const std::string suffix = single ? ".xml" : ".htm";
      const std::string mode = single ? "one document" : "per-file";
      const Measurement lines = measure(conversion(false));
      table.addCase({.name = mode + ", line scanner, " + file,
                     .measurement = lines,
                     .inputBytes = inputBytes,
                     .outputBytes = outputBytes(suffix)});
      const Measurement perContact = measure(conversion(true));
      table.addCase({.name = mode + ", one row per contact",
                     .measurement = perContact,
                     .inputBytes = inputBytes,
                     .units = contacts,
                     .outputBytes = outputBytes(suffix),
                     .floor = &lines});
      if (perContact.completed && lines.completed && lines.bestSeconds > 0 && lines.bestCpuSeconds > 0) {
        const double ratio = perContact.bestSeconds / lines.bestSeconds;
        table.addCheck("   time over the line scanner's", ResultTable::Figure::Ratio, ratio,
                       "<= " + Fixed(kTimeGoal, 1), ratio <= kTimeGoal);
        const double cpuRatio = perContact.bestCpuSeconds / lines.bestCpuSeconds;
        table.addCheck("   cpu over the line scanner's", ResultTable::Figure::Ratio, cpuRatio,
                       "<= " + Fixed(kTimeGoal, 1), cpuRatio <= kTimeGoal);
      }
      table.addCheck("   peak memory", ResultTable::Figure::Peak, perContact.peakMegabytes,
                     "< " + Fixed(memoryLimit, 0) + " MB (3x file + 64)",
                     perContact.peakMegabytes < memoryLimit);
      const Measurement withCsv = measure(conversion(true, {.csv = true}));
      table.addCase({.name = mode + ", one row per contact, with CSV",
                     .measurement = withCsv,
                     .inputBytes = inputBytes,
                     .units = contacts,
                     .outputBytes = outputBytes("")});
      table.addCostChecks("over the document alone", withCsv, perContact, kCsvCostGoal);
      const Measurement withXlsx = measure(conversion(true, {.xlsx = true}));
      table.addCase({.name = mode + ", one row per contact, with .xlsx",
                     .measurement = withXlsx,
                     .inputBytes = inputBytes,
                     .units = contacts,
                     .outputBytes = outputBytes("")});
      table.addCostChecks("over the same with CSV", withXlsx, withCsv, kXlsxCostGoal);
    }
  }
  table.print(stdout);
  std::printf(
      "\nMB are 10^6 bytes. time is wall time, cpu is user + system time of the child (the better\n"
      "figure when the machine is busy). ratio is the per-contact time over the line scanner's on the\n"
      "same file in the same mode.\n");
  std::filesystem::remove_all(out);
  RunHostile(options, work);
  return 0;
}

}  // namespace
}  // namespace brevant::bench

int main(int argc, char** argv) { return brevant::bench::RunBench(argc, argv, brevant::bench::Run); }
