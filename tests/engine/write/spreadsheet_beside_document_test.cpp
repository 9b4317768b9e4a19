// The CSV file and the .xlsx workbook beside each document, in both modes and
// both ways of reading: each holds the document's cells as a spreadsheet shows
// them, in UTF-8, and is put in place without a temporary file left behind.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "engine/convert/conversion_run.h"
#include "support/text/ansi_code_page.h"
#include "support/text/utf8.h"
#include "test_support/contact_table.h"
#include "test_support/csv_table.h"
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
using ::testing::IsEmpty;

constexpr char kLatinAndCjk[] =
    "BEGIN:VCARD\r\nVERSION:2.1\r\nFN:Zo\xC3\xAB D\xC3\xBCpont-\xE6\x9D\x8E\r\nN:D\xC3\xBCpont;Zo\xC3\xAB\r\n"
    "TEL;CELL:+491622433834\r\nTEL;HOME:017623384942\r\nEMAIL;INTERNET:zoe@example.org\r\n"
    "NOTE;ENCODING=QUOTED-PRINTABLE:Call after 6, ask for \"Z\".=0D=0A=3D1+1\r\n"
    "ADR;WORK:;;1 Main St;Town;ST;02138;Land\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:2.1\r\nFN:\xE7\x94\xB0\xE4\xB8\xAD \xE5\xA4\xAA\xE9\x83\x8E\r\n"
    "EMAIL;INTERNET:taro@example.jp\r\nEND:VCARD\r\n";
constexpr char kCyrillicAndEmoji[] =
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:\xD0\x96\xD0\xB5\xD0\xBD\xD1\x8F \xF0\x9F\x8E\xB8\r\n"
    "N:\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD\xD0\xBE\xD0\xB2\xD0\xB0;\xD0\x96\xD0\xB5\xD0\xBD\xD1\x8F\r\n"
    "NOTE;TYPE=x:Plays bass\\, sings.\\nLine two\r\nTEL;WORK:+7 495 123-45-67\r\nEND:VCARD\r\n";
