// brevant-convert stopped by limits and signals: an earlier document stays as it
// was or is replaced whole, and no temporary file is ever left behind.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "cli/tool_process.h"
#include "test_support/temp_dir.h"

namespace brevant {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::RunTool;
using testing::TempDir;
using testing::ToolRun;
using testing::WriteBytes;

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
    const pid_t tool = testing::StartTool(dir.path(), {"work/big.vcf"}, dir / "out.txt", dir / "err.txt");
    ASSERT_GT(tool, 0);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!WritingIn(tool, dir / "work", input) && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    kill(tool, signalNumber);
    EXPECT_EQ(testing::WaitForTool(tool), 128 + signalNumber) << ReadBytes(dir / "err.txt");
    // Stopped half-way, or just after the new document was put in place.
    const std::string document = ReadBytes(dir / "work" / "big.htm");
    EXPECT_TRUE(document == kEarlier || document.ends_with("</html>\r\n")) << document.substr(0, 100);
    EXPECT_EQ(Names(dir / "work"), (std::vector<std::string>{"big.htm", "big.vcf"}))
        << "signal " << signalNumber;
  }
}

}  // namespace
}  // namespace brevant
