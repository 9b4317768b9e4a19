#include "cli/colour_argument.h"

#include <gtest/gtest.h>

#include <climits>

namespace brevant {
namespace {

TEST(ColourArgumentTest, HtmlHexBecomesTheWindowSystemsByteOrder) {
  EXPECT_EQ(ParseColourArgument("#FF0000"), 0x0000FF);
  EXPECT_EQ(ParseColourArgument("#00ff00"), 0x00FF00);
  EXPECT_EQ(ParseColourArgument("#0000Ff"), 0xFF0000);
  EXPECT_EQ(ParseColourArgument("#AABBCC"), 0xCCBBAA);
  EXPECT_EQ(ParseColourArgument("#000000"), 0);
}

TEST(ColourArgumentTest, DecimalIsTakenAsIsAndWrapsToSigned32Bits) {
  EXPECT_EQ(ParseColourArgument("0"), 0);
  EXPECT_EQ(ParseColourArgument("255"), 255);
  EXPECT_EQ(ParseColourArgument("16777215"), 0xFFFFFF);
  EXPECT_EQ(ParseColourArgument("2147483647"), INT32_MAX);
  EXPECT_EQ(ParseColourArgument("2147483648"), INT32_MIN);
  EXPECT_EQ(ParseColourArgument("2147483663"), static_cast<Colour>(0x8000000F));
  EXPECT_EQ(ParseColourArgument("4294967295"), -1);
}

TEST(ColourArgumentTest, TheWindowsSignedTextAndPrefixedHexNameTheSameNumbers) {
  const std::pair<const char*, Colour> cases[] = {
      {"-1", -1},
      {"-2147483648", INT32_MIN},
      {"-2147483633", static_cast<Colour>(0x8000000F)},
      {"-0", 0},
      {"0x0", 0},
      {"0xFF", 255},
      {"0XcCbBaA", 0xCCBBAA},
      {"0x8000000F", static_cast<Colour>(0x8000000F)},
      {"0xFFFFFFFF", -1},
  };
  for (const auto& [text, colour] : cases) EXPECT_EQ(ParseColourArgument(text), colour) << text;
}

TEST(ColourArgumentTest, AnythingElseIsRefused) {
  for (const char* text : {"",
                           "#",
                           "#FFF",
                           "#FF00000",
                           "#GG0000",
                           "FF0000",
                           "red",
                           "4294967296",
                           "99999999999999999999",
                           "-2147483649",
                           "-",
                           "--1",
                           "+1",
                           " 255",
                           "255 ",
                           "0x",
                           "0x100000000",
                           "0x-1",
                           "0xG",
                           "1e3"}) {
    EXPECT_EQ(ParseColourArgument(text), std::nullopt) << text;
  }
}

}  // namespace
}  // namespace brevant
