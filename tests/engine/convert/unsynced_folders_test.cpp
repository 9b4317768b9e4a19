// A run whose folders the disk fails to sync at its end says so, naming each
// folder, as the write of its conversion; its documents stay where they were put.
#include <gtest/gtest.h>

#include <cerrno>
#include <set>

#include "engine/convert/conversion_run.h"
#include "support/files/file_error.h"
#include "support/files/write_session.h"
#include "support/messages/error_report.h"
#include "test_support/recording_host.h"
#include "test_support/temp_dir.h"
#include "test_support/test_texts.h"

namespace brevant {
namespace {

namespace fs = std::filesystem;
using test::PathText;

TEST(UnsyncedFolders, EachFolderThatCouldNotBeSyncedIsReportedByTheRunsConversion) {
  struct Case {
    const char* what;
    bool allToOne;
    int statement;
    Text tag;
  };
  const Case cases[] = {
      {"per file", false, 546, u"ConvertVCFToSeparateHTML"},
      {"one document", true, 842, u"ConvertVCFToSingleHTML"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const test::TempDir dir;
    test::RecordingHost host;
    host.mode = c.allToOne ? DocumentMode::OneDocument : DocumentMode::PerInput;
    for (const char* folder : {"first", "second"}) {
      test::WriteBytes(dir / folder / "a.vcf", "BEGIN:VCARD\r\nFN:a\r\nEND:VCARD\r\n");
      host.rows.push_back(PathText(dir / folder / "a.vcf"));
    }
    {
      const FailingFolderSyncs failing(EIO);
      EXPECT_EQ(StartConverting(host), RunOutcome::Done);
    }
    // Per file both folders got a document; one document goes beside the first input. A folder is
    // named with its separator at the end.
    const std::set<Text> expected =
        c.allToOne ? std::set<Text>{PathText(dir / "first" / "")}
                   : std::set<Text>{PathText(dir / "first" / ""), PathText(dir / "second" / "")};
    std::set<Text> reported;
    for (const ErrorReport& report : host.errors) {
      reported.insert(report.file);
      EXPECT_EQ(report.statement, c.statement);
      EXPECT_NE(report.tag.find(c.tag), Text::npos);
      EXPECT_EQ(report.description, DescriptionFromUtf8(DescribeSystemError(EIO)));
    }
    EXPECT_EQ(host.errors.size(), expected.size());
    EXPECT_EQ(reported, expected);
    EXPECT_TRUE(fs::exists(dir / "first" / (c.allToOne ? "output.xml" : "a.htm")));

    // Without the fault the same run reports nothing.
    host.errors.clear();
    EXPECT_EQ(StartConverting(host), RunOutcome::Done);
    EXPECT_TRUE(host.errors.empty());
  }
}

}  // namespace
}  // namespace brevant
