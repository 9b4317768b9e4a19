#include "cli/cli_host.h"

#include <gtest/gtest.h>

#include <sstream>

namespace brevant {
namespace {

class CliHostTest : public ::testing::Test {
 protected:
  CliHost makeHost(const CliOptions& options, bool showProgress = false) {
    progress_.emplace(err_, showProgress, [] { return std::chrono::steady_clock::time_point{}; });
    return CliHost(options, {u"/in/a.vcf", u"/in/b.vcf"}, *progress_, err_);
  }

  std::ostringstream err_;
  std::optional<ProgressLine> progress_;
};

TEST_F(CliHostTest, EachModeBesideTheInputs) {
  CliOptions options;
  options.border = "3px";
  options.textColour = 255;
  options.backgroundColour = -1;
  CliHost host = makeHost(options);
  EXPECT_TRUE(host.convertEach());
  EXPECT_FALSE(host.convertAllToOne());
  EXPECT_TRUE(host.saveBesideInput());
  EXPECT_FALSE(host.saveToChosenFolder());
  EXPECT_EQ(host.chosenFolder(), u"");
  EXPECT_EQ(host.borderWidth(), u"3px");
  EXPECT_EQ(host.tableTextColour(), 255);
  EXPECT_EQ(host.tableBackgroundColour(), -1);
  EXPECT_EQ(host.inputPaths(), (std::vector<Text>{u"/in/a.vcf", u"/in/b.vcf"}));
}

TEST_F(CliHostTest, SingleModeIntoTheChosenFolder) {
  CliOptions options;
  options.mode = CliMode::Single;
  options.outputDir = "out\xE9";
  CliHost host = makeHost(options);
  EXPECT_FALSE(host.convertEach());
  EXPECT_TRUE(host.convertAllToOne());
  EXPECT_FALSE(host.saveBesideInput());
  EXPECT_TRUE(host.saveToChosenFolder());
  EXPECT_EQ(host.chosenFolder(), u"out\xDCE9");  // the byte survives as an escape
}

TEST_F(CliHostTest, ErrorReportsGetLinesOfTheirOwnAndAreCounted) {
  CliHost host = makeHost({});
  EXPECT_EQ(host.errorsReported(), 0);
  host.reportError(
      {u"Path not found", u"in Tarnwick2021/08/31.modVCF.ConvertVCFToSeparateHTML ", 546, false});
  host.reportError({u"Disk full", u"in Tarnwick2021/08/31.modVCF.ConvertVCFToSingleHTML ", 842, true});
  EXPECT_EQ(err_.str(),
            "Application Error: Path not found\n"
            "in Tarnwick2021/08/31.modVCF.ConvertVCFToSeparateHTML at line 546\n"
            "Application Error: Disk full\n"
            "in Tarnwick2021/08/31.modVCF.ConvertVCFToSingleHTML at line 842\n"
            "\n"
            "Please email screenshot of this message to support@ambervale.example\n");
  EXPECT_EQ(host.errorsReported(), 2);
}

TEST_F(CliHostTest, ProgressMakesWayForAnErrorReportAndComesBack) {
  CliHost host = makeHost({}, true);
  host.setProgressCaption(u"Processing: a.vcf");
  host.setProgressPosition(50);  // within the interval: not drawn yet
  host.reportError({u"Path not found", u"in X ", 546, false});
  EXPECT_EQ(err_.str(),
            "\rProcessing: a.vcf   0%\x1b[K"
            "\r\x1b[K"
            "Application Error: Path not found\nin X at line 546\n"
            "\rProcessing: a.vcf  50%\x1b[K");
}

}  // namespace
}  // namespace brevant
