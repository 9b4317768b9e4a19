// Runs the built brevant-convert as a user would, in a folder of its own.
#ifndef _WIN32
#include <fcntl.h>
#endif
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <filesystem>

#include "cli/size_text.h"
#include "cli/tool_process.h"
#include "support/files/file_error.h"
#include "support/files/path_helpers.h"
#include "test_support/contact_table.h"
#include "test_support/long_form_files.h"
#include "test_support/temp_dir.h"
#include "test_support/test_texts.h"
#include "test_support/xlsx_table.h"

namespace brevant {
namespace {

namespace fs = std::filesystem;
using test::kDefaultOpening;
using test::PathText;
using test::ReadBytes;
using test::RunTool;
using test::TempDir;
using test::ToolRun;
using test::WriteBytes;

constexpr char kAnn[] =
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ann Example\r\nEMAIL;TYPE=INTERNET:ann@example.org\r\nEND:VCARD\r\n";
constexpr char kBob[] = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Bob Sample\r\nEND:VCARD\r\n";
constexpr char kFolderMissing[] = ": Folder does not exist. Please select another folder.\n";
constexpr char kMissing[] = "<missing>";
const std::string kSeparator(1, static_cast<char>(Separator()));

std::string FirstLine(const std::string& text) { return text.substr(0, text.find('\n') + 1); }

class CliRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteBytes(dir_ / "a.vcf", kAnn);
    WriteBytes(dir_ / "sub" / "b.vcf", kBob);
  }
  std::string absolute(const char* name) const { return (dir_ / name).string(); }

  TempDir dir_;
};

TEST_F(CliRunTest, EachInputGetsItsDocumentBesideIt) {
  const ToolRun run = RunTool(dir_.path(), {absolute("a.vcf"), absolute("sub/b.vcf")});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "");
  // No progress without a terminal; the summary line only, with the size of what was written.
  EXPECT_EQ(fs::file_size(dir_ / "a.htm") + fs::file_size(dir_ / "sub" / "b.htm"), 471u);
  EXPECT_EQ(run.err,
            "brevant-convert: 2 inputs, 2 documents written beside the inputs (471 bytes), 0 with nothing to "
            "convert\n");
  const std::string document = ReadBytes(dir_ / "a.htm");
  EXPECT_TRUE(document.starts_with(kDefaultOpening)) << document;
  EXPECT_NE(document.find("<td>&nbsp;Ann Example</td>"), std::string::npos);
  EXPECT_NE(ReadBytes(dir_ / "sub" / "b.htm").find("Bob Sample"), std::string::npos);
}

TEST_F(CliRunTest, RelativeInputsAreTakenFromTheWorkingFolder) {
  EXPECT_EQ(RunTool(dir_ / "sub", {"../a.vcf", "b.vcf"}).status, 0);
  EXPECT_NE(ReadBytes(dir_ / "a.htm"), kMissing);
  EXPECT_NE(ReadBytes(dir_ / "sub" / "b.htm"), kMissing);

  // Beside the first input: its folder, not the file system's root.
  EXPECT_EQ(RunTool(dir_.path(), {"-m", "single", "a.vcf", "sub/b.vcf"}).status, 0);
  const std::string document = ReadBytes(dir_ / "output.xml");
  EXPECT_NE(document.find("Ann Example"), std::string::npos);
  EXPECT_NE(document.find("Bob Sample"), std::string::npos);
  EXPECT_EQ(ReadBytes(dir_ / "sub" / "output.xml"), kMissing);
}

TEST_F(CliRunTest, OutputFolderCollectsTheResults) {
  fs::create_directory(dir_ / "out");
  EXPECT_EQ(RunTool(dir_.path(), {"-o", "out", "a.vcf", "sub/b.vcf"}).status, 0);
  EXPECT_NE(ReadBytes(dir_ / "out" / "a.htm"), kMissing);
  EXPECT_NE(ReadBytes(dir_ / "out" / "b.htm"), kMissing);
  EXPECT_EQ(ReadBytes(dir_ / "a.htm"), kMissing);

  EXPECT_EQ(RunTool(dir_ / "sub", {"b.vcf", "--mode=single", "--output-dir", absolute("out")}).status, 0);
  EXPECT_NE(ReadBytes(dir_ / "out" / "output.xml").find("Bob Sample"), std::string::npos);
  EXPECT_EQ(ReadBytes(dir_ / "sub" / "output.xml"), kMissing);
}

TEST_F(CliRunTest, PerContactGivesEveryContactItsRow) {
  WriteBytes(dir_ / "two.vcf", std::string(kAnn) + kBob);
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--per-contact", "two.vcf"}, {"--per-contact", "-m", "single", "two.vcf"}}) {
    EXPECT_EQ(RunTool(dir_.path(), args).status, 0);
  }
  const std::string document = ReadBytes(dir_ / "two.htm");
  EXPECT_NE(document.find("<tr><td>Ann Example</td><td>ann@example.org</td></tr>\r\n"
                          "<tr><td>Bob Sample</td><td></td></tr>\r\n"),
            std::string::npos)
      << document;
  // Both documents read as XML, as a browser reads output.xml.
  for (const char* name : {"two.htm", "output.xml"}) {
    const test::ContactTableText table = test::ReadContactTable(ReadBytes(dir_ / name));
    EXPECT_TRUE(table.wellFormed || !test::ChecksXml()) << name;
    EXPECT_EQ(table.rows.size(), 2u) << name;
  }
  const ToolRun help = RunTool(dir_.path(), {"--help"});
  EXPECT_NE(help.out.find("--per-contact"), std::string::npos);
}

