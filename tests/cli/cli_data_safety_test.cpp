// brevant-convert stopped by limits and signals: an earlier document stays as it
// was or is replaced whole, and no temporary file is ever left behind.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <sstream>
#include <thread>

#include "cli/tool_process.h"
#include "test_support/temp_dir.h"

namespace brevant {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::RunTool;
using test::TempDir;
using test::ToolRun;
using test::WriteBytes;

constexpr char kEarlier[] = "earlier document";

// Everything in the folder, so that a leftover of any name shows.
std::vector<std::string> Names(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// A vCard whose document takes a while to write: many short cells.
std::string ManyCells(std::size_t cells) {
  std::string text;
  text.reserve(cells * 20);
  for (std::size_t i = 0; i < cells; ++i) text += "TITLE:title " + std::to_string(i) + "\r\n";
  return text;
}

TEST(CliDataSafety, AnInputIsNotDestroyedByAnotherInputsConversion) {
  TempDir dir;
  const std::string page = "<html><body>a real page</body></html>\n";
  WriteBytes(dir / "in" / "notes.htm", page);
  WriteBytes(dir / "in" / "notes.vcf", "");
  const ToolRun run = RunTool(dir.path(), {"--ext", "*", "in"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(ReadBytes(dir / "in" / "notes.htm"), page);
}

TEST(CliDataSafety, AFileSizeLimitFailsTheWriteAndTheRunGoesOn) {
  TempDir dir;
  WriteBytes(dir / "big.vcf", ManyCells(20'000));
  WriteBytes(dir / "big.htm", kEarlier);
  WriteBytes(dir / "small.vcf", "FN:Ann\n");
  // 200 blocks of 512 bytes: far less than the big document.
  const ToolRun run = RunTool(dir.path(), {"big.vcf", "small.vcf"}, "ulimit -f 200");
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_NE(run.err.find("Disk full"), std::string::npos) << run.err;
  EXPECT_EQ(ReadBytes(dir / "big.htm"), kEarlier);
  EXPECT_NE(ReadBytes(dir / "small.htm").find("Ann"), std::string::npos);
  EXPECT_EQ(Names(dir.path()), (std::vector<std::string>{"big.htm", "big.vcf", "small.htm", "small.vcf"}));
}

// Whether the tool has a file open in the folder other than the input: the
// document it is writing.
bool WritingIn(pid_t tool, const fs::path& folder, const fs::path& input) {
  std::error_code error;
  for (const auto& entry : fs::directory_iterator("/proc/" + std::to_string(tool) + "/fd", error)) {
    const fs::path target = fs::read_symlink(entry.path(), error);
    if (!error && target.parent_path() == folder && target != input) return true;
  }
  return false;
}

TEST(CliDataSafety, EndingSignalsLeaveNoTemporaryFileAndEndWithTheSignalsStatus) {
  TempDir dir;
  const fs::path input = dir / "work" / "big.vcf";
  WriteBytes(input, ManyCells(1'500'000));
  for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP}) {
    WriteBytes(dir / "work" / "big.htm", kEarlier);
    const pid_t tool = test::StartTool(dir.path(), {"work/big.vcf"}, dir / "out.txt", dir / "err.txt");
    ASSERT_GT(tool, 0);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!WritingIn(tool, dir / "work", input) && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    kill(tool, signalNumber);
    EXPECT_EQ(test::WaitForTool(tool), 128 + signalNumber) << ReadBytes(dir / "err.txt");
    // Stopped half-way, or just after the new document was put in place.
    const std::string document = ReadBytes(dir / "work" / "big.htm");
    EXPECT_TRUE(document == kEarlier || document.ends_with("</html>\r\n")) << document.substr(0, 100);
    EXPECT_EQ(Names(dir / "work"), (std::vector<std::string>{"big.htm", "big.vcf"}))
        << "signal " << signalNumber;
  }
}

// A document with a note of 40,000 quotes: some 41 KB as HTML, twice that as
// CSV, where every quote is doubled.
std::string QuotedNote() {
  return "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ann\r\nNOTE;X=1:" + std::string(40'000, '"') + "\r\nEND:VCARD\r\n";
}

// A full disk (a file-size limit between the two sizes) lets the document be
// written and not its CSV file: neither is placed, both earlier files stay,
// the error names the CSV file, and no temporary file is left.
TEST(CliDataSafety, ADocumentAndItsCsvArePlacedTogetherOrNotAtAll) {
  const struct {
    std::vector<std::string> args;
    const char* document;
    const char* csv;
  } cases[] = {
      {{"--csv", "a.vcf"}, "a.htm", "a.csv"},
      {{"--csv", "--per-contact", "a.vcf"}, "a.htm", "a.csv"},
      {{"--csv", "-m", "single", "a.vcf"}, "output.xml", "output.csv"},
      {{"--csv", "-m", "single", "--per-contact", "a.vcf"}, "output.xml", "output.csv"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.size());
    TempDir dir;
    WriteBytes(dir / "a.vcf", QuotedNote());
    WriteBytes(dir / c.document, kEarlier);
    WriteBytes(dir / c.csv, "earlier CSV");
    // 120 blocks of 512 bytes: room for the document, not for its CSV file.
    const ToolRun run = RunTool(dir.path(), c.args, "ulimit -f 120");
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_NE(run.err.find((dir / c.csv).string() + ": Disk full"), std::string::npos) << run.err;
    EXPECT_EQ(ReadBytes(dir / c.document), kEarlier);
    EXPECT_EQ(ReadBytes(dir / c.csv), "earlier CSV");
    EXPECT_EQ(Names(dir.path()).size(), 3u);
    // With room for both, both are placed.
    EXPECT_EQ(RunTool(dir.path(), c.args).status, 0);
    EXPECT_NE(ReadBytes(dir / c.document).find("Ann"), std::string::npos);
    EXPECT_NE(ReadBytes(dir / c.csv).find("Ann"), std::string::npos);
  }
}

// A symbolic link at the name of any file a run writes (planted in a shared
// folder by another user, say) is replaced by that file; the file it names (that
// user's own .bashrc) is never written.
TEST(CliDataSafety, ALinkAtAnOutputsNameIsReplacedNotFollowed) {
  const struct {
    std::vector<std::string> args;
    std::vector<std::string> outputs;
  } cases[] = {
      {{"--csv", "-m", "single", "-o", "shared", "a.vcf"}, {"output.xml", "output.csv"}},
      {{"--csv", "-m", "single", "--per-contact", "-o", "shared", "a.vcf"}, {"output.xml", "output.csv"}},
      {{"--csv", "-o", "shared", "a.vcf"}, {"a.htm", "a.csv"}},
      {{"--csv", "--per-contact", "-o", "shared", "a.vcf"}, {"a.htm", "a.csv"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.outputs[0] + " " + std::to_string(c.args.size()));
    TempDir dir;
    WriteBytes(dir / "a.vcf", "BEGIN:VCARD\r\nFN:Ann\r\nEND:VCARD\r\n");
    fs::create_directories(dir / "shared");
    for (const std::string& output : c.outputs) {
      WriteBytes(dir / "victim" / output, "the other user's file");
      fs::create_symlink(dir / "victim" / output, dir / "shared" / output);
    }
    const ToolRun run = RunTool(dir.path(), c.args);
    EXPECT_EQ(run.status, 0) << run.err;
    for (const std::string& output : c.outputs) {
      EXPECT_EQ(ReadBytes(dir / "victim" / output), "the other user's file") << output;
      EXPECT_FALSE(fs::is_symlink(dir / "shared" / output)) << output;
      EXPECT_NE(ReadBytes(dir / "shared" / output).find("Ann"), std::string::npos) << output;
    }
    EXPECT_EQ(Names(dir / "shared"), (std::vector<std::string>{c.outputs[1], c.outputs[0]}));
  }
}

// The system calls of a run that concern its documents, in order, as strace
// shows them; empty when strace cannot trace here.
std::vector<std::string> FileCalls(const fs::path& folder, const std::vector<std::string>& args) {
  const fs::path trace = folder / "trace.txt";
  const ToolRun run =
      RunTool(folder, args,
              // A leak check cannot run under a tracer (in a sanitizer build).
              "ASAN_OPTIONS=\"$ASAN_OPTIONS:detect_leaks=0\" exec strace -f -qq -o '" + trace.string() +
                  "' -e trace=openat,fdatasync,fsync,syncfs,linkat,rename,renameat,renameat2,"
                  "unlinkat \"$0\" \"$@\"");
  EXPECT_EQ(run.status, 0) << run.err;
  std::vector<std::string> calls;
  std::istringstream lines(ReadBytes(trace));
  for (std::string line; std::getline(lines, line);) {
    // Those of the output folder only: not the program's libraries, nor its inputs.
    if (line.find("\"out/") != std::string::npos || line.find("sync") != std::string::npos ||
        line.find("link") != std::string::npos || line.find("rename") != std::string::npos)
      calls.push_back(line.substr(line.find_first_not_of(' ', line.find(' '))));  // without the process id
  }
  fs::remove(trace);
  return calls;
}

bool Contains(const std::string& line, std::initializer_list<const char*> parts) {
  return std::all_of(parts.begin(), parts.end(),
                     [&line](const char* part) { return line.find(part) != std::string::npos; });
}

// A power cut must not cost an earlier document, nor a run that said it was
// done its new ones, and never leave a group half placed: every file gets a
// hidden name of its group, one sync takes all of them to the disk, then the
// groups are placed (an earlier file keeping a hidden name of the group), and
// after the run's last sync the hidden names go. No file is synced on its own.
TEST(CliDataSafety, WhatARunWritesIsOnDiskBeforeItSaysItIsDone) {
  TempDir dir;
  if (RunTool(dir.path(), {"--version"}, "strace -o /dev/null true || exit 3").status != 0)
    GTEST_SKIP() << "strace is not installed or cannot trace here (scripts/deps.sh installs it)";
  fs::create_directory(dir / "out");
  for (const char* name : {"a", "b", "c"})
    WriteBytes(dir / (std::string(name) + ".vcf"), "FN:" + std::string(name) + "\n");
  WriteBytes(dir / "out" / "a.htm", kEarlier);
  WriteBytes(dir / "out" / "output.xml", kEarlier);
  for (const bool single : {false, true}) {
    SCOPED_TRACE(single ? "one document" : "per file");
    const std::vector<std::string> calls = FileCalls(
        dir.path(), single ? std::vector<std::string>{"-q", "-m", "single", "--csv", "-o", "out", "a.vcf",
                                                      "b.vcf", "c.vcf"}
                           : std::vector<std::string>{"-q", "--csv", "-o", "out", "a.vcf", "b.vcf", "c.vcf"});
    std::string all;
    for (const std::string& call : calls) all += call + "\n";
    const auto first = [&calls](auto test) { return std::find_if(calls.begin(), calls.end(), test); };
    const auto syncs = std::count_if(calls.begin(), calls.end(), [](const std::string& call) {
      return call.starts_with("syncfs(") || call.starts_with("fsync(");
    });
    EXPECT_EQ(syncs, 2) << all;
    EXPECT_EQ(first([](const std::string& call) { return call.starts_with("fdatasync("); }), calls.end())
        << all;
    const auto firstSync = first([](const std::string& call) { return call.starts_with("syncfs("); });
    const auto lastSync = std::find_if(calls.rbegin(), calls.rend(),
                                       [](const std::string& call) { return call.starts_with("syncfs("); })
                              .base() -
                          1;
    const std::string replaced = single ? "\"output.xml\"" : "\"a.htm\"";
    // The earlier document keeps a hidden name of its group, the new one takes its name.
    const auto kept = first([&](const std::string& call) {
      return call.starts_with("linkat(") && call.find(", " + replaced) != std::string::npos &&
             call.find("K\", 0)") != std::string::npos;
    });
    const auto placing = first([&](const std::string& call) {
      return call.starts_with("renameat(") && call.find(replaced) != std::string::npos;
    });
    ASSERT_NE(kept, calls.end()) << all;
    ASSERT_NE(placing, calls.end()) << all;
    EXPECT_LT(firstSync, kept) << all;
    EXPECT_LT(kept, placing) << all;
    // Every file was named in its group before the first sync; every hidden name goes after the last.
    const std::size_t files = single ? 2 : 6;
    EXPECT_EQ(std::count_if(calls.begin(), firstSync,
                            [](const std::string& call) {
                              return Contains(call, {"linkat(", "/proc/self/fd/"}) &&
                                     call.find("N\", AT_SYMLINK_FOLLOW) = 0") != std::string::npos;
                            }),
              static_cast<std::ptrdiff_t>(files))
        << all;
    EXPECT_EQ(std::count_if(lastSync, calls.end(),
                            [](const std::string& call) {
                              return call.starts_with("unlinkat(") &&
                                     call.find(".brevant-") != std::string::npos;
                            }),
              static_cast<std::ptrdiff_t>(files))
        << all;
    EXPECT_TRUE(calls.back().starts_with("unlinkat(")) << all;
  }
}

// Into an empty folder every file is new, and none is synced on its own: the
// batch's content goes to disk in one sync of the file system before any file
// takes its name (a sync of the folder alone would leave the content in the
// cache), and the names go in one more sync after the last is placed.
TEST(CliDataSafety, NewFilesInAnEmptyFolderAreSyncedBeforeAndAfterTheyTakeTheirNames) {
  if (RunTool(TempDir().path(), {"--version"}, "strace -o /dev/null true || exit 3").status != 0)
    GTEST_SKIP() << "strace is not installed or cannot trace here (scripts/deps.sh installs it)";
  for (const bool single : {false, true}) {
    SCOPED_TRACE(single ? "one document" : "per file");
    TempDir dir;
    fs::create_directory(dir / "out");
    for (const char* name : {"a", "b"}) WriteBytes(dir / (std::string(name) + ".vcf"), "FN:x\n");
    const std::vector<std::string> calls = FileCalls(
        dir.path(),
        single ? std::vector<std::string>{"-q", "-m", "single", "--csv", "-o", "out", "a.vcf", "b.vcf"}
               : std::vector<std::string>{"-q", "--csv", "-o", "out", "a.vcf", "b.vcf"});
    std::string all;
    for (const std::string& call : calls) all += call + "\n";
    ASSERT_FALSE(calls.empty());
    const std::vector<std::string> names = single
                                               ? std::vector<std::string>{"output.xml", "output.csv"}
                                               : std::vector<std::string>{"a.htm", "a.csv", "b.htm", "b.csv"};
    // A call that gives a document or CSV file its own name.
    const auto takesName = [&names](const std::string& call) {
      if (!call.starts_with("linkat(") && !call.starts_with("renameat")) return false;
      return std::any_of(names.begin(), names.end(), [&call](const std::string& name) {
        return call.find(", \"" + name + "\"") != std::string::npos;
      });
    };
    const auto isSync = [](const std::string& call) { return call.find("sync") != std::string::npos; };
    EXPECT_EQ(std::count_if(calls.begin(), calls.end(), takesName), static_cast<std::ptrdiff_t>(names.size()))
        << all;
    EXPECT_EQ(std::count_if(calls.begin(), calls.end(), isSync), 2) << all;
    const auto firstName = std::find_if(calls.begin(), calls.end(), takesName);
    const auto lastName = std::find_if(calls.rbegin(), calls.rend(), takesName).base();
    const auto firstSync = std::find_if(calls.begin(), calls.end(), isSync);
    const auto lastSync = std::find_if(calls.rbegin(), calls.rend(), isSync).base();
    ASSERT_NE(firstName, calls.end()) << all;
    ASSERT_NE(firstSync, calls.end()) << all;
    EXPECT_LT(firstSync, firstName) << all;
    EXPECT_LT(lastName, lastSync) << all;
    for (const auto sync : {firstSync, lastSync - 1}) {
      EXPECT_TRUE(sync->starts_with("syncfs(")) << *sync;
      EXPECT_TRUE(sync->ends_with("= 0")) << *sync;
    }
  }
}

}  // namespace
}  // namespace brevant
