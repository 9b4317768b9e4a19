// The table as a CSV file beside each document: its fields, and the same cells
// as the document in both modes and both ways of reading.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine/convert/conversion_run.h"
#include "engine/statement_reporter.h"
#include "engine/write/csv_document.h"
#include "support/files/path_helpers.h"
#include "support/text/utf8.h"
#include "test_support/csv_table.h"
#include "test_support/recording_host.h"
#include "test_support/temp_dir.h"
#include "test_support/temporary_files.h"
#include "test_support/test_texts.h"

namespace brevant {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using test::PathText;
using test::ReadBytes;
using test::WriteBytes;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr char kMark[] = "\xEF\xBB\xBF";

struct FieldCase {
  std::string name;
  std::u16string utf16;  // the value read from a UTF-16 file, when not empty
  std::string bytes;     // else the value's bytes
  std::string field;     // as written
};

TEST(CsvField, ValuesAreQuotedGuardedAndInUtf8) {
  const FieldCase cases[] = {
      {"plain", u"", "Ann Lee", "Ann Lee"},
      {"comma", u"", "Lee, Ann", "\"Lee, Ann\""},
      {"quotes doubled", u"", "Ann \"Nan\" Lee", "\"Ann \"\"Nan\"\" Lee\""},
      {"line break kept", u"", "one\r\ntwo", "\"one\r\ntwo\""},
      // A line feed alone is a line break too, wherever it stands in a value of any length.
      {"line feed, short", u"", "a\nb", "\"a\nb\""},
      {"line feed, eight bytes and more", u"", "first line\nsecond", "\"first line\nsecond\""},
      {"line feed after UTF-8", u"",
       "M\xC3\xBCller Stra\xC3\x9F"
       "e\nBerlin",
       "\"M\xC3\xBCller Stra\xC3\x9F"
       "e\nBerlin\""},
      {"line feed, UTF-16", u"first line\nsecond", "", "\"first line\nsecond\""},
      {"line end left out", u"", "Town\r", "Town"},
      {"formula", u"", "=1+1", "'=1+1"},
      {"formula with quotes", u"", "=HYPERLINK(\"http://x.example\",\"y\")",
       "\"'=HYPERLINK(\"\"http://x.example\"\",\"\"y\"\")\""},
      {"at sign", u"", "@SUM(A1:A9)", "'@SUM(A1:A9)"},
      {"tab", u"", "\tcmd", "'\tcmd"},
      {"carriage return", u"", "\rcmd", "\"'\rcmd\""},
      {"plus command", u"", "+cmd|' /C calc'!A0", "'+cmd|' /C calc'!A0"},
      {"minus sum", u"", "-2+3", "'-2+3"},
      {"phone number stays", u"", "+1 555-0100", "+1 555-0100"},
      {"phone with parentheses and dots", u"", "+44 (0)20 7946.0000", "+44 (0)20 7946.0000"},
      {"minus number stays", u"", "-42", "-42"},
      {"sign alone stays", u"", "-", "-"},
      {"equals inside stays", u"", "a=b", "a=b"},
      {"blank before equals stays", u"", " =1", " =1"},
      {"UTF-8 as it is", u"", "Zo\xC3\xAB \xE6\x9D\x8E \xF0\x9F\x98\x80",
       "Zo\xC3\xAB \xE6\x9D\x8E \xF0\x9F\x98\x80"},
      {"Windows-1252 into UTF-8", u"", "M\xFCller \x80", "M\xC3\xBCller \xE2\x82\xAC"},
      {"UTF-16 into UTF-8", u"\u0416\u0435\u043D\u044F \U0001F600, \"\xD800\"", "",
       "\"\xD0\x96\xD0\xB5\xD0\xBD\xD1\x8F \xF0\x9F\x98\x80, \"\"\xEF\xBF\xBD\"\"\""},
      {"UTF-16 formula", u"=1", "", "'=1"},
      // Control characters are left out as the documents leave them out, before the formula guard.
      {"NUL before a formula", u"", "\0=1+1"s, "'=1+1"},
      {"controls before a web call", u"", "\x01\x1F=WEBSERVICE(\"http://x.example/\")",
       "\"'=WEBSERVICE(\"\"http://x.example/\"\")\""},
      {"escape before a plus", u"", "\x1B+cmd|' /C calc'!A0", "'+cmd|' /C calc'!A0"},
      {"NUL after a minus", u"", "-\0\x02+3"s, "'-+3"},
      {"NUL before a phone number", u"", "\0+1 555-0100"s, "+1 555-0100"},
      {"controls inside left out", u"", "a\0b\x1B[1mc\x7F"s, "ab[1mc\x7F"},
      {"controls only", u"", "\x01\x02", "\"\""},
      {"tab and line breaks kept", u"", "a\tb\r\nc\x0B", "\"a\tb\r\nc\""},
      {"Windows-1252 with controls", u"", "\x01M\xFCller\x1F", "M\xC3\xBCller"},
      {"long UTF-8 with controls", u"", "\xC3\xA9\x01\"abcdefghij\x02klmnop",
       "\"\xC3\xA9\"\"abcdefghijklmnop\""},
      {"UTF-16 NUL before a formula", u"\0\x1F=1"s, "", "'=1"},
      {"UTF-16 controls inside left out", u"a\x01\u0416\x85"s, "", "a\xD0\x96\xC2\x85"},
  };
  test::TempDir dir;
  test::RecordingHost host;
  const StatementReporter errors(host, Procedure::PerInputConversion);
  for (const FieldCase& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path file = dir / "table.csv";
    CsvDocument csv(PathText(file), ExistingTarget::Replace, TurnsOf(host));
    csv.caption({Caption::Notes, 2});
    csv.endRow();
    if (c.utf16.empty()) {
      csv.lineValue(c.bytes);
    } else {
      csv.lineValue(c.utf16);
    }
    csv.endRow();
    EXPECT_TRUE(csv.commit(errors, 1));
    const std::string written = ReadBytes(file);
    EXPECT_EQ(written, kMark + std::string("Notes 2\r\n") + c.field + "\r\n");
    EXPECT_TRUE(test::ReadCsv(written).wellFormed) << test::ReadCsv(written).problem;
  }
  EXPECT_THAT(host.errors, IsEmpty());
}

// Decoded values of one row per contact: bytes that are UTF-8, or Windows-1252 ones.
TEST(CsvField, DecodedValuesKeepTheirCharacters) {
  test::TempDir dir;
  test::RecordingHost host;
  CsvDocument csv(PathText(dir / "t.csv"), ExistingTarget::Replace, TurnsOf(host));
  csv.caption({Caption::DisplayName});
  csv.caption({Caption::Notes});
  csv.caption({Caption::HomeCity});
  csv.endRow();
  csv.value("Ren\xE9", ByteEncoding::Windows1252);
  csv.value("a\nb\r", ByteEncoding::Utf8);  // decoded text keeps every character
  csv.emptyValue();
  csv.endRow();
  csv.emptyValue();  // a row of one empty field stays a row
  csv.endRow();
  ASSERT_TRUE(csv.commit(StatementReporter(host, Procedure::PerInputConversion), 1));
  EXPECT_EQ(ReadBytes(dir / "t.csv"),
            std::string(kMark) + "Display Name,Notes,Home City\r\nRen\xC3\xA9,\"a\nb\r\",\r\n\"\"\r\n");
}

// Values of megabytes go out in slices and pieces and come back whole.
TEST(CsvField, LongValuesComeBackWhole) {
  std::string note;
  std::u16string chars;
  for (int i = 0; i < 150000; ++i) {
    note += "M\xFCller, \"line\"\r\n ";
    chars += u"\u041C \U0001F600\"";
  }
  test::TempDir dir;
  test::RecordingHost host;
  CsvDocument csv(PathText(dir / "t.csv"), ExistingTarget::Replace, TurnsOf(host));
  csv.caption({Caption::Notes});
  csv.caption({Caption::Notes, 2});
  csv.endRow();
  csv.lineValue(note);
  csv.lineValue(chars);
  csv.endRow();
  ASSERT_TRUE(csv.commit(StatementReporter(host, Procedure::PerInputConversion), 1));
  const test::CsvText read = test::ReadCsv(ReadBytes(dir / "t.csv"));
  ASSERT_TRUE(read.wellFormed) << read.problem;
  ASSERT_EQ(read.records.size(), 2u);
  std::string utf8Note;
  for (char c : note) utf8Note += c == '\xFC' ? std::string("\xC3\xBC") : std::string(1, c);
  EXPECT_TRUE(read.records[1][0] == utf8Note);  // not printed: megabytes
  EXPECT_TRUE(read.records[1][1] == ToUtf8(chars));
  EXPECT_GT(host.yields, 2);  // a turn for the host between pieces
}

// The CSV file holds the values the XHTML document of one row per contact
// shows: control characters left out of both, and a formula still guarded.
TEST(CsvField, ControlCharactersLeaveBothFilesAlike) {
  for (const bool single : {false, true}) {
    SCOPED_TRACE(single ? "one document" : "per file");
    test::TempDir dir;
    test::RecordingHost host;
    host.perContact = true;
    host.beside[OutputFormat::Csv] = true;
    host.mode = single ? DocumentMode::OneDocument : DocumentMode::PerInput;
    WriteBytes(dir / "a.vcf",
               "BEGIN:VCARD\r\nFN:\x01"
               "Ann\x1B\r\nNOTE:\0=1+1\r\nEND:VCARD\r\n"s);
    host.rows.push_back(PathText(dir / "a.vcf"));
    ASSERT_EQ(StartConverting(host), RunOutcome::Done);
    EXPECT_THAT(host.errors, IsEmpty());
    const std::string name = single ? "output" : "a";
    const test::CsvText csv = test::ReadCsv(ReadBytes(dir / (name + ".csv")));
    ASSERT_TRUE(csv.wellFormed) << csv.problem;
    const test::Cells cells = test::DocumentCells(ReadBytes(dir / (name + (single ? ".xml" : ".htm"))));
    ASSERT_EQ(csv.records.size(), 2u);
    ASSERT_EQ(cells.size(), 2u);
    EXPECT_EQ(csv.records[1], (std::vector<std::string>{"Ann", "'=1+1"}));
    EXPECT_EQ(cells[1], (std::vector<std::string>{"Ann", "=1+1"}));
  }
}

}  // namespace
}  // namespace brevant
