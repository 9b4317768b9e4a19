// Measures the peak memory of every way of converting (per-file and one
// document, line scanner and one row per contact) on inputs built to make
// memory grow: one value of ampersands, which escaping makes five times longer;
// a contact with millions of numbered e-mail lines; one line of 1 GB; a value
// folded over millions of lines, and one broken by millions of soft line breaks.
// The goal for every case is at most twice the input plus 64 MB. Then an
// export of ordinary contacts at two sizes (200 MB and 800 MB) in every mode,
// with the CSV file and with the workbook: what each run holds beyond its
// input, at both sizes, and how much the peak grew per MB of input between
// them (the goal for memory that does not grow with the input is 0; the
// whole input, still read into memory, shows as 1). Every run happens in a
// child process of its own, so its peak memory is its own. It always exits
// with 0: it measures, the reader judges.
//
//   brevant_memory_bench [--dir DIR] [--small]
//
// --dir keeps the generated inputs in DIR and uses them again on the next run;
// --small makes everything ten times smaller for a quick look. The full inputs
// take 2.8 GB of disk, and the documents written meanwhile up to 1.5 GB more.

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "engine/convert/one_document_conversion.h"
#include "engine/convert/per_input_conversion.h"
#include "support/bench_host.h"
#include "support/bench_options.h"
#include "support/child_measure.h"
#include "support/corpus_files.h"
#include "support/file_io.h"
#include "support/result_table.h"
#include "support/text/utf8.h"
#include "support/work_folder.h"

namespace brevant::bench {
namespace {

constexpr std::uint64_t kMegabyte = 1'000'000;
constexpr double kGoalFactor = 2;
constexpr double kGoalAllowance = 64;  // MB

class ModeHost final : public BenchHost {
 public:
  explicit ModeHost(bool perContact) : perContact_(perContact) {}
  bool oneRowPerContact() override { return perContact_; }