TEST_F(CliRunTest, CsvFilesGoBesideTheDocuments) {
  const std::string mark = "\xEF\xBB\xBF";
  const ToolRun each = RunTool(dir_.path(), {"--csv", "a.vcf", "sub/b.vcf"});
  EXPECT_EQ(each.status, 0);
  EXPECT_EQ(ReadBytes(dir_ / "a.csv"),
            mark + "Display Name,Email Address\r\nAnn Example,ann@example.org\r\n");
  EXPECT_EQ(ReadBytes(dir_ / "sub" / "b.csv"), mark + "Display Name\r\nBob Sample\r\n");
  EXPECT_NE(each.err.find(": 2 inputs, 2 documents and 2 CSV files written beside the inputs ("),
            std::string::npos)
      << each.err;

  const ToolRun single =
      RunTool(dir_.path(), {"--per-contact", "-m", "single", "--csv", "a.vcf", "sub/b.vcf"});
  EXPECT_EQ(single.status, 0);
  EXPECT_EQ(ReadBytes(dir_ / "output.csv"),
            mark + "Display Name,Email Address\r\nAnn Example,ann@example.org\r\nBob Sample,\r\n");
  EXPECT_NE(single.err.find("1 document written: " + absolute("output.xml") + ", " + absolute("output.csv")),
            std::string::npos)
      << single.err;
  EXPECT_NE(RunTool(dir_.path(), {"--help"}).out.find("--csv"), std::string::npos);
}

TEST_F(CliRunTest, XlsxFilesGoBesideTheDocuments) {
  const ToolRun each = RunTool(dir_.path(), {"--xlsx", "--csv", "a.vcf", "sub/b.vcf"});
  EXPECT_EQ(each.status, 0);
  EXPECT_EQ(test::ReadXlsx(ReadBytes(dir_ / "a.xlsx")).texts(),
            (test::Cells{{"Display Name", "Email Address"}, {"Ann Example", "ann@example.org"}}));
  EXPECT_EQ(test::ReadXlsx(ReadBytes(dir_ / "sub" / "b.xlsx")).texts(),
            (test::Cells{{"Display Name"}, {"Bob Sample"}}));
  EXPECT_NE(
      each.err.find(": 2 inputs, 2 documents, 2 CSV files and 2 .xlsx files written beside the inputs ("),
      std::string::npos)
      << each.err;

  const ToolRun single =
      RunTool(dir_.path(), {"--per-contact", "-m", "single", "--xlsx", "a.vcf", "sub/b.vcf"});
  EXPECT_EQ(single.status, 0);
  EXPECT_EQ(
      test::ReadXlsx(ReadBytes(dir_ / "output.xlsx")).texts(),
      (test::Cells{{"Display Name", "Email Address"}, {"Ann Example", "ann@example.org"}, {"Bob Sample"}}));
  EXPECT_NE(single.err.find("1 document written: " + absolute("output.xml") + ", " + absolute("output.xlsx") +
                            " ("),
            std::string::npos)
      << single.err;
  EXPECT_NE(RunTool(dir_.path(), {"--help"}).out.find("--xlsx"), std::string::npos);
}

// What no column shows (machine data only, once every contact has its row) is
// named with its count, the most frequent first; in full with --verbose, even
// when quiet; never for the line scanner.
TEST_F(CliRunTest, PropertiesLeftOutAreNamedWithTheirCounts) {
  std::string card = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ann\r\nPHOTO;ENCODING=b:QUJD\r\n";
  for (const char* name : {"PRODID", "REV", "X-ABUID", "CLASS", "MAILER", "SORT-STRING"})
    card += std::string(name) + ":1\r\n";
  card += "UID:1\r\nEND:VCARD\r\n";
  WriteBytes(dir_ / "c.vcf", card + card);
  const auto summary = [](const char* size) {
    return "brevant-convert: 1 input, 1 document written beside the inputs (" + std::string(size) +
           "), 0 with nothing to convert\n";
  };
  const struct {
    std::vector<std::string> options;
    std::string err;
  } cases[] = {
      {{"--per-contact"},
       summary("1.6 kB") +
           "brevant-convert: 14 properties left out (no column for them): CLASS 2, MAILER 2, PRODID 2, "
           "REV 2, SORT-STRING 2, and 2 more names (--verbose lists them)\n"},
      {{"--per-contact", "-qv"},
       "brevant-convert: 14 properties left out (no column for them):\n"
       "brevant-convert:   CLASS 2\nbrevant-convert:   MAILER 2\nbrevant-convert:   PRODID 2\n"
       "brevant-convert:   REV 2\nbrevant-convert:   SORT-STRING 2\nbrevant-convert:   UID 2\n"
       "brevant-convert:   X-ABUID 2\n"},
      {{"--per-contact", "-q"}, ""},
      {{"--verbose"},
       summary("241 bytes") +
           "brevant-convert: The file holds several contacts, and it became one row. Convert with "
           "--per-contact "
           "to give every contact its own row.\n"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = c.options;
    args.push_back("c.vcf");
    const ToolRun run = RunTool(dir_.path(), args);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, c.err) << c.options.back();
  }
}

