// The window's small helpers: stored values, numbers, title, look-up, settings store.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

#include "form/stored_values.h"
#include "support/application_title.h"
#include "support/qt/qt_settings_store.h"
#include "support/utf8.h"
#include "test_support/temp_dir.h"

namespace brevant::testing {
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

TEST(ApplicationTitle, DropsTheLastWordThenWordsBeyondForty) {
  EXPECT_EQ(ApplicationTitle(u"Brevant"), u"Brevant");
  EXPECT_EQ(ApplicationTitle(u"Brevant Contacts Converter"), u"Brevant Contacts");
  EXPECT_EQ(ApplicationTitle(u"Brevant vCard to HTML table converter for many many files"),
            u"Brevant vCard to HTML table converter");
}

TEST(SettingsStore, WritesTextsUnderTheSectionAndReadsThemBack) {
  TempDir dir;
  const QString file = QString::fromStdString((dir / "s.ini").string());
  QtSettingsStore store(file);
  EXPECT_EQ(store.read(u"Text1", u"default"), u"default");
  EXPECT_TRUE(store.write(u"Text1", u"/a, b/c=d;\"e\""));
  EXPECT_TRUE(store.write(u"Border Width", u" 2 "));
  const QtSettingsStore reader(file);
  EXPECT_EQ(reader.read(u"Text1", u""), u"/a, b/c=d;\"e\"");
  EXPECT_EQ(reader.read(u"Border Width", u""), u" 2 ");
  EXPECT_NE(ReadBytes(dir / "s.ini").find("[Brevant]"), std::string::npos);
}

TEST(SettingsStore, ARefusedWriteLosesNoOtherValueAndGoesOn) {
  if (!CanRunUnprivileged()) GTEST_SKIP() << "cannot drop privileges here";
  TempDir dir;
  const QString file = QString::fromStdString((dir / "s.ini").string());
  {
    QtSettingsStore store(file);
    store.write(u"Option1", u"True");
    store.write(u"Text1", u"/kept/");
  }
  const std::string before = ReadBytes(dir / "s.ini");
  std::filesystem::permissions(dir / "s.ini", std::filesystem::perms::owner_read |
                                                  std::filesystem::perms::group_read |
                                                  std::filesystem::perms::others_read);
  const int result = RunInUnprivilegedChild([&] {
    QtSettingsStore store(file);
    if (store.write(u"Option1", u"False")) return 1;  // refused
    if (store.write(u"Text2", u"x")) return 2;
    if (store.read(u"Text1", u"") != u"/kept/") return 3;
    return 0;
  });
  EXPECT_EQ(result, 0);
  EXPECT_EQ(ReadBytes(dir / "s.ini"), before);
}

}  // namespace
}  // namespace brevant::testing
