#include "cli/cli_host.h"

#include <gtest/gtest.h>

#include <sstream>

#include "engine/convert/conversion_run.h"
#include "test_support/temp_dir.h"
#include "test_support/test_texts.h"

namespace brevant {
namespace {

using test::PathText;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

class CliHostTest : public ::testing::Test {
 protected:
  CliHost makeHost(const CliOptions& options, std::vector<Text> inputs = {}, bool showProgress = false) {
    progress_.emplace(err_, showProgress, [] { return std::chrono::steady_clock::time_point{}; });
    return CliHost(options, std::move(inputs), *progress_, err_);
  }

  std::ostringstream err_;
  std::optional<ProgressLine> progress_;
};

TEST_F(CliHostTest, OptionsDecideWhatTheEngineWritesAndWhere) {
  TempDir dir;
  WriteBytes(dir / "in" / "a.vcf", "FN:Ann\n");
  WriteBytes(dir / "in" / "b.vcf", "FN:Bob\n");
  const std::vector<Text> inputs{PathText(dir / "in" / "a.vcf"), PathText(dir / "in" / "b.vcf")};

  CliOptions each;
  each.border = "3px";
  each.textColour = 255;
  each.backgroundColour = -1;
  CliHost besideInputs = makeHost(each, inputs);
  EXPECT_EQ(StartConverting(besideInputs), RunOutcome::Done);
  EXPECT_TRUE(ReadBytes(dir / "in" / "a.htm")
                  .starts_with("<html><title></title><body><table width='100%' style='color:#FF0000' "
                               "border='3px' bgcolor='#FFFFFF'><tbody>\r\n"));
  EXPECT_NE(ReadBytes(dir / "in" / "b.htm").find("<td>&nbsp;Bob</td>"), std::string::npos);

  CliOptions single;
  single.mode = DocumentMode::OneDocument;
  single.outputDir = (dir / "out\xE9").string();  // a name that is not UTF-8 survives
  std::filesystem::create_directory(dir / "out\xE9");
  CliHost intoFolder = makeHost(single, inputs);
  EXPECT_EQ(StartConverting(intoFolder), RunOutcome::Done);
  const std::string document = ReadBytes(dir / "out\xE9" / "output.xml");
  EXPECT_NE(document.find("<td>&#160;Ann</td></tr>\r\n<tr>\r\n<td>&#160;Bob</td>"), std::string::npos)
      << document;
  EXPECT_EQ(besideInputs.errorsReported() + intoFolder.errorsReported(), 0);
}

TEST_F(CliHostTest, ErrorReportsGetALineEachAndAreCounted) {
  CliHost host = makeHost({});
  EXPECT_EQ(host.errorsReported(), 0);
  host.reportError({u"Path not found", u"in Tarnwick2021/08/31.modVCF.ConvertVCFToSeparateHTML ", 546, false,
                    u"/out/a.htm"});
  host.reportError({u"Disk full", u"in Tarnwick2021/08/31.modVCF.ConvertVCFToSingleHTML ", 842, true,
                    u"/out/\x1b[2Joutput.xml"});
  host.reportError({u"Out of memory", u"in X ", 110, false});
  EXPECT_EQ(err_.str(),
            "brevant-convert: /out/a.htm: Path not found "
            "(in Tarnwick2021/08/31.modVCF.ConvertVCFToSeparateHTML at line 546)\n"
            "brevant-convert: /out/?[2Joutput.xml: Disk full "
            "(in Tarnwick2021/08/31.modVCF.ConvertVCFToSingleHTML at line 842)\n"
            "brevant-convert: Out of memory (in X at line 110)\n");
  EXPECT_EQ(host.errorsReported(), 3);
}

TEST_F(CliHostTest, ProgressMakesWayForAnErrorReportAndComesBack) {
  CliHost host = makeHost({}, {}, true);
  host.setProgressCaption(u"Processing: a.vcf");
  host.setProgressPosition(50);  // within the interval: not drawn yet
  host.reportError({u"Path not found", u"in X ", 546, false, u"a.htm"});
  EXPECT_EQ(err_.str(),
            "\rProcessing: a.vcf   0%\x1b[K"
            "\r\x1b[K"
            "brevant-convert: a.htm: Path not found (in X at line 546)\n"
            "\rProcessing: a.vcf  50%\x1b[K");
}

}  // namespace
}  // namespace brevant