// A value longer than a workbook's cell holds is cut there, and a warning after
// the summary says so, quiet or not; the CSV file keeps it whole and says nothing.
TEST_F(CliRunTest, ValuesCutInAWorkbookAreNamedAfterTheSummary) {
  const std::string card =
      "BEGIN:VCARD\r\nFN:L\r\nNOTE;CHARSET=UTF-8:" + std::string(40000, 'n') + "\r\nEND:VCARD\r\n";
  WriteBytes(dir_ / "long.vcf", card + card);
  const std::string cut =
      "brevant-convert: warning: 2 values longer than a spreadsheet cell holds were cut in ";
  const struct {
    std::vector<std::string> options;
    std::string err;
  } cases[] = {
      {{"--per-contact", "--xlsx", "-q"}, cut + absolute("long.xlsx") + "\n"},
      {{"-msingle", "--per-contact", "--xlsx", "--csv", "-q"}, cut + absolute("output.xlsx") + "\n"},
      {{"--per-contact", "--csv", "-q"}, ""},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = c.options;
    args.push_back("long.vcf");
    const ToolRun run = RunTool(dir_.path(), args);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, c.err) << c.options.front();
  }
  const ToolRun loud = RunTool(dir_.path(), {"--per-contact", "--xlsx", "long.vcf"});
  EXPECT_TRUE(loud.err.ends_with("convert\n" + cut + absolute("long.xlsx") + "\n")) << loud.err;
}

TEST_F(CliRunTest, TheSummaryTellsOfFilesWhoseContactsShareARowAndNamesFilesThatAreNoVcards) {
  WriteBytes(dir_ / "two.vcf", std::string(kAnn) + kBob);
  WriteBytes(dir_ / "notes.txt", "FN:Just a note\n");
  const std::string notVcard = "brevant-convert: warning: " + absolute("notes.txt") +
                               ": not a vCard file (it holds no BEGIN:VCARD line)\n";
  const std::string hint =
      "brevant-convert: 1 of the 3 files holds several contacts, and it became one row. Convert with "
      "--per-contact to give every contact its own row.\n";
  const ToolRun each = RunTool(dir_.path(), {"two.vcf", "a.vcf", "notes.txt"});
  EXPECT_EQ(each.status, 0);  // a warning, no error
  EXPECT_EQ(
      each.err,
      notVcard +
          "brevant-convert: 3 inputs, 3 documents written beside the inputs (780 bytes), 0 with nothing "
          "to convert\n" +
          hint);
  const ToolRun single = RunTool(dir_.path(), {"-m", "single", "two.vcf", "a.vcf", "notes.txt"});
  EXPECT_EQ(single.status, 0);
  EXPECT_EQ(single.err, notVcard + "brevant-convert: 3 inputs, 1 document written: " +
                            absolute("output.xml") + " (470 bytes), 0 with nothing to convert\n" + hint);
  EXPECT_EQ(RunTool(dir_.path(), {"-q", "two.vcf", "notes.txt"}).err, notVcard);
  // Every contact has its row: no hint, but the warning all the same. Read by
  // contact, a file that is no vCard file has no contact: no document, as the
  // warning says.
  const ToolRun perContact = RunTool(dir_.path(), {"--per-contact", "two.vcf", "a.vcf", "notes.txt"});
  EXPECT_EQ(perContact.status, 0);
  EXPECT_EQ(perContact.err,
            notVcard +
                "brevant-convert: 3 inputs, 2 documents written beside the inputs (3.3 kB), 1 "
                "with nothing to convert\n");
  EXPECT_FALSE(fs::exists(dir_ / "notes.htm"));
}

TEST_F(CliRunTest, BorderAndColoursReachTheDocumentsOpening) {
  const std::string opening =
      "<html><title></title><body><table width='100%' style='color:#FF0000' border='3' "
      "bgcolor='#00FF00'><tbody>\r\n";
  EXPECT_EQ(RunTool(dir_.path(),
                    {"a.vcf", "--border", "3", "--text-color", "#ff0000", "--background-color", "#00FF00"})
                .status,
            0);
  EXPECT_EQ(FirstLine(ReadBytes(dir_ / "a.htm")), opening);

  EXPECT_EQ(RunTool(dir_.path(),
                    {"-msingle", "--border=3", "--text-color=255", "--background-color=65280", "a.vcf"})
                .status,
            0);
  // output.xml is XHTML: the same opening after its XML declaration, in the XHTML namespace.
  const std::string document = ReadBytes(dir_ / "output.xml");
  EXPECT_EQ(FirstLine(document), "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\r\n");
  EXPECT_EQ(FirstLine(document.substr(document.find('\n') + 1)),
            "<html xmlns=\"http://www.w3.org/1999/xhtml\">" + opening.substr(6));

  // A window-system value above the signed range wraps and is written as such.
  EXPECT_EQ(RunTool(dir_.path(), {"--text-color", "2147483663", "a.vcf"}).status, 0);
  EXPECT_NE(FirstLine(ReadBytes(dir_ / "a.htm")).find("style='color:#0F0080'"), std::string::npos);
}