// A CSV field that would run as a formula gets an apostrophe, which the
// document does not show: this input goes into the workbook only.
constexpr char kWindows1252AndFormula[] =
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:J\xFCrgen M\xFCller\r\nNOTE:=HYPERLINK(\"http://x.example\")\r\n"
    "TEL;WORK:+49 (0)30 1234\r\nEND:VCARD\r\n";

// The style of the header row's cells (bold).
constexpr int kHeaderStyle = 1;

// Bytes that are UTF-8 as they are, any others as Windows-1252.
std::string AsCharacters(const std::string& bytes) {
  if (IsValidUtf8(bytes)) return bytes;
  std::string text;
  for (const char byte : bytes) AppendUtf8(text, AnsiByteToChar(static_cast<std::uint8_t>(byte)));
  return text;
}

// The cells as a spreadsheet shows them: a line break is one line feed, a
// carriage return that ends a cell (the end of its vCard line) shows nothing;
// a workbook also has no cells for the empty ones that end a row.
test::Cells Shown(test::Cells cells, bool emptyCellsEndRows) {
  for (auto& row : cells) {
    for (std::string& cell : row) {
      for (std::size_t at; (at = cell.find("\r\n")) != std::string::npos;) cell.erase(at, 1);
      if (cell.ends_with('\r')) cell.pop_back();
      cell = AsCharacters(cell);
    }
    while (emptyCellsEndRows && !row.empty() && row.back().empty()) row.pop_back();
  }
  return cells;
}

// One format beside the document: how a run asks for it, how it is read back
// (with the checks every file of it must pass), and texts that must stand in
// it as written.
struct Format {
  const char* name;
  const char* extension;
  OutputFormat format;
  std::vector<std::pair<const char*, const char*>> inputs;
  bool emptyCellsEndRows;
  std::function<test::Cells(const std::string& bytes)> read;
  const char* keptIn;             // the part of the archive that holds them; nullptr: the whole file
  std::vector<const char*> kept;  // in the last input's file
};

const Format kFormats[] = {
    {"Csv",
     ".csv",
     OutputFormat::Csv,
     {{"cards.vcf", kLatinAndCjk}, {"more.vcf", kCyrillicAndEmoji}},
     false,
     [](const std::string& bytes) {
       const test::CsvText csv = test::ReadCsv(bytes);
       EXPECT_TRUE(csv.byteOrderMark);
       EXPECT_TRUE(csv.wellFormed) << csv.problem;
       return csv.records;
     },
     // A Cyrillic name with an emoji, as read.
     nullptr,
     {"\xD0\x96\xD0\xB5\xD0\xBD\xD1\x8F \xF0\x9F\x8E\xB8"}},
    {"Xlsx",
     ".xlsx",
     OutputFormat::Xlsx,
     {{"more.vcf", kWindows1252AndFormula}, {"cards.vcf", kLatinAndCjk}},
     true,
     [](const std::string& bytes) {
       const test::XlsxText xlsx = test::ReadXlsx(bytes);
       EXPECT_TRUE(xlsx.zipWhole) << xlsx.problem;
       EXPECT_TRUE(xlsx.xmlWellFormed || !test::ChecksXml()) << xlsx.problem;
       EXPECT_EQ(xlsx.problem, "");
       EXPECT_TRUE(xlsx.headerFrozen);
       for (const auto& row : xlsx.rows) {
         for (const test::XlsxCell& cell : row) {
           if (!cell.type.empty()) {
             EXPECT_EQ(cell.type, "s") << cell.text;
           }
         }
       }
       if (!xlsx.rows.empty()) {
         for (const test::XlsxCell& caption : xlsx.rows[0])
           EXPECT_EQ(caption.style, kHeaderStyle) << caption.text;
       }
       return xlsx.texts();
     },
     // Phone numbers and the postal code keep their "+" and leading zeros, as text.
     "xl/sharedStrings.xml",
     {"<t>+491622433834</t>", "<t>017623384942</t>", "<t>02138"}},
};

struct Way {
  const char* name;
  bool single;
  bool perContact;
};

const Way kWays[] = {{"EachByFile", false, false},
                     {"EachByContact", false, true},
                     {"OneByFile", true, false},
                     {"OneByContact", true, true}};

class SpreadsheetBesideDocument : public ::testing::TestWithParam<std::tuple<const Format*, const Way*>> {};

TEST_P(SpreadsheetBesideDocument, HoldsTheDocumentsCells) {
  const auto [format, way] = GetParam();
  test::TempDir dir;
  test::RecordingHost host;
  host.mode = way->single ? DocumentMode::OneDocument : DocumentMode::PerInput;
  host.perContact = way->perContact;
  host.beside[format->format] = true;
  for (const auto& [name, content] : format->inputs) {
    WriteBytes(dir / "in" / name, content);
    host.rows.push_back(PathText(dir / "in" / name));
  }
  ASSERT_EQ(StartConverting(host), RunOutcome::Done);
  EXPECT_THAT(host.errors, IsEmpty());
  std::vector<std::string> documents;
  if (way->single) documents.push_back("output");
  for (const auto& input : format->inputs) {
    if (!way->single) documents.push_back(fs::path(input.first).stem().string());
  }
  for (const std::string& name : documents) {
    SCOPED_TRACE(name);
    const std::string document = ReadBytes(dir / "in" / (name + (way->single ? ".xml" : ".htm")));
    const test::Cells cells = test::DocumentCells(document);
    ASSERT_GE(cells.size(), 2u);
    const test::Cells read = format->read(ReadBytes(dir / "in" / (name + format->extension)));
    EXPECT_EQ(Shown(read, format->emptyCellsEndRows), Shown(cells, format->emptyCellsEndRows));
  }
  const std::string last = ReadBytes(dir / "in" / (documents.back() + format->extension));
  const std::string text = format->keptIn == nullptr ? last : test::ReadXlsx(last).parts[format->keptIn];
  for (const char* kept : format->kept) EXPECT_NE(text.find(kept), std::string::npos) << kept;
  // The inputs, and for each document itself and the file beside it: no temporary file left behind.
  std::size_t inFolder = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir / "in")) ++inFolder;
  EXPECT_EQ(inFolder, format->inputs.size() + 2 * documents.size());
  EXPECT_THAT(test::TemporaryFilesIn(dir / "in"), IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(BothFormatsBothModesBothReadings, SpreadsheetBesideDocument,
                         ::testing::Combine(::testing::Values(&kFormats[0], &kFormats[1]),
                                            ::testing::Values(&kWays[0], &kWays[1], &kWays[2], &kWays[3])),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param)->name) + std::get<1>(info.param)->name;
                         });

}  // namespace
}  // namespace brevant
