// The zip container of the workbooks, read back entry by entry with the tests'
// own zip reader; its size limit lowered so that the guard of 4 GB is reached
// with a few kilobytes.
#include "engine/write/zip_writer.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "support/files/file_error.h"
#include "test_support/temp_dir.h"
#include "test_support/test_texts.h"
#include "test_support/xlsx_table.h"

namespace brevant {
namespace {

namespace fs = std::filesystem;

// Compresses to almost nothing, so that only the limit on an entry's content can stop it.
const std::string kBlanks = "<worksheet>" + std::string(10000, ' ') + "</worksheet>";
const std::string kText = "<worksheet>Anna &amp; Bert</worksheet>";
const std::string kTypes = "<Types>";

// An archive of two entries, one added whole from deflate streams that follow
// one another, one streamed in two pieces; written to `file` under `mostBytes`.
// Gives what stopped it, or nothing when it was put in place.
std::optional<std::string> WriteArchive(const fs::path& file, std::uint64_t mostBytes,
                                        const std::string& streamed) {
  DocumentOutput output(test::PathText(file));
  output.endAsWritten();
  try {
    ZipWriter zip(output, mostBytes);
    DeflatedText first = Deflated(kTypes, false);
    const DeflatedText second = Deflated("<Default/></Types>");
    zip.add("xl/first.xml", {&first, &second});
    zip.beginEntry("xl/worksheets/sheet1.xml");
    zip.write(streamed.substr(0, streamed.size() / 2));
    zip.write(streamed.substr(streamed.size() / 2));
    zip.endEntry();
    zip.finish();
    output.commit();
  } catch (const FileError& error) {
    return std::string(error.what());
  }
  return std::nullopt;
}

TEST(ZipWriter, EntriesComeBackWholeUpToTheLimitAndNotAByteBeyond) {
  const test::TempDir dir;
  ASSERT_EQ(WriteArchive(dir / "whole.xlsx", kZipMostBytes, kText), std::nullopt);
  const std::string bytes = test::ReadBytes(dir / "whole.xlsx");
  const test::XlsxText whole = test::ReadXlsx(bytes);
  ASSERT_TRUE(whole.zipWhole) << whole.problem;
  EXPECT_EQ(whole.parts.at("xl/first.xml"), "<Types><Default/></Types>");
  EXPECT_EQ(whole.parts.at("xl/worksheets/sheet1.xml"), kText);

  struct Case {
    const char* what;
    std::uint64_t mostBytes;
    std::string streamed;
    bool fits;
  };
  const Case cases[] = {
      {"exactly the limit", bytes.size(), kText, true},
      {"one byte over the limit", bytes.size() - 1, kText, false},
      {"an entry's content over the limit, though it deflates to little", kBlanks.size() - 1, kBlanks, false},
      {"an entry's content at the limit", kBlanks.size(), kBlanks, true},
      {"entries added whole over the limit", 20, kText, false},
  };
  for (const Case& c : cases) {
    const fs::path file = dir / "limited.xlsx";
    fs::remove(file);
    const std::optional<std::string> stop = WriteArchive(file, c.mostBytes, c.streamed);
    EXPECT_EQ(!stop.has_value(), c.fits) << c.what << ": " << stop.value_or("");
    if (c.fits) {
      EXPECT_TRUE(test::ReadXlsx(test::ReadBytes(file)).zipWhole) << c.what;
    } else {
      EXPECT_EQ(*stop, "The spreadsheet file would be larger than 4 GB") << c.what;
      EXPECT_FALSE(fs::exists(file)) << c.what << ": a cut archive was put in place";
    }
  }
}

// The workbook reader is what judges every workbook of the tests: a column
// range that does not start at the first column is a fault, not a write before
// its widths.
TEST(ZipWriter, WorkbookReaderFindsColumnRangesThatStartBeforeTheFirstColumn) {
  const test::TempDir dir;
  for (const std::string range : {"min=\"0\" max=\"2\"", "min=\"3\" max=\"2\"", "max=\"2\""}) {
    const std::string sheet = "<worksheet><cols><col " + range + " width=\"9\"/></cols></worksheet>";
    ASSERT_EQ(WriteArchive(dir / "sheet.xlsx", kZipMostBytes, sheet), std::nullopt);
    const test::XlsxText xlsx = test::ReadXlsx(test::ReadBytes(dir / "sheet.xlsx"));
    EXPECT_TRUE(xlsx.zipWhole) << range;
    EXPECT_EQ(xlsx.problem.rfind("bad column range", 0), 0u) << range << ": " << xlsx.problem;
    fs::remove(dir / "sheet.xlsx");
  }
}

}  // namespace
}  // namespace brevant