TEST_F(CliRunTest, RunsWithNothingToDoOrNowhereToPutItAreRefused) {
  const ToolRun empty = RunTool(dir_.path(), {"-q", "-o", "missing"});
  EXPECT_EQ(empty.status, 2);
  EXPECT_EQ(empty.err,
            "brevant-convert: no FILE given\n"
            "Usage: brevant-convert [OPTION]... FILE...\n"
            "Try 'brevant-convert --help'.\n");  // files are checked before the folder

  WriteBytes(dir_ / "plain-file", "x");
  // The message names the folder as it was given.
  for (const auto& [folder, named] : {std::pair<const char*, const char*>{"missing", "missing"},
                                      {"plain-file", "plain-file"},
                                      {"", "''"}}) {
    for (const char* mode : {"each", "single"}) {
      const ToolRun run = RunTool(dir_.path(), {"-q", "-m", mode, "-o", folder, "a.vcf"});
      EXPECT_EQ(run.status, 2) << folder << " " << mode;
      EXPECT_EQ(run.err, std::string("brevant-convert: ") + named + kFolderMissing);
    }
  }
  EXPECT_EQ(ReadBytes(dir_ / "a.htm"), kMissing);
  EXPECT_EQ(ReadBytes(dir_ / "output.xml"), kMissing);
}

// A path longer than the system allows is said to be too long, not missing:
// an input (a name past 255 bytes, or a path past 4096), and the output folder.
TEST_F(CliRunTest, PathsLongerThanTheSystemAllowsAreTooLongNotMissing) {
#ifdef _WIN32
  GTEST_SKIP() << "Linux limits; Windows says the same for its 260 characters";
#else
  const std::string longName = std::string(300, 'n') + ".vcf";
  std::string deep = absolute("a.vcf").substr(0, absolute("a.vcf").rfind('/'));
  while (deep.size() < 4200) deep += "/" + std::string(200, 'd');
  for (const std::string& input : {longName, deep + "/a.vcf"}) {
    const ToolRun run = RunTool(dir_.path(), {"-q", input, "a.vcf"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "brevant-convert: " + input + ": path too long\n");
  }
  for (const char* mode : {"each", "single"}) {
    const ToolRun run = RunTool(dir_.path(), {"-q", "-m", mode, "-o", deep, "a.vcf"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "brevant-convert: " + deep + ": Path too long. Please select another folder.\n");
  }
  // A document whose name would be too long (an input of 254 bytes named "*.v"):
  // the error names it, and says so.
  const std::string stem = std::string(252, 'x');
  WriteBytes(dir_ / (stem + ".v"), kAnn);
  const ToolRun run = RunTool(dir_.path(), {"-q", stem + ".v"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err,
            "brevant-convert: " + absolute("") + stem +
                ".htm: Path too long (in Tarnwick2021/08/31.modVCF.ConvertVCFToSeparateHTML at line 546)\n");
#endif
}

// A pipe's size says nothing: "-", /dev/stdin, a "<(...)" descriptor and a named
// pipe are read to their end. The shell text feeds the tool and runs it.
TEST_F(CliRunTest, StandardInputAndPipesAreReadToTheirEnd) {
#ifdef _WIN32
  GTEST_SKIP() << "needs a POSIX shell and FIFOs";
#else
  fs::create_directory(dir_ / "out");
  ASSERT_EQ(mkfifo((dir_ / "named.vcf").c_str(), 0600), 0);
  struct PipeCase {
    std::vector<std::string> args;
    std::string shell;
    const char* document;
  };
  const PipeCase cases[] = {
      {{"-o", "out", "-"}, "cat a.vcf | \"$0\" \"$@\"", "stdin.htm"},
      {{"-o", "out", "/dev/stdin"}, "cat a.vcf | \"$0\" \"$@\"", "stdin.htm"},
      {{"-o", "out", "/dev/fd/3"}, "cat a.vcf | \"$0\" \"$@\" 3<&0", "3.htm"},
      // One document reads its inputs twice: a pipe gives its content once.
      {{"-o", "out", "-m", "single", "-"}, "cat a.vcf | \"$0\" \"$@\"", "output.xml"},
      {{"-o", "out", "-m", "single", "--per-contact", "sub/b.vcf", "/dev/stdin"},
       "cat a.vcf | \"$0\" \"$@\"",
       "output.xml"},
      {{"-o", "out", "named.vcf"}, "(timeout 20 cat a.vcf > named.vcf &); \"$0\" \"$@\"", "named.htm"},
  };
  for (const PipeCase& c : cases) {
    fs::remove(dir_ / "out" / c.document);
    // The shell ends with the tool's status; the text RunTool appends is not reached.
    const ToolRun run = RunTool(dir_.path(), c.args, c.shell + "; exit $?");
    EXPECT_EQ(run.status, 0) << c.shell << "\n" << run.err;
    EXPECT_NE(ReadBytes(dir_ / "out" / c.document).find("Ann Example</td>"), std::string::npos)
        << c.shell << " " << c.document;
  }
  // Without a folder, or read twice, standard input is a usage error.
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"-"}, {"-m", "single", "-"}, {"-o", "out", "-", "a.vcf", "--", "-"}}) {
    const ToolRun run = RunTool(dir_.path(), args, "exec </dev/null");
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.err.starts_with("brevant-convert: standard input (-) ")) << run.err;
  }
#endif
}