 private:
  bool perContact_;
};

struct Input {
  std::string name;
  std::string file;
  std::uint64_t megabytes;  // at full scale
  std::string head;
  std::string piece;
  std::string tail;
};

// The numbered e-mail lines are those of the conversion benchmark's lists.
std::vector<Input> Inputs(const WorkFolder& work) {
  return {
      {"NOTE of ampersands", work / "note-ampersands.vcf", 200,
       "BEGIN:VCARD\r\nFN:Amp\r\nNOTE;LANGUAGE=en:", "&", "\r\nEND:VCARD\r\n"},
      {"numbered e-mail lines", work / "numbered-emails.vcf", 100, "", "", ""},
      {"one line", work / "one-line.vcf", 1000, "NOTE;LANGUAGE=en:", "words & <marks> and =0D=0A= breaks; ",
       ""},
      {"folded lines", work / "folded-lines.vcf", 100, "BEGIN:VCARD\r\nFN:Folded\r\nX-LONG:start", "\r\n x",
       "\r\nEND:VCARD\r\n"},
      {"folded lines", work / "folded-lines-300.vcf", 300, "BEGIN:VCARD\r\nFN:Folded\r\nX-LONG:start",
       "\r\n x", "\r\nEND:VCARD\r\n"},
      {"soft line breaks", work / "soft-breaks.vcf", 100,
       "BEGIN:VCARD\r\nFN:Soft\r\nX-SOFT;ENCODING=QUOTED-PRINTABLE:start", "=\r\nx", "\r\nEND:VCARD\r\n"},
  };
}

bool Generate(const WorkFolder& work, const std::vector<Input>& inputs, std::uint64_t scaleDown) {
  const std::string description = "memory corpus 2, 1/" + std::to_string(scaleDown) + " scale\n";
  if (CorpusIsReady(work.path(), description)) return true;
  std::printf("Generating the inputs in %s ...\n", work.path().c_str());
  const RunFigures generation = RunInChild([&]() -> std::int64_t {
    for (const Input& input : inputs) {
      const std::uint64_t bytes = input.megabytes * kMegabyte / scaleDown;
      if (input.piece.empty()) {
        // "EMAIL;TYPE=INTERNET:userN@example.com" and CR LF: about 40 bytes a line.
        WriteEmailListFile(input.file, static_cast<std::size_t>(bytes / 40));
      } else {
        WriteRepeatedFile(input.file, input.head, input.piece, bytes, input.tail);
      }
    }
    MarkCorpusReady(work.path(), description);
    return 0;
  });
  if (!generation.completed) std::fprintf(stderr, "generating failed: %s\n", generation.problem.c_str());
  return generation.completed;
}

// A few contacts as address books export them, repeated to fill an export.
constexpr char kOrdinaryContacts[] =
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:J\xC3\xB6rg M\xC3\xBCller\r\nN:M\xC3\xBCller;J\xC3\xB6rg;;;\r\n"
    "ORG:Tarn Logistics;Freight\r\nTEL;TYPE=CELL:+49 170 1234567\r\nTEL;TYPE=HOME:030 1234567\r\n"
    "item1.EMAIL;TYPE=INTERNET:joerg@example.org\r\nitem1.X-ABLabel:Other\r\n"
    "ADR;TYPE=HOME:;;Lindenstra\xC3\x9F"
    "e 8;M\xC3\xBCnchen;BY;80331;Germany\r\n"
    "NOTE:Met at the fair\\, 2019.\\nLikes tea; not coffee. This line is long enough that the\r\n"
    "  service folded it.\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:2.1\r\nN:Keller;Maria;;;\r\nFN:Maria Keller\r\n"
    "TEL;WORK;FAX:+49 40 555\r\nEMAIL;INTERNET:maria@example.org\r\n"
    "NOTE;ENCODING=QUOTED-PRINTABLE:Stra=C3=9Fe gesperrt=0D=0ABitte anrufen\r\nEND:VCARD\r\n";

Work Conversion(const std::string& input, const std::string& out, bool single, bool perContact,
                std::optional<OutputFormat> beside = std::nullopt) {
  return [input = FromUtf8(input), out = FromUtf8(out), single, perContact, beside]() -> std::int64_t {
    ModeHost host(perContact);
    if (beside) host.setSavesBeside(*beside, true);
    if (single) {
      host.setInputPaths({input});
      ConvertToOneDocument(host, out + u"/output.xml");
    } else {
      host.setChosenFolder(out);
      ConvertPerInput(host, input);
    }
    host.printErrors(stderr);
    return host.errorCount();
  };
}

int Run(const BenchOptions& options) {
  const std::uint64_t scaleDown = options.small ? 10 : 1;
  const WorkFolder work(options.folder);
  const std::vector<Input> inputs = Inputs(work);
  if (!Generate(work, inputs, scaleDown)) return 1;
  std::printf("One run of each case, in a child process of its own.\n\n");

  ResultTable table("run");
  const std::string out = work / "out";
  for (const Input& input : inputs) {
    const std::uint64_t bytes = FileSize(input.file);
    const std::string inputName = input.name + " (" + Fixed(static_cast<double>(bytes) / 1e6, 0) + " MB)";
    const double goal = kGoalFactor * static_cast<double>(bytes) / 1e6 + kGoalAllowance;
    ReadAndDiscard(input.file);
    for (const bool perContact : {false, true}) {
      for (const bool single : {false, true}) {
        const std::string mode =
            std::string(single ? "one document" : "per-file") + (perContact ? ", per contact" : "");
        const Measurement m =
            MeasureBest(1, 0, Conversion(input.file, out, single, perContact), [&] { RecreateFolder(out); });
        table.addCase({.name = inputName + ", " + mode,
                       .measurement = m,
                       .inputBytes = bytes,
                       .outputBytes = TotalSize(ListFiles(out, single ? ".xml" : ".htm"))});
        table.addCheck("   peak memory", ResultTable::Figure::Peak, m.peakMegabytes,
                       "<= " + Fixed(goal, 0) + " MB (2x input + 64)",
                       m.completed && m.peakMegabytes <= goal);
        std::filesystem::remove_all(out);
      }
    }
  }
  table.print(stdout);

  // An ordinary export at two sizes: what every mode holds beyond the input, and how it grows.
  std::printf("\nAn export of ordinary contacts at two sizes, one run of each case:\n\n");
  const std::uint64_t sizes[] = {200 * kMegabyte / scaleDown, 800 * kMegabyte / scaleDown};
  std::vector<std::string> exports;
  for (const std::uint64_t size : sizes) {
    exports.push_back(work / ("export-" + std::to_string(size / kMegabyte) + ".vcf"));
    if (!std::filesystem::exists(exports.back()) || FileSize(exports.back()) < size)
      WriteRepeatedFile(exports.back(), "", kOrdinaryContacts, size, "");
  }
  ResultTable grows("run");
  for (const bool perContact : {false, true}) {
    for (const bool single : {false, true}) {
      for (const std::optional<OutputFormat> beside :
           {std::optional<OutputFormat>(), std::optional(OutputFormat::Csv),
            std::optional(OutputFormat::Xlsx)}) {
        // A row per file of a whole export has more columns than a workbook holds.
        if (!perContact && beside == OutputFormat::Xlsx) continue;
        const std::string mode = std::string(single ? "one document" : "per-file") +
                                 (perContact ? ", per contact" : ", line scanner") +
                                 (beside == OutputFormat::Csv    ? ", CSV"
                                  : beside == OutputFormat::Xlsx ? ", workbook"
                                                                 : "");
        double peaks[2] = {0, 0};
        double inputs[2] = {0, 0};
        for (std::size_t k = 0; k < 2; ++k) {
          inputs[k] = static_cast<double>(FileSize(exports[k])) / 1e6;
          ReadAndDiscard(exports[k]);
          const Measurement m = MeasureBest(1, 0, Conversion(exports[k], out, single, perContact, beside),
                                            [&] { RecreateFolder(out); });
          peaks[k] = m.completed ? m.peakMegabytes : -1;
          grows.addCheck(mode + ", " + Fixed(inputs[k], 0) + " MB: beyond the input",
                         ResultTable::Figure::Peak, peaks[k] - inputs[k], "<= 64 MB",
                         m.completed && peaks[k] - inputs[k] <= 64);
          std::filesystem::remove_all(out);
        }
        const double growth = (peaks[1] - peaks[0]) / (inputs[1] - inputs[0]);
        grows.addCheck(mode + ": peak MB per input MB", ResultTable::Figure::Ratio, growth,
                       "0 (1: input held)", growth < 0.05);
      }
    }
  }
  grows.print(stdout);
  std::printf(
      "\nMB are 10^6 bytes. peak MB is the child's maximum resident set, taken from the system when the\n"
      "child ended. time is wall time, cpu is user + system time of the child.\n");
  return 0;
}

}  // namespace
}  // namespace brevant::bench

int main(int argc, char** argv) { return brevant::bench::RunBench(argc, argv, brevant::bench::Run); }
