// The texts of the settings store as values: flags, colours, numbers.
#include "form/stored_values.h"

#include <gtest/gtest.h>

#include "support/text/utf8.h"

namespace brevant::test {
namespace {

TEST(StoredValues, FlagsAndColoursFromText) {
  struct FlagCase {
    Text text;
    std::optional<bool> flag;
  };
  for (const FlagCase& c :
       {FlagCase{u"True", true}, FlagCase{u"false", false}, FlagCase{u" TRUE ", true}, FlagCase{u"-1", true},
        FlagCase{u"0", false}, FlagCase{u"1e3", true}, FlagCase{u"", std::nullopt},
        FlagCase{u"yes", std::nullopt}, FlagCase{u"Truely", std::nullopt}}) {
    EXPECT_EQ(FlagFromText(c.text), c.flag);
  }
  struct ColourCase {
    Text text;
    std::optional<Colour> colour;
  };
  for (const ColourCase& c :
       {ColourCase{u"0", 0}, ColourCase{u"16777215", 0xFFFFFF}, ColourCase{u"-16777216", -16777216},
        ColourCase{u" 255 ", 255}, ColourCase{u"2147483647", 2147483647},
        ColourCase{u"2147483648", std::nullopt}, ColourCase{u"-2147483649", std::nullopt},
        ColourCase{u"1.5", std::nullopt}, ColourCase{u"#FF0000", std::nullopt}, ColourCase{u"", std::nullopt},
        ColourCase{u"99999999999999", std::nullopt}}) {
    EXPECT_EQ(ColourFromText(c.text), c.colour);
  }
  EXPECT_EQ(ColourText(-16777216), u"-16777216");
  EXPECT_EQ(FlagText(true), u"True");
}

TEST(StoredValues, NumericEntries) {
  for (const char16_t* number :
       {u"1", u"-1", u"+1", u" 2 ", u"0.5", u".5", u"5.", u"1e5", u"1E-5", u"-3.25e+2"}) {
    EXPECT_TRUE(IsNumericEntry(number)) << ToUtf8(number);
  }
  for (const char16_t* other : {u"", u" ", u"a", u"1a", u".", u"-", u"1e", u"e1", u"1.2.3", u"1,5", u"--1"}) {
    EXPECT_FALSE(IsNumericEntry(other)) << ToUtf8(other);
  }
}

}  // namespace
}  // namespace brevant::test
