// The table as an .xlsx workbook beside each document, read back with a zip
// reader and an XML parser: every cell a text cell that reads as written, the
// same cells as the document in both modes and both ways of reading, and the
// workbook written as safely as the document.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine/convert/conversion_run.h"
#include "engine/statement_reporter.h"
#include "engine/write/xlsx_document.h"
#include "support/files/path_helpers.h"
#include "support/text/ansi_code_page.h"
#include "support/text/utf8.h"
#include "test_support/contact_table.h"
#include "test_support/recording_host.h"
#include "test_support/temp_dir.h"
#include "test_support/temporary_files.h"
#include "test_support/test_texts.h"
#include "test_support/xlsx_table.h"

namespace brevant {
namespace {

namespace fs = std::filesystem;
using test::PathText;
using test::ReadBytes;
using test::WriteBytes;
using test::XlsxText;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr int kHeader = 1;
constexpr int kWrapped = 2;

// Reads a workbook and checks what every workbook must be: a whole zip of
// well-formed parts whose every cell is a shared string.
XlsxText ReadChecked(const fs::path& file) {
  const XlsxText xlsx = test::ReadXlsx(ReadBytes(file));
  EXPECT_TRUE(xlsx.zipWhole) << xlsx.problem;
  EXPECT_TRUE(xlsx.xmlWellFormed || !test::ChecksXml()) << xlsx.problem;
  EXPECT_EQ(xlsx.problem, "");
  for (const auto& row : xlsx.rows) {
    for (const test::XlsxCell& cell : row) {
      if (!cell.type.empty()) {
        EXPECT_EQ(cell.type, "s") << cell.text;
      }
    }
  }
  return xlsx;
}

struct ValueCase {
  std::string name;
  std::u16string utf16;  // the value read from a UTF-16 file, when not empty
  std::string bytes;     // else the value's bytes
  std::string shown;     // the cell's text; empty: no cell
  bool wraps = false;
};

std::string Repeated(std::string_view text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}

TEST(XlsxCell, EveryValueIsATextThatReadsAsWritten) {
  std::u16string emoji;
  for (int i = 0; i < 20000; ++i) emoji += u"\U0001F600";
  const ValueCase cases[] = {
      {"plain", u"", "Ann Lee", "Ann Lee"},
      {"leading zeros", u"", "017623384942", "017623384942"},
      {"plus and digits", u"", "+491622433834", "+491622433834"},
      {"postal code", u"", "02138", "02138"},
      {"date as written", u"", "1985-04-12", "1985-04-12"},
      {"exponent", u"", "1E5", "1E5"},
      {"formula", u"", "=1+1", "=1+1"},
      {"at sign", u"", "@SUM(A1:A9)", "@SUM(A1:A9)"},
      {"NUL left out", u"", std::string("\0=1+1", 5), "=1+1"},
      {"controls left out", u"",
       "a\x01\x08\x0B\x1F"
       "b",
       "ab"},
      {"tab kept", u"", "a\tb", "a\tb"},
      {"line breaks of every kind", u"", "one\r\ntwo\rthree\nfour", "one\ntwo\nthree\nfour", true},
      {"line end left out", u"", "Town\r", "Town"},
      {"markup", u"", "<b>&amp;</b>", "<b>&amp;</b>"},
      {"escape-like text", u"", "_x0041_", "_x0041_"},
      {"escape-like texts in a row", u"", "_x0041_x0042_", "_x0041_x0042_"},
      {"escape-like after a dropped control", u"", "_x0041\x01_", "_x0041_"},
      {"underscores", u"", "snake_case_x12_", "snake_case_x12_"},
      {"spaces kept", u"", "  two  ", "  two  "},
      {"spaces kept around other characters", u"", " Zo\xC3\xAB\t", " Zo\xC3\xAB\t"},
      {"UTF-8", u"", "Zo\xC3\xAB \xE6\x9D\x8E \xF0\x9F\x98\x80", "Zo\xC3\xAB \xE6\x9D\x8E \xF0\x9F\x98\x80"},
      {"Windows-1252", u"", "M\xFCller \x80", "M\xC3\xBCller \xE2\x82\xAC"},
      {"invalid UTF-8 read as Windows-1252", u"", "caf\xE9 \xC3", "caf\xC3\xA9 \xC3\x83"},
      {"UTF-16", u"\u0416\u0435\u043D\u044F \U0001F600 \xD800", "",
       "\xD0\x96\xD0\xB5\xD0\xBD\xD1\x8F \xF0\x9F\x98\x80 \xEF\xBF\xBD"},
      {"UTF-16 formula", u"=1", "", "=1"},
      {"40,000 characters cut to a cell's 32,767", u"", std::string(40000, 'x'), std::string(32767, 'x'),
       true},
      {"long non-ASCII cut", u"", Repeated("\xC3\xA9", 40000), Repeated("\xC3\xA9", 32767), true},
      {"cut keeps a pair whole", emoji, "", Repeated("\xF0\x9F\x98\x80", 16383), true},
      {"long line wraps", u"", std::string(61, 'y'), std::string(61, 'y'), true},
      {"empty", u"", "", ""},
      {"only controls", u"", "\x01\x02", ""},
  };
  test::TempDir dir;
  test::RecordingHost host;
  const StatementReporter errors(host, Procedure::PerInputConversion);
  for (const ValueCase& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path file = dir / "table.xlsx";
    XlsxDocument xlsx(PathText(file), ExistingTarget::Replace, TurnsOf(host));
    xlsx.caption({Caption::Notes, 2});
    xlsx.caption({Caption::HomeCity});
    xlsx.endRow();
    if (c.utf16.empty()) {
      xlsx.lineValue(c.bytes);
    } else {
      xlsx.lineValue(c.utf16);
    }
    xlsx.lineValue(std::string_view("after"));
    xlsx.endRow();
    ASSERT_TRUE(xlsx.commit(errors, 1));
    const XlsxText read = ReadChecked(file);
    ASSERT_EQ(read.rows.size(), 2u);
    EXPECT_THAT(read.rows[0], ElementsAre(test::XlsxCell{"Notes 2", "s", kHeader},
                                          test::XlsxCell{"Home City", "s", kHeader}));
    const test::XlsxCell expected =
        c.shown.empty() ? test::XlsxCell{} : test::XlsxCell{c.shown, "s", c.wraps ? kWrapped : 0};
    ASSERT_EQ(read.rows[1].size(), 2u);
    EXPECT_TRUE(read.rows[1][0] == expected) << read.rows[1][0].text.substr(0, 80);  // not printed: long
    EXPECT_EQ(read.rows[1][1].text, "after");
  }
  EXPECT_THAT(host.errors, IsEmpty());
}

// Decoded values of one row per contact, and empty cells between values.
TEST(XlsxCell, DecodedValuesKeepTheirCharactersAndPlaces) {
  test::TempDir dir;
  test::RecordingHost host;
  XlsxDocument xlsx(PathText(dir / "t.xlsx"), ExistingTarget::Replace, TurnsOf(host));
  for (const Caption caption : {Caption::DisplayName, Caption::Notes, Caption::HomeCity, Caption::HomePhone})
    xlsx.caption({caption});
  xlsx.endRow();
  xlsx.value("Ren\xE9", ByteEncoding::Windows1252);
  xlsx.value("a\nb\r", ByteEncoding::Utf8);
  xlsx.emptyValue();
  xlsx.value("0301", ByteEncoding::Utf8);
  xlsx.endRow();
  xlsx.emptyValue();
  xlsx.endRow();
  xlsx.value("+1 555", ByteEncoding::Utf8);
  xlsx.endRow();
  ASSERT_TRUE(xlsx.commit(StatementReporter(host, Procedure::PerInputConversion), 1));
  const XlsxText read = ReadChecked(dir / "t.xlsx");
  EXPECT_EQ(read.texts(), (test::Cells{{"Display Name", "Notes", "Home City", "Home Phone"},
                                       {"Ren\xC3\xA9", "a\nb\n", "", "0301"},
                                       {},
                                       {"+1 555"}}));
  EXPECT_TRUE(read.headerFrozen);
}

// Every cell has one style, a header cell that wraps (a label a person typed
// with a line break, or one longer than a cell holds) the bold wrapped one:
// two s attributes on one cell are no XML, and a spreadsheet drops every row.
TEST(XlsxCell, EveryCellHasOneStyle) {
  constexpr int kWrappedHeader = 3;
  struct StyleCase {
    const char* name;
    std::string header;
    std::string value;
    int headerStyle;
    int valueStyle;
  };
  const StyleCase cases[] = {
      {"plain", "Display Name", "Ann", kHeader, 0},
      {"label with a line break", "Line one\nline two", "Ann", kWrappedHeader, 0},
      {"label with CR LF and a wrapped value", "Line one\r\nline two", "a\nb", kWrappedHeader, kWrapped},
      {"label longer than a cell", std::string(40000, 'L'), std::string(61, 'v'), kWrappedHeader, kWrapped},
  };
  test::TempDir dir;
  test::RecordingHost host;
  for (const StyleCase& c : cases) {
    SCOPED_TRACE(c.name);
    XlsxDocument xlsx(PathText(dir / "t.xlsx"), ExistingTarget::Replace, TurnsOf(host));
    xlsx.caption(std::string_view(c.header));
    xlsx.endRow();
    xlsx.value(c.value, ByteEncoding::Utf8);
    xlsx.endRow();
    ASSERT_TRUE(xlsx.commit(StatementReporter(host, Procedure::PerInputConversion), 1));
    const XlsxText read = ReadChecked(dir / "t.xlsx");
    ASSERT_EQ(read.rows.size(), 2u);
    EXPECT_EQ(read.rows[0][0].style, c.headerStyle);
    EXPECT_EQ(read.rows[1][0].style, c.valueStyle);
    EXPECT_EQ(read.rows[1][0].text, c.value);
    const std::string& styles = read.parts.at("xl/styles.xml");
    EXPECT_NE(styles.find("<cellXfs count=\"4\">"), std::string::npos);
  }
}

// A workbook is a few fixed parts and the sheet; the same table gives the same
// bytes, on any day and any system.
TEST(XlsxContainer, TheSameTableGivesTheSameBytes) {
  test::TempDir dir;
  test::RecordingHost host;
  const auto write = [&](const fs::path& file) {
    XlsxDocument xlsx(PathText(file), ExistingTarget::Replace, TurnsOf(host));
    xlsx.caption({Caption::DisplayName});
    xlsx.endRow();
    xlsx.lineValue(std::string_view("Ann"));
    xlsx.endRow();
    EXPECT_TRUE(xlsx.commit(StatementReporter(host, Procedure::PerInputConversion), 1));
    return ReadBytes(file);
  };
  const std::string first = write(dir / "a.xlsx");
  EXPECT_EQ(write(dir / "b.xlsx"), first);
  const XlsxText read = ReadChecked(dir / "a.xlsx");
  EXPECT_THAT(read.entries, ElementsAre("[Content_Types].xml", "_rels/.rels", "xl/workbook.xml",
                                        "xl/_rels/workbook.xml.rels", "xl/styles.xml",
                                        "xl/worksheets/sheet1.xml", "xl/sharedStrings.xml"));
  // Every local header is dated 1980-01-01 00:00.
  for (std::size_t at = first.find("PK\x03\x04"); at != std::string::npos;
       at = first.find("PK\x03\x04", at + 4))
    EXPECT_EQ(first.substr(at + 10, 4), std::string("\0\0\x21\0", 4));
  EXPECT_NE(read.parts.at("xl/workbook.xml").find("_xlnm.Print_Titles"), std::string::npos);
}

// A short text that many cells hold stands once in the table of texts, which
// counts the cells and its texts; a long one stands once for each cell.
TEST(XlsxContainer, ManyCellsShareOneText) {
  test::TempDir dir;
  test::RecordingHost host;
  XlsxDocument xlsx(PathText(dir / "t.xlsx"), ExistingTarget::Replace, TurnsOf(host));
  xlsx.caption({Caption::HomeCountry});
  xlsx.caption({Caption::Notes});
  xlsx.endRow();
  const std::string note(300, 'n');
  for (int i = 0; i < 3000; ++i) {
    xlsx.lineValue(std::string_view("Deutschland"));
    xlsx.value(note, ByteEncoding::Utf8);
    xlsx.endRow();
  }
  ASSERT_TRUE(xlsx.commit(StatementReporter(host, Procedure::PerInputConversion), 1));
  const XlsxText read = ReadChecked(dir / "t.xlsx");
  ASSERT_EQ(read.rows.size(), 3001u);
  EXPECT_EQ(read.rows[3000][0].text, "Deutschland");
  EXPECT_EQ(read.rows[3000][1].text, note);
  const std::string& table = read.parts.at("xl/sharedStrings.xml");
  EXPECT_NE(table.find("count=\"6002\" uniqueCount=\"3003\""), std::string::npos);
  std::size_t texts = 0;
  for (std::size_t at = table.find("<si>"); at != std::string::npos; at = table.find("<si>", at + 1)) ++texts;
  EXPECT_EQ(texts, 3003u);
}

// Columns as wide as their widest line in the first rows (header in bold a
// little wider), within reason; a CJK character takes two.
TEST(XlsxContainer, ColumnWidthsFitTheirContent) {
  test::TempDir dir;
  test::RecordingHost host;
  XlsxDocument xlsx(PathText(dir / "t.xlsx"), ExistingTarget::Replace, TurnsOf(host));
  for (const Caption caption : {Caption::DisplayName, Caption::Notes, Caption::HomeCity, Caption::Pager})
    xlsx.caption({caption});
  xlsx.endRow();
  xlsx.lineValue(std::string_view("Maximilian Alexander Wolfeschlegel"));  // 34
  xlsx.lineValue(std::string(500, 'n'));
  xlsx.lineValue(
      std::string_view("\xE6\x9D\xB1\xE4\xBA\xAC\xE9\x83\xBD\xE5\x8D\x83\xE4\xBB\xA3\xE7\x94\xB0"));
  xlsx.lineValue(std::string_view("1"));
  xlsx.endRow();
  xlsx.lineValue(std::string_view("Short"));
  xlsx.lineValue(std::string_view("line one\nline two"));
  xlsx.endRow();
  ASSERT_TRUE(xlsx.commit(StatementReporter(host, Procedure::PerInputConversion), 1));
  const XlsxText read = ReadChecked(dir / "t.xlsx");
  EXPECT_THAT(read.widths, ElementsAre(36, 62, 14, 8));
}

// A row is as high as the most lines a cell of it takes: its own line breaks,
// and lines too long for their column wrapped (at most as high as a row can be).
TEST(XlsxContainer, RowsAreAsHighAsTheirLines) {
  test::TempDir dir;
  test::RecordingHost host;
  XlsxDocument xlsx(PathText(dir / "t.xlsx"), ExistingTarget::Replace, TurnsOf(host));
  xlsx.caption({Caption::Notes});
  xlsx.caption({Caption::DisplayName});
  xlsx.endRow();
  const std::vector<std::pair<std::string, std::string>> rows = {
      {"one\ntwo\nthree", "Ann"},      // 3 lines
      {std::string(130, 'w'), "Bob"},  // wraps at 60 characters: 3 lines
      {Repeated("line\n", 99) + "last", ""},
      {"x", "Cy"},
  };
  for (const auto& [note, name] : rows) {
    xlsx.lineValue(note);
    xlsx.lineValue(name);
    xlsx.endRow();
  }
  for (int i = 0; i < 1000; ++i) {  // past the rows the widths fit
    xlsx.lineValue(std::string_view("n"));
    xlsx.lineValue(std::string_view("Name 12345"));
    xlsx.endRow();
  }
  // Then rows of megabytes on their way into the archive, each of 10 lines.
  xlsx.lineValue(std::string_view("a"));
  xlsx.lineValue(std::string(30, 'z'));  // 3 lines in a column 14 wide (its bold header)
  xlsx.endRow();
  for (int i = 0; i < 3000; ++i) {
    xlsx.lineValue(std::string(600, 'y'));
    xlsx.lineValue(std::string_view("Short"));
    xlsx.endRow();
  }
  ASSERT_TRUE(xlsx.commit(StatementReporter(host, Procedure::PerInputConversion), 1));
  const XlsxText read = ReadChecked(dir / "t.xlsx");
  ASSERT_EQ(read.heights.size(), 1006u + 3000u);
  EXPECT_THAT(std::vector<double>(read.heights.begin(), read.heights.begin() + 6),
              ElementsAre(0, 45, 45, 409, 0, 0));
  EXPECT_EQ(read.heights[1005], 45);
  EXPECT_EQ(read.rows[1005][1].style, kWrapped);
  EXPECT_EQ(std::count(read.heights.begin() + 1006, read.heights.end(), 150), 3000);
  EXPECT_EQ(read.rows.back()[0].text, std::string(600, 'y'));
}

// The most a worksheet holds is written; one column or row more, and the
// workbook is not written at all: the box says why and names it.
TEST(XlsxLimits, ATableLargerThanASheetIsRefusedWhole) {
  struct LimitCase {
    const char* name;
    std::size_t columns;
    std::uint64_t emptyRows;  // before the last row's cells
    bool written;
    std::string lastReference;
  };
  const LimitCase cases[] = {
      {"16,384 columns", 16384, 0, true, "XFD2"},
      {"16,385 columns", 16385, 0, false, ""},
      {"1,048,576 rows", 1, 1048574, true, "A1048576"},
      {"1,048,577 rows", 1, 1048575, false, ""},
  };
  test::TempDir dir;
  for (const LimitCase& c : cases) {
    SCOPED_TRACE(c.name);
    test::RecordingHost host;
    WriteBytes(dir / "t.xlsx", "earlier");
    XlsxDocument xlsx(PathText(dir / "t.xlsx"), ExistingTarget::Replace, TurnsOf(host));
    for (std::size_t i = 0; i < c.columns; ++i) xlsx.caption({Caption::EmailAddress, i + 1});
    xlsx.endRow();
    for (std::uint64_t i = 0; i < c.emptyRows; ++i) xlsx.endRow();
    for (std::size_t i = 0; i < c.columns; ++i) xlsx.lineValue(std::string_view("v"));
    xlsx.endRow();
    EXPECT_EQ(xlsx.commit(StatementReporter(host, Procedure::PerInputConversion), 546), c.written);
    if (c.written) {
      EXPECT_THAT(host.errors, IsEmpty());
      const std::string sheet = test::ReadXlsx(ReadBytes(dir / "t.xlsx")).parts["xl/worksheets/sheet1.xml"];
      EXPECT_NE(sheet.find("<c r=\"" + c.lastReference + "\""), std::string::npos);
    } else {
      EXPECT_EQ(ReadBytes(dir / "t.xlsx"), "earlier");
      ASSERT_EQ(host.errors.size(), 1u);
      EXPECT_EQ(host.errors[0].statement, 546);
      EXPECT_EQ(GetFileName(host.errors[0].file), u"t.xlsx");
      EXPECT_NE(host.errors[0].description.find(u"than a spreadsheet holds"), Text::npos);
    }
    EXPECT_THAT(test::TemporaryFilesIn(dir.path()), IsEmpty());
  }
}

struct Way {
  const char* name;
  bool single;
  bool perContact;
};

// A value longer than a cell holds is cut at the cell's limit, in every mode and
// either way of reading, and the run's summary names the workbook with how many
// it cut; the document keeps the value whole.
struct CutWay {
  Way way;
  std::uint64_t cut;  // the values cut in the workbook of long.vcf (or of output.xml)
};

class XlsxValuesCut : public ::testing::TestWithParam<CutWay> {};

TEST_P(XlsxValuesCut, TheSummaryNamesTheWorkbookAndCount) {
  test::TempDir dir;
  test::RecordingHost host;
  const Way way = GetParam().way;
  host.mode = way.single ? DocumentMode::OneDocument : DocumentMode::PerInput;
  host.perContact = way.perContact;
  host.beside[OutputFormat::Xlsx] = true;
  const std::string note = std::string(20000, 'n') + "\xC3\xA9" + std::string(20000, 'e');
  const std::string card = "BEGIN:VCARD\r\nFN:A\r\nNOTE;CHARSET=UTF-8:" + note + "\r\nEND:VCARD\r\n";
  for (const auto& [name, content] :
       {std::pair{"short.vcf", std::string("BEGIN:VCARD\r\nFN:B\r\nEND:VCARD\r\n")},
        {"long.vcf", card + card}}) {
    WriteBytes(dir / name, content);
    host.rows.push_back(PathText(dir / name));
  }
  RunSummary summary;
  ASSERT_EQ(StartConverting(host, summary), RunOutcome::Done);
  const fs::path workbook = dir / (way.single ? "output.xlsx" : "long.xlsx");
  EXPECT_THAT(summary.valuesCut, ElementsAre(ValuesCut{PathText(workbook), GetParam().cut}));
  const XlsxText xlsx = ReadChecked(workbook);
  // With a row per contact the names stay in view: the first column is frozen too.
  EXPECT_EQ(xlsx.firstColumnFrozen, way.perContact);
  const std::string cellText = xlsx.rows.back().back().text;
  EXPECT_EQ(cellText, note.substr(0, 32767 + 1));  // the é is two bytes and one character
  const std::string document = ReadBytes(dir / (way.single ? "output.xml" : "long.htm"));
  EXPECT_NE(document.find(std::string(20000, 'e')), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(BothModesBothReadings, XlsxValuesCut,
                         ::testing::Values(CutWay{{"EachByFile", false, false}, 2},
                                           CutWay{{"EachByContact", false, true}, 2},
                                           CutWay{{"OneByFile", true, false}, 1},
                                           CutWay{{"OneByContact", true, true}, 2}),
                         [](const auto& info) { return std::string(info.param.way.name); });

class XlsxSafety : public ::testing::Test {
 protected:
  test::TempDir dir;
  test::RecordingHost host;
  void SetUp() override { host.beside[OutputFormat::Xlsx] = true; }
  void add(const fs::path& name, std::string_view content) {
    WriteBytes(dir.path() / name, content);
    host.rows.push_back(PathText(dir.path() / name));
  }
  std::vector<std::pair<int, std::string>> errors() const {
    std::vector<std::pair<int, std::string>> out;
    for (const ErrorReport& e : host.errors) out.emplace_back(e.statement, ToUtf8(GetFileName(e.file)));
    return out;
  }
};

// A table wider than a worksheet still gets its document and CSV file; the
// workbook is refused whole and an earlier one stays.
TEST_F(XlsxSafety, ATableWiderThanASheetKeepsItsDocument) {
  host.beside[OutputFormat::Csv] = true;
  std::string card = "BEGIN:VCARD\r\n";
  for (int i = 0; i < 16385; ++i) card += "EMAIL;INTERNET:u" + std::to_string(i) + "@example.org\r\n";
  add("wide.vcf", card + "END:VCARD\r\n");
  WriteBytes(dir / "wide.xlsx", "earlier");
  StartConverting(host);
  EXPECT_THAT(errors(), ElementsAre(std::pair{546, "wide.xlsx"}));
  EXPECT_EQ(ReadBytes(dir / "wide.xlsx"), "earlier");
  EXPECT_NE(ReadBytes(dir / "wide.htm").find("u16384@example.org"), std::string::npos);
  EXPECT_NE(ReadBytes(dir / "wide.csv").find("u16384@example.org"), std::string::npos);
}

}  // namespace
}  // namespace brevant