// An input removed while the run is at work (here while the tool waits on a
// named pipe given before it) is named and makes the run fail, in every mode,
// both ways of reading and with -q.
TEST_F(CliRunTest, InputsRemovedDuringTheRunAreNamedAndFailTheRun) {
#ifdef _WIN32
  GTEST_SKIP() << "needs a POSIX shell and FIFOs";
#else
  fs::create_directory(dir_ / "out");
  const std::string removed =
      "brevant-convert: " + absolute("later.vcf") + " was not found (removed during the run)\n";
  const std::vector<std::vector<std::string>> ways = {
      {},
      {"--per-contact"},
      {"-m", "single"},
      {"-m", "single", "--per-contact"},
      {"-q"},
      {"-q", "-m", "single", "--per-contact"},
  };
  for (const std::vector<std::string>& way : ways) {
    SCOPED_TRACE(::testing::PrintToString(way));
    fs::remove(dir_ / "named.vcf");
    ASSERT_EQ(mkfifo((dir_ / "named.vcf").c_str(), 0600), 0);
    fs::copy_file(dir_ / "a.vcf", dir_ / "later.vcf", fs::copy_options::overwrite_existing);
    std::vector<std::string> args = {"-o", "out"};
    args.insert(args.end(), way.begin(), way.end());
    args.insert(args.end(), {"named.vcf", "later.vcf"});
    // The writer's open waits for the tool's: the tool has then looked at every input once.
    const ToolRun run = RunTool(dir_.path(), args,
                                "(timeout 20 sh -c 'exec 3>named.vcf; rm later.vcf; cat a.vcf >&3' &); "
                                "\"$0\" \"$@\"; exit $?");
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_NE(run.err.find(removed), std::string::npos) << run.err;
    if (way.empty() || way.front() != "-q") {
      EXPECT_NE(run.err.find(", 1 not found"), std::string::npos) << run.err;
    } else {
      EXPECT_EQ(run.err, removed);
    }
  }
#endif
}

// Inputs that never end: a device that is no pipe or terminal is refused as it
// is named, a pipe is read up to its bound (1 GB); either way the error names
// the input, nothing is written and the earlier document stays.
TEST_F(CliRunTest, InputsThatNeverEndAreRefusedOrBounded) {
#ifdef _WIN32
  GTEST_SKIP() << "needs a POSIX shell and /dev/zero";
#else
  fs::create_directory(dir_ / "out");
  const struct {
    std::vector<std::string> args;
    std::string shell;
    const char* document;
    std::string error;
  } cases[] = {
      {{"-o", "out", "/dev/zero"},
       "\"$0\" \"$@\"",
       "zero.htm",
       "/dev/zero: " + std::string(kDeviceIsNoInput)},
      {{"-o", "out", "-m", "single", "/dev/urandom", "a.vcf"},
       "\"$0\" \"$@\"",
       "output.xml",
       "/dev/urandom: " + std::string(kDeviceIsNoInput)},
      {{"-o", "out", "-"},
       "yes NOTE:x | \"$0\" \"$@\"",
       "stdin.htm",
       "/dev/stdin: Input too long: a pipe or terminal is read up to 1024 MB, and this one gave more"},
  };
  for (const auto& c : cases) {
    WriteBytes(dir_ / "out" / c.document, "earlier");
    // The bound of a minute is the test's own: without one, such an input would take every byte of memory.
    const ToolRun run =
        RunTool(dir_.path(), c.args, "timeout 60 sh -c '" + c.shell + "' \"$0\" \"$@\"; exit $?");
    EXPECT_EQ(run.status, 1) << c.shell;
    EXPECT_TRUE(run.err.starts_with("brevant-convert: " + c.error + " (in Tarnwick")) << run.err;
    // One document of a device and a file: the file's row alone, and no row of the device's bytes.
    if (c.args.size() > 4) {
      EXPECT_NE(ReadBytes(dir_ / "out" / c.document).find("Ann Example"), std::string::npos);
    } else {
      EXPECT_EQ(ReadBytes(dir_ / "out" / c.document), "earlier");
    }
  }
#endif
}

