#include "engine/write/html_document.h"

#include <gtest/gtest.h>

#include "support/text/utf8.h"

namespace brevant {
namespace {

TEST(ColorToHex, ReversesTheStoredByteOrder) {
  EXPECT_EQ(ColorToHex(255), u"#FF0000");
  EXPECT_EQ(ColorToHex(0), u"#000000");
  EXPECT_EQ(ColorToHex(0xFFFFFF), u"#FFFFFF");
  EXPECT_EQ(ColorToHex(0xCCBBAA), u"#AABBCC");
  EXPECT_EQ(ColorToHex(0xFF00), u"#00FF00");
  EXPECT_EQ(ColorToHex(0x1F), u"#1F0000");
  EXPECT_EQ(ColorToHex(0x1A00), u"#001A00");
}

TEST(ColorToHex, LongValuesUseFirstMiddleAndLastDigits) {
  EXPECT_EQ(ColorToHex(static_cast<Colour>(0x8000000F)), u"#0F0080");
  EXPECT_EQ(ColorToHex(-1), u"#FFFFFF");
  EXPECT_EQ(ColorToHex(0x1234567), u"#673412");
}

TEST(OpeningPiece, CarriesColoursAndBorderAsTyped) {
  EXPECT_EQ(OpeningPiece(255, u"0", 0xFFFFFF),
            "<html><title></title><body><table width='100%' style='color:#FF0000' border='0' "
            "bgcolor='#FFFFFF'><tbody>\r\n");
  EXPECT_EQ(OpeningPiece(0, u"2px\u00e9\u4e00", 0),
            "<html><title></title><body><table width='100%' style='color:#000000' border='2px\xe9&#19968;' "
            "bgcolor='#000000'><tbody>\r\n");
}

TEST(OpeningPiece, BorderTextCannotLeaveItsAttribute) {
  const std::pair<std::u16string_view, std::string_view> cases[] = {
      {u"1", "1"},
      {u"12", "12"},
      {u"1'><script>alert(1)</script>", "1&#39;&gt;&lt;script&gt;alert(1)&lt;/script&gt;"},
      {u"a\"b&c", "a&quot;b&amp;c"},
  };
  for (const auto& [border, written] : cases) {
    EXPECT_EQ(OpeningPiece(0, border, 0xFFFFFF),
              "<html><title></title><body><table width='100%' style='color:#000000' border='" +
                  std::string(written) + "' bgcolor='#FFFFFF'><tbody>\r\n");
  }
}

TEST(DataCells, EscapeMarkupInEitherEncoding) {
  std::string bytes;
  AppendCellValue(bytes, std::string_view("<b>Tom & \"Jerry\"</b> \xe9"));
  EXPECT_EQ(bytes, "&lt;b&gt;Tom &amp; \"Jerry\"&lt;/b&gt; \xe9");
  std::string wide;
  AppendCellValue(wide, std::u16string_view(u"<i>\u00e9\u20ac\U0001F600"));
  EXPECT_EQ(wide, "&lt;i&gt;\xe9\x80&#128512;");
}

TEST(HeaderCells, RepeatedCaptionsCarryTheirNumber) {
  std::string out;
  AppendHeaderCell(out, {Caption::EmailAddress, 1});
  AppendHeaderCell(out, {Caption::HomePhone, 32768});
  EXPECT_EQ(out, "<th>Email Address</th><th>Home Phone 32768</th>");
}

}  // namespace
}  // namespace brevant
