#include "engine/convert/one_document_conversion.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <random>

#include "engine/scan/column_index.h"
#include "engine/statement_reporter.h"
#include "support/text/utf8.h"
#include "test_support/caption_texts.h"
#include "test_support/contact_table.h"
#include "test_support/recording_host.h"
#include "test_support/temp_dir.h"
#include "test_support/test_texts.h"

namespace brevant {
namespace {

namespace fs = std::filesystem;
using test::kOneDocumentOpening;
using test::PathText;
using test::ReadBytes;
using test::WriteBytes;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

std::string Document(std::string_view headers, std::initializer_list<std::string_view> rows) {
  std::string out = std::string(kOneDocumentOpening) + "<tr>\r\n" + std::string(headers) + "</tr>\r\n";
  for (std::string_view row : rows) out += "<tr>\r\n" + std::string(row) + "</tr>\r\n";
  return out + "</tbody></table></body></html>\r\n";
}

class OneDocumentConversion : public ::testing::Test {
 protected:
  test::TempDir dir;
  test::RecordingHost host;

  void add(const std::string& name, std::string_view content) {
    WriteBytes(dir / name, content);
    host.rows.push_back(PathText(dir / name));
  }
  std::string convert() {
    ConvertToOneDocument(host, PathText(dir / "output.xml"));
    return ReadBytes(dir / "output.xml");
  }
};

TEST_F(OneDocumentConversion, OneFileFillsAColumnPerCaption) {
  add("a.vcf", "FN:Ann\r\nN:Lee;Ann\r\nEMAIL:a@x\r\nEMAIL;HOME:b@x\r\nTEL;CELL:1\r\n");
  EXPECT_EQ(convert(),
            Document("<th>Display Name</th><th>Last Name</th><th>First Name</th><th>Email Address</th>"
                     "<th>Email Address 2</th><th>Mobile Phone</th>",
                     {"<td>&#160;Ann</td><td>&#160;Lee</td><td>&#160;Ann</td><td>&#160;a@x</td>"
                      "<td>&#160;b@x</td><td>&#160;1</td>"}));
}

TEST_F(OneDocumentConversion, ColumnsAreTheUnionInOrderOfFirstAppearance) {
  add("one.vcf", "FN:Ann\nEMAIL:a\n");
  add("two.vcf", "FN:Bob\nEMAIL:b1\nEMAIL:b2\nEMAIL:b3\nORG:Co\n");
  add("missing-then-empty.vcf", "");
  host.rows.push_back(PathText(dir / "not-there.vcf"));
  add("two contacts.vcf", "FN:Cy\nEMAIL:c1\nFN:Di\nEMAIL:d1\n");
  EXPECT_EQ(
      convert(),
      Document("<th>Display Name</th><th>Email Address</th><th>Email Address 2</th><th>Email Address 3</th>"
               "<th>Organization</th>",
               {"<td>&#160;Ann</td><td>&#160;a</td><td>&#160;</td><td>&#160;</td><td>&#160;</td>",
                "<td>&#160;Bob</td><td>&#160;b1</td><td>&#160;b2</td><td>&#160;b3</td><td>&#160;Co</td>",
                "<td>&#160;</td><td>&#160;</td><td>&#160;</td><td>&#160;</td><td>&#160;</td>",
                "<td>&#160;</td><td>&#160;</td><td>&#160;</td><td>&#160;</td><td>&#160;</td>",
                "<td>&#160;Di</td><td>&#160;c1</td><td>&#160;d1</td><td>&#160;</td><td>&#160;</td>"}));
  EXPECT_TRUE(host.errors.empty());
}

TEST_F(OneDocumentConversion, HomeAddressColumnsFollowTheBusinessOnes) {
  add("work.vcf", "ADR;WORK:;;1 St;Town;ST;Z1;Land\n");
  add("home.vcf", "ADR:;;2 Rd;Ville;RG;Z2;Pays\n");
  const std::string document = convert();
  EXPECT_THAT(document,
              HasSubstr("<th>Business Address 1</th><th>Business Address 2</th><th>Business City</th>"
                        "<th>Business State</th><th>Business Postal Code</th><th>Business Country</th>"
                        "<th>Home Address 1</th><th>Home Address 2</th><th>Home City</th>"
                        "<th>Home State</th><th>Home Postal Code</th><th>Home Country</th></tr>"));
  EXPECT_THAT(document, HasSubstr("<td>&#160;Land</td><td>&#160;</td><td>&#160;</td>"));
  EXPECT_THAT(document,
              HasSubstr("<tr>\r\n<td>&#160;</td><td>&#160;</td><td>&#160;</td><td>&#160;</td><td>&#160;"
                        "</td><td>&#160;</td><td>&#160;2 Rd</td>"));
}

TEST_F(OneDocumentConversion, TheSameFileTwiceGivesTwoIdenticalRows) {
  add("a.vcf", "NOTE:<hi>\n");
  host.rows.push_back(host.rows.front());
  EXPECT_EQ(convert(),
            Document("<th>Notes</th>", {"<td>&#160;&lt;hi&gt;</td>", "<td>&#160;&lt;hi&gt;</td>"}));
}

TEST_F(OneDocumentConversion, NoColumnsLeavesAnEarlierDocumentAlone) {
  WriteBytes(dir / "output.xml", "earlier");
  add("a.vcf", "BEGIN:VCARD\nitem1.EMAIL:x\nEND:VCARD\n");
  EXPECT_EQ(convert(), "earlier");
  EXPECT_TRUE(host.errors.empty());
  EXPECT_TRUE(host.captions.empty());
}

// UTF-16 little-endian with its byte-order mark (which stays a character of the first line).
std::string Utf16File(std::u16string_view line) {
  std::string bytes = "\xFF\xFE";
  for (char16_t c : line) bytes += static_cast<char>(c & 0xFF), bytes += static_cast<char>(c >> 8);
  return bytes;
}

// output.xml is read as XML by browsers and XML tools: every value reads as the
// characters its bytes are in the code page, the unassigned five among them,
// and what XML cannot hold at all (control characters, U+FFFF) is left out.
TEST_F(OneDocumentConversion, TheDocumentIsXhtmlThatXmlReadersReadAsWritten) {
  struct Case {
    const char* name;
    std::string file;
    const char* shown;  // the value as the XML reader gives it, in UTF-8
  };
  const Case cases[] = {
      {"code page", "FN:Zo\xEB \x80 & <b>\n", "Zo\u00EB \u20AC & <b>"},
      {"UTF-8 bytes", "FN:\xD0\x9D\xD1\x81\n", "\u00D0\u009D\u00D1\u0081"},
      {"unassigned", "FN:\x81\x8D\x8F\x90\x9D.\n", "\u0081\u008D\u008F\u0090\u009D."},
      {"controls", std::string("FN:a\0\x01\x1F\tb\x0C\n", 11), "a\tb"},
      {"UTF-16", Utf16File(u"\nFN:\u0141 \U0001F600 \u0081\uFFFF\uFFFE\u0001&\n"),
       "\u0141 \U0001F600 \u0081&"},
  };
  for (const Case& c : cases) add(std::string(c.name) + ".vcf", c.file);
  const std::string document = convert();
  EXPECT_TRUE(document.starts_with(kOneDocumentOpening));
  if (!test::ChecksXml()) GTEST_SKIP() << "no XML parser in this build";
  const test::XmlDocumentText xml = test::ReadXmlDocument(document);
  ASSERT_TRUE(xml.wellFormed) << document;
  EXPECT_EQ(xml.rootNamespace, "http://www.w3.org/1999/xhtml");
  ASSERT_EQ(xml.cells.size(), 1 + std::size(cases));
  EXPECT_EQ(xml.cells[0], "Display Name");
  for (std::size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(xml.cells[i + 1], "\u00A0" + std::string(cases[i].shown)) << cases[i].name;
}

TEST_F(OneDocumentConversion, ProgressShowsTheShareOfFilesInBothSweeps) {
  for (const char* name : {"a.vcf", "b.vcf", "c.vcf"}) add(name, "FN:x\n");
  convert();
  EXPECT_THAT(host.positions, ElementsAre(33, 66, 100, 33, 66, 100));
  EXPECT_THAT(host.captions, ElementsAre(u"Processing: a.vcf", u"Processing: b.vcf", u"Processing: c.vcf"));
  EXPECT_EQ(host.yields, 6);  // once per file in each sweep
}

TEST_F(OneDocumentConversion, RowsChangedWhileYieldingDoNotShiftTheRun) {
  add("a.vcf", "FN:A\n");
  add("b.vcf", "FN:B\n");
  host.onYield = [this] { host.rows.clear(); };
  EXPECT_EQ(convert(), Document("<th>Display Name</th>", {"<td>&#160;A</td>", "<td>&#160;B</td>"}));
}

TEST_F(OneDocumentConversion, AReadOnlyDocumentIsRefusedAndKept) {
  WriteBytes(dir / "output.xml", "earlier");
  fs::permissions(dir / "output.xml", fs::perms::owner_read);
  add("a.vcf", "FN:A\n");
  EXPECT_EQ(convert(), "earlier");
  ASSERT_EQ(host.errors.size(), 1u);
  EXPECT_EQ(host.errors[0].boxText(),
            u"Permission denied\r\nin Tarnwick2021/08/31.modVCF.ConvertVCFToSingleHTML at line 842\r\r"
            u"Please email screenshot of this message to support@ambervale.example");
}

TEST_F(OneDocumentConversion, TheDocumentNeverReplacesOneOfItsInputs) {
  add("a.vcf", "FN:A\n");
  add("output.xml", "FN:Only copy of these contacts\n");
  EXPECT_EQ(convert(), "FN:Only copy of these contacts\n");
  ASSERT_EQ(host.errors.size(), 1u);
  EXPECT_EQ(host.errors[0].statement, 842);
  EXPECT_EQ(host.errors[0].description, kOutputWouldOverwriteInput);
}

TEST_F(OneDocumentConversion, AnUnreadableInputGetsAnEmptyRow) {
  SKIP_ON_WINDOWS("needs file modes and an unprivileged user");
  add("a.vcf", "FN:A\n");
  add("locked.vcf", "FN:Secret\nORG:Hidden\n");
  add("c.vcf", "FN:C\n");
  fs::permissions(dir / "locked.vcf", fs::perms::none);
  ASSERT_TRUE(test::CanRunUnprivileged());
  const int status = test::RunInUnprivilegedChild([&] {
    test::RecordingHost child;
    child.rows = host.rows;
    ConvertToOneDocument(child, PathText(dir / "output.xml"));
    const bool reported = child.errors.size() == 2 && child.errors[0].statement == 110 &&
                          child.errors[1].statement == 482 && child.errors[0].supportSentence;
    return reported ? 0 : 1;
  });
  EXPECT_EQ(status, 0);
  EXPECT_EQ(ReadBytes(dir / "output.xml"),
            Document("<th>Display Name</th>", {"<td>&#160;A</td>", "<td>&#160;</td>", "<td>&#160;C</td>"}));
}

// A file that takes a while: many lines, tens of thousands of numbered columns
// and one long value that escaping makes five times longer.
std::string LargeFile() {
  std::string text = "FN:Large\n";
  for (int i = 0; i < 40000; ++i) text += "EMAIL:" + std::to_string(i) + "\n";
  return text + "NOTE:" + std::string(300000, '&') + "\n";
}

TEST_F(OneDocumentConversion, LargeFilesGiveTheHostTurnsInBothSweepsAndWhileTheirRowIsWritten) {
  add("a.vcf", LargeFile());
  add("b.vcf", "FN:b\n");
  int firstSweep = 0;
  host.onYield = [&] { firstSweep += host.captions.empty() ? 1 : 0; };
  const std::string document = convert();
  // Every file, then every quarter megabyte of lines.
  EXPECT_GE(firstSweep, 2 + 2);
  // The same while reading, then every 4,096 cells of the header and of the
  // row, and every slice of the long value.
  EXPECT_GE(host.yields - firstSweep, 2 + 2 + 2 * 9 + 2);
  std::string headers = "<th>Display Name</th><th>Email Address</th>";
  std::string first = "<td>&#160;Large</td><td>&#160;0</td>";
  std::string second = "<td>&#160;b</td><td>&#160;</td>";
  for (int i = 1; i < 40000; ++i) {
    headers += "<th>Email Address " + std::to_string(i + 1) + "</th>";
    first += "<td>&#160;" + std::to_string(i) + "</td>";
    second += "<td>&#160;</td>";
  }
  std::string note;
  for (int i = 0; i < 300000; ++i) note += "&amp;";
  EXPECT_TRUE(document == Document(headers + "<th>Notes</th>",
                                   {first + "<td>&#160;" + note + "</td>", second + "<td>&#160;</td>"}));
}

// The window ends a run by throwing out of a yield when it is closed: wherever
// that happens, the earlier document stays and nothing is left beside it.
TEST_F(OneDocumentConversion, EndedAtAnyTurnTheEarlierDocumentStaysAndNothingIsLeft) {
  add("a.vcf", LargeFile());
  add("b.vcf", "FN:b\n");
  convert();
  const int turns = host.yields;
  ASSERT_GE(turns, 10);
  struct Ended {};
  for (int end = 1; end <= turns; ++end) {
    SCOPED_TRACE(end);
    WriteBytes(dir / "output.xml", "earlier");
    int turn = 0;
    host.onYield = [&] {
      if (++turn == end) throw Ended{};
    };
    EXPECT_THROW(convert(), Ended);
    EXPECT_EQ(ReadBytes(dir / "output.xml"), "earlier");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 3);
  }
  EXPECT_TRUE(host.errors.empty());
}

TEST(IsHeaderExists, FindsTheFirstExactMatch) {
  const std::vector<Text> columns = {u"Display Name", u"Email Address", u"Display Name"};
  EXPECT_EQ(isHeaderExists(u"Display Name", columns), 0);
  EXPECT_EQ(isHeaderExists(u"Email Address", columns), 1);
  EXPECT_EQ(isHeaderExists(u"display name", columns), -1);
  EXPECT_EQ(isHeaderExists(u"Notes", {}), -1);
}

// Counters give numbers that count up, but the index takes any: numbers far
// beyond the others, and later the numbers up to them.
TEST(ColumnIndex, AnswersLikeAScanOfTheCaptionList) {
  std::mt19937 random(7);
  ColumnIndex index;
  std::vector<Text> captions;
  const auto add = [&](CaptionKey key) {
    ASSERT_EQ(index.find(key), isHeaderExists(FromUtf8(test::CaptionString(key)), captions));
    index.addIfAbsent(key);
    if (isHeaderExists(FromUtf8(test::CaptionString(key)), captions) == -1)
      captions.push_back(FromUtf8(test::CaptionString(key)));
    ASSERT_EQ(index.size(), captions.size());
  };
  for (int i = 0; i < 3000; ++i) {
    const std::uint64_t number = i % 10 == 0 ? 5000 + random() % 3 : 1 + random() % 40;
    add({static_cast<Caption>(random() % kCaptionCount), number});
  }
  add({Caption::Notes, std::uint64_t{1} << 40});
  for (std::uint64_t number = 1; number <= 5100; number += 1 + random() % 2) add({Caption::Notes, number});
  for (std::size_t i = 0; i < index.size(); ++i)
    EXPECT_EQ(FromUtf8(test::CaptionString(index.at(i))), captions[i]);
}

}  // namespace
}  // namespace brevant
