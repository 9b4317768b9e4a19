#include "cli/cli_main.h"

#include <gtest/gtest.h>

#include <sstream>

#include "test_support/temp_dir.h"

namespace brevant {
namespace {

using test::TempDir;
using test::WriteBytes;

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
  EXPECT_TRUE(shown.err.starts_with("\r")) << shown.err;  // how much is drawn depends on the clock
  // Cleared at the end, before the summary line.
  const std::string summary =
      "brevant-convert: 1 input, 1 document written beside the inputs (262 bytes), 0 with nothing to "
      "convert\n";
  EXPECT_TRUE(shown.err.ends_with("\r\x1b[K" + summary)) << shown.err;
  EXPECT_EQ(shown.out, "");

  EXPECT_EQ(RunInProcess({input}, false).err, summary);
  EXPECT_EQ(RunInProcess({"-q", input}, true).err, "");
  EXPECT_EQ(RunInProcess({input, "--quiet"}, true).err, "");
}

TEST(CliMainTest, ProblemsAreTheOnlyOutputEvenOnATerminal) {
  TempDir dir;
  WriteBytes(dir / "a.vcf", kAnn);
  const InProcessRun refused =
      RunInProcess({"-q", "-o", "/nonexistent/folder", (dir / "a.vcf").string()}, true);
  EXPECT_EQ(refused.status, kExitRefused);
  EXPECT_EQ(refused.err,
            "brevant-convert: /nonexistent/folder: Folder does not exist. Please select another folder.\n");

  const InProcessRun usage = RunInProcess({"--mode", "all", "a.vcf"}, true);
  EXPECT_EQ(usage.status, kExitRefused);
  EXPECT_EQ(usage.out, "");
  EXPECT_EQ(usage.err,
            "brevant-convert: invalid mode 'all' (use each or single)\n"
            "Try 'brevant-convert --help'.\n");
}

}  // namespace
}  // namespace brevant
