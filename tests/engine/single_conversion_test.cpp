#include "engine/single_conversion.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <random>

#include "engine/column_index.h"
#include "engine/engine_errors.h"
#include "support/utf8.h"
#include "test_support/caption_texts.h"
#include "test_support/recording_host.h"
#include "test_support/temp_dir.h"
#include "test_support/test_texts.h"

namespace brevant {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using testing::kDefaultOpening;
using testing::PathText;
using testing::ReadBytes;
using testing::WriteBytes;

std::string Document(std::string_view headers, std::initializer_list<std::string_view> rows) {
  std::string out = std::string(kDefaultOpening) + "<tr>\r\n" + std::string(headers) + "</tr>\r\n";
  for (std::string_view row : rows) out += "<tr>\r\n" + std::string(row) + "</tr>\r\n";
  return out + "</tbody></table></body></html>\r\n";
}

class SingleConversion : public ::testing::Test {
 protected:
  testing::TempDir dir;
  testing::RecordingHost host;

  void add(const std::string& name, std::string_view content) {
    WriteBytes(dir / name, content);
    host.rows.push_back(PathText(dir / name));
  }
  std::string convert() {
    ConvertVCFToSingleHTML(host, PathText(dir / "output.xml"));
    return ReadBytes(dir / "output.xml");
  }
};

TEST_F(SingleConversion, OneFileFillsAColumnPerCaption) {
  add("a.vcf", "FN:Ann\r\nN:Lee;Ann\r\nEMAIL:a@x\r\nEMAIL;HOME:b@x\r\nTEL;CELL:1\r\n");
  EXPECT_EQ(convert(),
            Document("<th>Display Name</th><th>Last Name</th><th>First Name</th><th>Email Address</th>"
                     "<th>Email Address 2</th><th>Mobile Phone</th>",
                     {"<td>&nbsp;Ann</td><td>&nbsp;Lee</td><td>&nbsp;Ann</td><td>&nbsp;a@x</td>"
                      "<td>&nbsp;b@x</td><td>&nbsp;1</td>"}));
}

TEST_F(SingleConversion, ColumnsAreTheUnionInOrderOfFirstAppearance) {
  add("one.vcf", "FN:Ann\nEMAIL:a\n");
  add("two.vcf", "FN:Bob\nEMAIL:b1\nEMAIL:b2\nEMAIL:b3\nORG:Co\n");
  add("missing-then-empty.vcf", "");
  host.rows.push_back(PathText(dir / "not-there.vcf"));
  add("two contacts.vcf", "FN:Cy\nEMAIL:c1\nFN:Di\nEMAIL:d1\n");
  EXPECT_EQ(
      convert(),
      Document("<th>Display Name</th><th>Email Address</th><th>Email Address 2</th><th>Email Address 3</th>"
               "<th>Organization</th>",
               {"<td>&nbsp;Ann</td><td>&nbsp;a</td><td>&nbsp;</td><td>&nbsp;</td><td>&nbsp;</td>",
                "<td>&nbsp;Bob</td><td>&nbsp;b1</td><td>&nbsp;b2</td><td>&nbsp;b3</td><td>&nbsp;Co</td>",
                "<td>&nbsp;</td><td>&nbsp;</td><td>&nbsp;</td><td>&nbsp;</td><td>&nbsp;</td>",
                "<td>&nbsp;</td><td>&nbsp;</td><td>&nbsp;</td><td>&nbsp;</td><td>&nbsp;</td>",
                "<td>&nbsp;Di</td><td>&nbsp;c1</td><td>&nbsp;d1</td><td>&nbsp;</td><td>&nbsp;</td>"}));
  EXPECT_TRUE(host.errors.empty());
}

TEST_F(SingleConversion, HomeAddressColumnsFollowTheBusinessOnes) {
  add("work.vcf", "ADR;WORK:;;1 St;Town;ST;Z1;Land\n");
  add("home.vcf", "ADR:;;2 Rd;Ville;RG;Z2;Pays\n");
  const std::string document = convert();
  EXPECT_THAT(document,
              HasSubstr("<th>Business Address 1</th><th>Business Address 2</th><th>Business City</th>"
                        "<th>Business State</th><th>Business Postal Code</th><th>Business Country</th>"
                        "<th>Home Address 1</th><th>Home Address 2</th><th>Home City</th>"
                        "<th>Home State</th><th>Home Postal Code</th><th>Home Country</th></tr>"));
  EXPECT_THAT(document, HasSubstr("<td>&nbsp;Land</td><td>&nbsp;</td><td>&nbsp;</td>"));
  EXPECT_THAT(document,
              HasSubstr("<tr>\r\n<td>&nbsp;</td><td>&nbsp;</td><td>&nbsp;</td><td>&nbsp;</td><td>&nbsp;"
                        "</td><td>&nbsp;</td><td>&nbsp;2 Rd</td>"));
}

TEST_F(SingleConversion, TheSameFileTwiceGivesTwoIdenticalRows) {
  add("a.vcf", "NOTE:<hi>\n");
  host.rows.push_back(host.rows.front());
  EXPECT_EQ(convert(),
            Document("<th>Notes</th>", {"<td>&nbsp;&lt;hi&gt;</td>", "<td>&nbsp;&lt;hi&gt;</td>"}));
}

TEST_F(SingleConversion, NoColumnsLeavesAnEarlierDocumentAlone) {
  WriteBytes(dir / "output.xml", "earlier");
  add("a.vcf", "BEGIN:VCARD\nitem1.EMAIL:x\nEND:VCARD\n");
  EXPECT_EQ(convert(), "earlier");
  EXPECT_TRUE(host.errors.empty());
  EXPECT_TRUE(host.captions.empty());
}

TEST_F(SingleConversion, ProgressShowsTheShareOfFilesInBothSweeps) {
  for (const char* name : {"a.vcf", "b.vcf", "c.vcf"}) add(name, "FN:x\n");
  convert();
  EXPECT_THAT(host.positions, ElementsAre(33, 66, 100, 33, 66, 100));
  EXPECT_THAT(host.captions, ElementsAre(u"Processing: a.vcf", u"Processing: b.vcf", u"Processing: c.vcf"));
  EXPECT_EQ(host.yields, 3);
}

TEST_F(SingleConversion, RowsChangedWhileYieldingDoNotShiftTheRun) {
  add("a.vcf", "FN:A\n");
  add("b.vcf", "FN:B\n");
  host.onYield = [this] { host.rows.clear(); };
  EXPECT_EQ(convert(), Document("<th>Display Name</th>", {"<td>&nbsp;A</td>", "<td>&nbsp;B</td>"}));
}

TEST_F(SingleConversion, AReadOnlyDocumentIsRefusedAndKept) {
  WriteBytes(dir / "output.xml", "earlier");
  fs::permissions(dir / "output.xml", fs::perms::owner_read);
  add("a.vcf", "FN:A\n");
  EXPECT_EQ(convert(), "earlier");
  ASSERT_EQ(host.errors.size(), 1u);
  EXPECT_EQ(host.errors[0].boxText(),
            u"Permission denied\r\nin Tarnwick2021/08/31.modVCF.ConvertVCFToSingleHTML at line 842\r\r"
            u"Please email screenshot of this message to support@ambervale.example");
}

TEST_F(SingleConversion, TheDocumentNeverReplacesOneOfItsInputs) {
  add("a.vcf", "FN:A\n");
  add("output.xml", "FN:Only copy of these contacts\n");
  EXPECT_EQ(convert(), "FN:Only copy of these contacts\n");
  ASSERT_EQ(host.errors.size(), 1u);
  EXPECT_EQ(host.errors[0].statement, 842);
  EXPECT_EQ(host.errors[0].description, kOutputWouldOverwriteInput);
}

TEST_F(SingleConversion, AnUnreadableInputGetsAnEmptyRow) {
  SKIP_ON_WINDOWS("needs file modes and an unprivileged user");
  add("a.vcf", "FN:A\n");
  add("locked.vcf", "FN:Secret\nORG:Hidden\n");
  add("c.vcf", "FN:C\n");
  fs::permissions(dir / "locked.vcf", fs::perms::none);
  ASSERT_TRUE(testing::CanRunUnprivileged());
  const int status = testing::RunInUnprivilegedChild([&] {
    testing::RecordingHost child;
    child.rows = host.rows;
    ConvertVCFToSingleHTML(child, PathText(dir / "output.xml"));
    const bool reported = child.errors.size() == 2 && child.errors[0].statement == 110 &&
                          child.errors[1].statement == 482 && child.errors[0].supportSentence;
    return reported ? 0 : 1;
  });
  EXPECT_EQ(status, 0);
  EXPECT_EQ(ReadBytes(dir / "output.xml"),
            Document("<th>Display Name</th>", {"<td>&nbsp;A</td>", "<td>&nbsp;</td>", "<td>&nbsp;C</td>"}));
}

TEST(IsHeaderExists, FindsTheFirstExactMatch) {
  const std::vector<Text> columns = {u"Display Name", u"Email Address", u"Display Name"};
  EXPECT_EQ(isHeaderExists(u"Display Name", columns), 0);
  EXPECT_EQ(isHeaderExists(u"Email Address", columns), 1);
  EXPECT_EQ(isHeaderExists(u"display name", columns), -1);
  EXPECT_EQ(isHeaderExists(u"Notes", {}), -1);
}

TEST(ColumnIndex, AnswersLikeAScanOfTheCaptionList) {
  std::mt19937 random(7);
  ColumnIndex index;
  std::vector<Text> captions;
  for (int i = 0; i < 3000; ++i) {
    const CaptionKey key{static_cast<Caption>(random() % kCaptionCount), 1 + random() % 40};
    ASSERT_EQ(index.find(key), isHeaderExists(FromUtf8(testing::CaptionString(key)), captions));
    index.addIfAbsent(key);
    if (isHeaderExists(FromUtf8(testing::CaptionString(key)), captions) == -1)
      captions.push_back(FromUtf8(testing::CaptionString(key)));
    ASSERT_EQ(index.size(), captions.size());
  }
  for (std::size_t i = 0; i < index.size(); ++i)
    EXPECT_EQ(FromUtf8(testing::CaptionString(index.at(i))), captions[i]);
}

}  // namespace
}  // namespace brevant
