#include "cli/cli_main.h"

#include <gtest/gtest.h>

#include <sstream>

#include "test_support/temp_dir.h"

namespace brevant {
namespace {

using testing::TempDir;
using testing::WriteBytes;

constexpr char kAnn[] =
    "BEGIN:VCARD\r\nFN:Ann Example\r\nEMAIL;TYPE=INTERNET:ann@example.org\r\nEND:VCARD\r\n";

struct InProcessRun {
  int status;
  std::string out;
  std::string err;
};

InProcessRun RunInProcess(const std::vector<std::string>& args, bool terminal) {
  std::ostringstream out, err;
  const int status = RunCli(args, out, err, terminal);
  return {status, out.str(), err.str()};
}

TEST(CliMainTest, ProgressIsShownOnlyOnATerminalAndNotWhenQuiet) {
  TempDir dir;
  WriteBytes(dir / "a.vcf", kAnn);
  const std::string input = (dir / "a.vcf").string();

  const InProcessRun shown = RunInProcess({input}, true);
  EXPECT_EQ(shown.status, kExitSuccess);
  EXPECT_TRUE(shown.err.starts_with("\r")) << shown.err;      // how much is drawn depends on the clock
  EXPECT_TRUE(shown.err.ends_with("\r\x1b[K")) << shown.err;  // cleared at the end
  EXPECT_EQ(shown.out, "");

  EXPECT_EQ(RunInProcess({input}, false).err, "");
  EXPECT_EQ(RunInProcess({"-q", input}, true).err, "");
  EXPECT_EQ(RunInProcess({input, "--quiet"}, true).err, "");
}

TEST(CliMainTest, ProblemsAreTheOnlyOutputEvenOnATerminal) {
  const InProcessRun refused = RunInProcess({"-o", "/nonexistent/folder", "/nonexistent/a.vcf"}, true);
  EXPECT_EQ(refused.status, kExitRefused);
  EXPECT_EQ(refused.err, "Folder does not exist. Please select another folder.\n");

  const InProcessRun usage = RunInProcess({"--mode", "all", "a.vcf"}, true);
  EXPECT_EQ(usage.status, kExitRefused);
  EXPECT_EQ(usage.out, "");
  EXPECT_EQ(usage.err,
            "brevant-convert: invalid mode 'all' (use each or single)\n"
            "Try 'brevant-convert --help'.\n");
}

}  // namespace
}  // namespace brevant