TEST_F(CliRunTest, AMissingFileIsAnErrorAndTheOthersAreConverted) {
  WriteBytes(dir_ / "nosuch.htm", "earlier document");
  const ToolRun run = RunTool(dir_.path(), {"-q", "nosuch.vcf", "a.vcf", "gone/"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err,
            "brevant-convert: nosuch.vcf: no such file or folder\n"
            "brevant-convert: gone/: no such file or folder\n");
  EXPECT_NE(ReadBytes(dir_ / "a.htm"), kMissing);
  EXPECT_EQ(ReadBytes(dir_ / "nosuch.htm"), "earlier document");  // not removed for a typing error

  const ToolRun none = RunTool(dir_.path(), {"-q", "-m", "single", "nosuch.vcf"});
  EXPECT_EQ(none.status, 1);
  EXPECT_EQ(none.err, "brevant-convert: nosuch.vcf: no such file or folder\n");
}

// Windows takes "CON.vcf" or "com1.x.vcf" for a device wherever it stands; such
// files are converted all the same, found in a folder or named.
TEST_F(CliRunTest, FilesNamedLikeDevicesAreConverted) {
#ifndef _WIN32
  GTEST_SKIP() << "only Windows has names of devices";
#else
  const fs::path folder = dir_ / "devices";
  fs::create_directories(folder / "out");
  const std::vector<std::wstring> names = {L"AUX.vcf",  L"COM1.vcf", L"CON.vcf",  L"con.x.vcf",
                                           L"LPT1.vcf", L"NUL.vcf",  L"plain.vcf"};
  for (const std::wstring& name : names) ASSERT_TRUE(test::WriteThroughLongForm(folder / name, kAnn));
  const ToolRun found = RunTool(folder, {"-q", "-o", "out", "."});
  EXPECT_EQ(found.status, 0);
  EXPECT_EQ(found.err, "");
  EXPECT_EQ(test::NamesThroughLongForm(folder / "out").size(), names.size());
  for (const std::wstring& name : names) {
    const std::wstring document = fs::path(name).stem().wstring() + L".htm";
    EXPECT_NE(test::ReadThroughLongForm(folder / "out" / document).find("Ann Example"), std::string::npos)
        << fs::path(document);
  }
  const ToolRun named = RunTool(folder, {"CON.vcf"});
  EXPECT_EQ(named.status, 0);
  EXPECT_EQ(FirstLine(named.err).rfind("brevant-convert: 1 input, 1 document written beside the inputs", 0),
            0u)
      << named.err;
  EXPECT_NE(test::ReadThroughLongForm(folder / "CON.htm").find("Ann Example"), std::string::npos);
  test::RemoveThroughLongForm(folder);
#endif
}

TEST_F(CliRunTest, InputsThatCannotBeLookedUpSayWhy) {
#ifdef _WIN32
  GTEST_SKIP() << "symbolic links need a privilege on Windows";
#endif
  fs::create_symlink("loop-b.vcf", dir_ / "loop-a.vcf");
  fs::create_symlink("loop-a.vcf", dir_ / "loop-b.vcf");
  fs::create_symlink("self.vcf", dir_ / "self.vcf");
  fs::create_symlink("nowhere.vcf", dir_ / "dangling.vcf");
  const ToolRun run = RunTool(dir_.path(), {"-q", "loop-a.vcf", "self.vcf", "dangling.vcf", "a.vcf"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err,
            "brevant-convert: loop-a.vcf: too many levels of links\n"
            "brevant-convert: self.vcf: too many levels of links\n"
            "brevant-convert: dangling.vcf: no such file or folder\n");
  EXPECT_NE(ReadBytes(dir_ / "a.htm"), kMissing);
}

TEST_F(CliRunTest, FailedWritesAreReportedAndTheRunGoesOn) {
  WriteBytes(dir_ / "a.htm" / "keep", "a folder in the way");
  const ToolRun each = RunTool(dir_.path(), {"a.vcf", "sub/b.vcf"});
  EXPECT_EQ(each.status, 1);
  EXPECT_EQ(each.err,
            "brevant-convert: " + absolute("a.htm") +
                ": Path/File access error (in Tarnwick2021/08/31.modVCF.ConvertVCFToSeparateHTML at line "
                "546)\n"
                "brevant-convert: 2 inputs, 1 document written beside the inputs (209 bytes), 0 with nothing "
                "to convert, 1 failed\n");
  EXPECT_NE(ReadBytes(dir_ / "sub" / "b.htm"), kMissing);

  WriteBytes(dir_ / "output.xml" / "keep", "a folder in the way");
  WriteBytes(dir_ / "empty.vcf", "");
  const ToolRun single = RunTool(dir_.path(), {"-m", "single", "sub/b.vcf", "a.vcf", "empty.vcf", "-o", "."});
  EXPECT_EQ(single.status, 1);
  const std::string emptyWarning = "brevant-convert: warning: " + absolute("empty.vcf") +
                                   ": not a vCard file (it holds no BEGIN:VCARD line)\n";
  EXPECT_EQ(single.err, emptyWarning + "brevant-convert: ." + kSeparator +
                            "output.xml: Path/File access error "
                            "(in Tarnwick2021/08/31.modVCF.ConvertVCFToSingleHTML at line 842)\n"
                            // The two inputs the unwritten document would have held failed with it.
                            "brevant-convert: 3 inputs, no document written, 1 with nothing to convert, 2 "
                            "failed\n");

  const ToolRun written = RunTool(dir_.path(), {"-m", "single", "sub/b.vcf", "empty.vcf", "-o", "sub"});
  EXPECT_EQ(written.status, 0);
  EXPECT_EQ(written.err, emptyWarning + "brevant-convert: 2 inputs, 1 document written: sub" + kSeparator +
                             "output.xml (323 bytes), 1 with nothing to convert\n");
}

// One contact with many e-mail lines among many others makes a document far
// larger than its input, one row per contact: the summary says how large.
TEST_F(CliRunTest, TheSummaryNamesTheSizeOfALargeDocument) {
  std::string contacts = "BEGIN:VCARD\r\nFN:Many\r\n";
  for (int i = 0; i < 500; ++i) contacts += "EMAIL:m" + std::to_string(i) + "@x.org\r\n";
  contacts += "END:VCARD\r\n";
  for (int i = 0; i < 100; ++i) contacts += "BEGIN:VCARD\r\nFN:C" + std::to_string(i) + "\r\nEND:VCARD\r\n";
  WriteBytes(dir_ / "many.vcf", contacts);
  const ToolRun run = RunTool(dir_.path(), {"-m", "single", "--per-contact", "-o", "sub", "many.vcf"});
  EXPECT_EQ(run.status, 0);
  const std::uintmax_t size = fs::file_size(dir_ / "sub" / "output.xml");
  ASSERT_GT(size, 20 * contacts.size());
  EXPECT_EQ(run.err, "brevant-convert: 1 input, 1 document written: sub" + kSeparator + "output.xml (" +
                         SizeText(size) + "), 0 with nothing to convert\n");
}

TEST_F(CliRunTest, AReadOnlyOutputFolderFailsEveryWrite) {
#ifdef _WIN32
  GTEST_SKIP() << "needs file modes and an unprivileged user";
#else
  ASSERT_TRUE(test::CanRunUnprivileged()) << "cannot drop privileges to check write permissions";
  fs::create_directory(dir_ / "locked");
  fs::permissions(dir_ / "locked", fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                       fs::perms::group_exec | fs::perms::others_read |
                                       fs::perms::others_exec);
  const int status = test::RunUnprivileged("cd '" + dir_.path().string() + "' && '" +
                                           test::UnprivilegedCopy(BREVANT_CLI_PATH).string() +
                                           "' -o locked a.vcf 2>err.txt");
  EXPECT_EQ(status, 1);
  const std::string err = ReadBytes(dir_ / "err.txt");
  EXPECT_TRUE(err.starts_with("brevant-convert: locked/a.htm: Permission denied (")) << err;
  EXPECT_NE(err.find("at line 546)\n"), std::string::npos) << err;
  EXPECT_TRUE(fs::is_empty(dir_ / "locked"));
#endif
}

TEST_F(CliRunTest, AnyFileNameIsConverted) {
#ifdef _WIN32
  GTEST_SKIP() << "names that are not UTF-8 exist only on POSIX systems";
#else
  WriteBytes(dir_ / "-x.vcf", kAnn);
  WriteBytes(dir_ / "caf\xE9.vcf", kAnn);  // Latin-1, not UTF-8
  EXPECT_EQ(RunTool(dir_.path(), {"--", "-x.vcf", "caf\xE9.vcf"}).status, 0);
  EXPECT_NE(ReadBytes(dir_ / "-x.htm"), kMissing);
  EXPECT_NE(ReadBytes(dir_ / "caf\xE9.htm"), kMissing);
#endif
}

TEST_F(CliRunTest, HelpAndVersionAnswerAndUsageErrorsConvertNothing) {
  const ToolRun help = RunTool(dir_.path(), {"a.vcf", "-h"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("--output-dir=DIR"), std::string::npos);
  EXPECT_NE(help.out.find("\nExamples:\n"), std::string::npos);
  EXPECT_TRUE(help.out.ends_with("\nReport bugs to: support@ambervale.example\n"));
  std::size_t lineStart = 0;
  for (std::size_t end = help.out.find('\n'); end != std::string::npos; end = help.out.find('\n', end + 1)) {
    EXPECT_LE(end - lineStart, 79u) << help.out.substr(lineStart, end - lineStart);
    lineStart = end + 1;
  }

  const ToolRun version = RunTool(dir_.path(), {"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_TRUE(version.out.starts_with("brevant-convert 0.1.0\n")) << version.out;
  EXPECT_NE(version.out.find("\nLicense: MIT"), std::string::npos) << version.out;

  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"--bogus", "a.vcf"},
                                             {"a.vcf", "-m"},
                                             {"-m", "both", "a.vcf"},
                                             {"--text-color", "#12345", "a.vcf"}}) {
    const ToolRun run = RunTool(dir_.path(), args);
    EXPECT_EQ(run.status, 2) << args[0];
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(run.err.starts_with("brevant-convert: ")) << run.err;
    EXPECT_TRUE(run.err.ends_with("\nTry 'brevant-convert --help'.\n")) << run.err;
  }
  EXPECT_EQ(ReadBytes(dir_ / "a.htm"), kMissing);  // neither help nor a usage error converts
}

// A tree whose files come out level by level, each folder's names in the order
// of their upper-cased form.
class CliFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const fs::path tree = dir_ / "tree";
    WriteBytes(tree / "b.vcf", Card("B"));
    WriteBytes(tree / "A.VCF", Card("A"));
    WriteBytes(tree / "~lock.vcf", Card("lock"));
    WriteBytes(tree / ".hidden.vcf", Card("hidden"));
    WriteBytes(tree / "notes.txt", Card("txt"));
    WriteBytes(tree / "sub" / "c.vcf", Card("C"));
    WriteBytes(tree / "sub" / "deeper" / "d.vcf", Card("D"));
    WriteBytes(tree / "other" / "e.vcf", Card("E"));
    fs::create_directories(dir_ / "empty" / "nothing here");
  }

  static std::string Card(const std::string& name) { return "BEGIN:VCARD\nFN:" + name + "\nEND:VCARD\n"; }

  std::string absolute(const std::string& name) const { return (dir_ / name).string(); }

  // The display names of the rows of a one-document result, in order.
  static std::string Rows(const fs::path& document) {
    std::string names;
    const std::string text = ReadBytes(document);
    for (std::size_t at = text.find("<td>&#160;"); at != std::string::npos;
         at = text.find("<td>&#160;", at + 1)) {
      names += text.substr(at + 10, text.find("</td>", at) - at - 10);
    }
    return names;
  }

  TempDir dir_;
};

