// The files for spreadsheets beside a document, the CSV file and the workbook,
// are written as safely as the document: each case runs for both.
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine/convert/conversion_run.h"
#include "engine/statement_reporter.h"
#include "support/files/path_helpers.h"
#include "support/text/utf8.h"
#include "test_support/contact_table.h"
#include "test_support/csv_table.h"
#include "test_support/recording_host.h"
#include "test_support/temp_dir.h"
#include "test_support/temporary_files.h"
#include "test_support/test_texts.h"
#include "test_support/xlsx_table.h"

namespace fs = std::filesystem;

namespace brevant {
namespace {

using test::PathText;
using test::ReadBytes;
using test::WriteBytes;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

struct SheetFormat {
  const char* name;
  const char* extension;  // with its dot
  OutputFormat format;
  test::Cells (*cells)(const std::string& bytes);
};

test::Cells CsvCells(const std::string& bytes) {
  const test::CsvText csv = test::ReadCsv(bytes);
  EXPECT_TRUE(csv.byteOrderMark && csv.wellFormed) << csv.problem;
  return csv.records;
}

test::Cells XlsxCells(const std::string& bytes) {
  const test::XlsxText xlsx = test::ReadXlsx(bytes);
  EXPECT_TRUE(xlsx.zipWhole && (xlsx.xmlWellFormed || !test::ChecksXml())) << xlsx.problem;
  return xlsx.texts();
}

class SheetSafety : public ::testing::TestWithParam<SheetFormat> {
 protected:
  test::TempDir dir;
  test::RecordingHost host;
  void SetUp() override { host.beside[GetParam().format] = true; }
  // "a" + the format's extension.
  std::string file(const std::string& stem) const { return stem + GetParam().extension; }
  test::Cells cells(const std::string& name) const { return GetParam().cells(ReadBytes(dir / name)); }
  void add(const fs::path& name, std::string_view content) {
    WriteBytes(dir.path() / name, content);
    host.rows.push_back(PathText(dir.path() / name));
  }
  void single() { host.mode = DocumentMode::OneDocument; }
  std::vector<std::pair<int, std::string>> errors() const {
    std::vector<std::pair<int, std::string>> out;
    for (const ErrorReport& e : host.errors) out.emplace_back(e.statement, ToUtf8(GetFileName(e.file)));
    return out;
  }
};

TEST_P(SheetSafety, NoFileWithoutTheOption) {
  host.beside[GetParam().format] = false;
  add("a.vcf", "FN:A\n");
  StartConverting(host);
  EXPECT_NE(ReadBytes(dir / "a.htm"), "<missing>");
  EXPECT_EQ(ReadBytes(dir / file("a")), "<missing>");
  single();
  StartConverting(host);
  EXPECT_EQ(ReadBytes(dir / file("output")), "<missing>");
}

TEST_P(SheetSafety, SameNamedInputsKeepEveryFileOfTheRun) {
  add(fs::path("x") / "c.vcf", "FN:First\n");
  add(fs::path("y") / "c.vcf", "FN:Second\n");
  host.saveTo = Destination::ChosenFolder;
  host.folder = PathText(dir / "out");
  fs::create_directories(dir / "out");
  StartConverting(host);
  EXPECT_EQ(cells("out/" + file("c")), (test::Cells{{"Display Name"}, {"First"}}));
  EXPECT_EQ(cells("out/" + file("c (2)")), (test::Cells{{"Display Name"}, {"Second"}}));
}

TEST_P(SheetSafety, AnInputIsNeverReplaced) {
  add("a.vcf", "FN:A\n");
  add(file("a"), "FN:The only copy\n");  // a vCard under another extension
  StartConverting(host);
  EXPECT_EQ(ReadBytes(dir / file("a")), "FN:The only copy\n");
  EXPECT_EQ(cells(file("a (2)")), (test::Cells{{"Display Name"}, {"The only copy"}}));
  EXPECT_THAT(errors(), ElementsAre(std::pair{110, file("a")}));
  EXPECT_EQ(host.errors[0].description, kOutputWouldOverwriteInput);

  host.errors.clear();
  single();
  add(file("output"), "FN:Also the only copy\n");
  StartConverting(host);
  EXPECT_EQ(ReadBytes(dir / file("output")), "FN:Also the only copy\n");
  EXPECT_NE(ReadBytes(dir / "output.xml").find("Also the only copy"), std::string::npos);
  EXPECT_THAT(errors(), ElementsAre(std::pair{842, file("output")}));
}

TEST_P(SheetSafety, GoesInPlaceOnlyWithItsDocument) {
  single();
  add("a.vcf", "FN:A\n");
  // A read-only file is refused and kept, as a read-only document would be, and
  // the document is not placed without it.
  WriteBytes(dir / file("output"), "earlier");
  fs::permissions(dir / file("output"), fs::perms::owner_read);
  StartConverting(host);
  EXPECT_EQ(ReadBytes(dir / file("output")), "earlier");
  EXPECT_EQ(ReadBytes(dir / "output.xml"), "<missing>");
  EXPECT_THAT(errors(), ElementsAre(std::pair{842, file("output")}));
  // A document that cannot be written takes the file along.
  fs::permissions(dir / file("output"), fs::perms::owner_all);
  WriteBytes(dir / "output.xml", "earlier");
  fs::permissions(dir / "output.xml", fs::perms::owner_read);
  host.errors.clear();
  StartConverting(host);
  EXPECT_EQ(ReadBytes(dir / file("output")), "earlier");
  EXPECT_THAT(errors(), ElementsAre(std::pair{842, "output.xml"}));
  EXPECT_THAT(test::TemporaryFilesIn(dir.path()), IsEmpty());
}

TEST_P(SheetSafety, AnInputWithNothingToConvertLeavesNoEarlierFile) {
  for (const bool perContact : {false, true}) {
    host.perContact = perContact;
    WriteBytes(dir / "a.htm", "earlier");
    WriteBytes(dir / file("a"), "earlier");
    host.rows = {};
    add("a.vcf", "BEGIN:VCARD\nUID:nothing\nEND:VCARD\n");  // machine data only
    StartConverting(host);
    EXPECT_EQ(ReadBytes(dir / "a.htm"), "<missing>");
    EXPECT_EQ(ReadBytes(dir / file("a")), "<missing>");
  }
}

INSTANTIATE_TEST_SUITE_P(CsvAndWorkbook, SheetSafety,
                         ::testing::Values(SheetFormat{"Csv", ".csv", OutputFormat::Csv, CsvCells},
                                           SheetFormat{"Workbook", ".xlsx", OutputFormat::Xlsx, XlsxCells}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace brevant