TEST_F(CliFolderTest, SingleModeTakesTheTreeLevelByLevel) {
  const ToolRun run = RunTool(dir_.path(), {"-m", "single", "tree"});
  EXPECT_EQ(run.status, 0) << run.err;
  // The document goes beside the first file found, which is in the top folder.
  EXPECT_EQ(Rows(dir_ / "tree" / "output.xml"), "ABECD");
}

TEST_F(CliFolderTest, FoldersExpandInPlaceAmongFiles) {
  WriteBytes(dir_ / "first.vcf", Card("F"));
  WriteBytes(dir_ / "last.vcf", Card("L"));
  const ToolRun run = RunTool(dir_.path(), {"-m", "single", "first.vcf", "tree/sub", "last.vcf"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Rows(dir_ / "output.xml"), "FCDL");
}

TEST_F(CliFolderTest, ExtensionChoosesTheFiles) {
  const ToolRun all = RunTool(dir_.path(), {"-m", "single", "--ext", "*", "-o", ".", "tree"});
  EXPECT_EQ(all.status, 0) << all.err;
  EXPECT_EQ(Rows(dir_ / "output.xml"), "ABtxtECD");
  const ToolRun text = RunTool(dir_.path(), {"--ext=TXT", "tree"});
  EXPECT_EQ(text.status, 0) << text.err;
  EXPECT_TRUE(fs::exists(dir_ / "tree" / "notes.htm"));
  EXPECT_FALSE(fs::exists(dir_ / "tree" / "b.htm"));
}

TEST_F(CliFolderTest, NoMatchIsRefusedAndAnEmptyExtensionIsAUsageError) {
  // The refusal names the folders scanned and what they were scanned for.
  const ToolRun none = RunTool(dir_.path(), {"empty"});
  EXPECT_EQ(none.status, 2);
  EXPECT_EQ(none.err, "brevant-convert: No files added. No file ending in \".vcf\" was found in empty.\n");
  const ToolRun two = RunTool(dir_.path(), {"--ext=VCARD", "empty", "tree/sub/"});
  EXPECT_EQ(two.status, 2);
  EXPECT_EQ(two.err,
            "brevant-convert: No files added. No file ending in \".VCARD\" was found in empty, tree/sub/.\n");
  const ToolRun any = RunTool(dir_.path(), {"--ext", "*", "-q", "empty/nothing here"});
  EXPECT_EQ(any.status, 2);
  EXPECT_EQ(any.err, "brevant-convert: No files added. No file was found in empty/nothing here.\n");
  const ToolRun empty = RunTool(dir_.path(), {"--ext", "", "tree"});
  EXPECT_EQ(empty.status, 2);
  EXPECT_NE(empty.err.find("empty extension"), std::string::npos) << empty.err;
  EXPECT_FALSE(fs::exists(dir_ / "tree" / "b.htm"));
}

TEST_F(CliFolderTest, WhatTheScanHadToLeaveOutIsNamedAndFailsTheRun) {
#ifdef _WIN32
  GTEST_SKIP() << "needs file modes and an unprivileged user";
#else
  const fs::path tree = dir_ / "tree";
  WriteBytes(tree / "locked" / "x.vcf", Card("X"));
  fs::permissions(tree / "locked", fs::perms::none);
  WriteBytes(tree / "bad\xFF" / "y.vcf", Card("Y"));     // not UTF-8
  WriteBytes(tree / "esc\x1b[2J" / "z.vcf", Card("Z"));  // a control character
  WriteBytes(tree / "card\xFE.vcf", Card("W"));
  fs::permissions(dir_ / "empty", fs::perms::all);
  ASSERT_TRUE(test::CanRunUnprivileged()) << "cannot drop privileges to check an unreadable folder";
  const int status = test::RunUnprivileged("cd '" + dir_.path().string() + "' && '" +
                                           test::UnprivilegedCopy(BREVANT_CLI_PATH).string() +
                                           "' -q -m single -o empty tree 2>err.txt");
  EXPECT_EQ(status, 1);
  const std::string err = ReadBytes(dir_ / "err.txt");
  // Each one named once, safe for the terminal; "~" names and hidden files stay silent.
  for (const std::string& line :
       {"brevant-convert: warning: " + absolute("tree/locked/") + ": cannot open the folder; left out\n",
        "brevant-convert: warning: " + absolute("tree/bad\xEF\xBF\xBD") +
            ": name is not valid UTF-8 or holds control characters; left out\n",
        "brevant-convert: warning: " + absolute("tree/esc?[2J") +
            ": name is not valid UTF-8 or holds control characters; left out\n",
        "brevant-convert: warning: " + absolute("tree/card\xEF\xBF\xBD.vcf") +
            ": name is not valid UTF-8 or holds control characters; left out\n"}) {
    EXPECT_NE(err.find(line), std::string::npos) << line << "in:\n" << err;
  }
  EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 4) << err;
  EXPECT_EQ(Rows(dir_ / "empty" / "output.xml"), "ABECD");
#endif
}

TEST_F(CliFolderTest, TheTreeIsLeftAsItWas) {
  std::vector<fs::path> before;
  for (const auto& entry : fs::recursive_directory_iterator(dir_.path())) before.push_back(entry.path());
  const ToolRun run = RunTool(dir_.path(), {"-m", "single", "-o", (dir_ / "empty").string(), "tree"});
  EXPECT_EQ(run.status, 0) << run.err;
  std::vector<fs::path> after;
  for (const auto& entry : fs::recursive_directory_iterator(dir_.path())) {
    if (entry.path().filename() != "output.xml") after.push_back(entry.path());
  }
  std::sort(before.begin(), before.end());
  std::sort(after.begin(), after.end());
  EXPECT_EQ(after, before);
}

}  // namespace
}  // namespace brevant
