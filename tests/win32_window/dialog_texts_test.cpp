// What the Windows dialogs give and take, as text.
#include <gtest/gtest.h>

#include "win32_window/wide_text.h"
#include "win32_window/win32_dialogs.h"

namespace brevant {
namespace {

TEST(OpenFileDialogTest, OneNameIsAFullPathAndSeveralFollowTheirFolder) {
  using namespace std::string_literals;
  const struct {
    std::u16string buffer;
    std::vector<Text> paths;
  } cases[] = {
      {u"C:\\in\\a.vcf\0\0"s, {u"C:\\in\\a.vcf"}},
      {u"C:\\in\0a.vcf\0b c.vcf\0\0"s, {u"C:\\in\\a.vcf", u"C:\\in\\b c.vcf"}},
      // A drive's root ends in "\" already; the window collapses the doubled one.
      {u"C:\\\0a.vcf\0b.vcf\0\0"s, {u"C:\\\\a.vcf", u"C:\\\\b.vcf"}},
      {u"\0\0"s, {}},
  };
  for (const auto& each : cases) EXPECT_EQ(ChosenFilePaths(each.buffer), each.paths);
}

TEST(OpenFileDialogTest, FiltersBecomePairsOfNameAndPattern) {
  using namespace std::string_literals;
  EXPECT_EQ(OpenFileFilter(u"VCF Files (*.vcf)"), u"VCF Files (*.vcf)\0*.vcf\0\0"s);
  EXPECT_EQ(OpenFileFilter(u"VCF Files (*.vcf)|*.vcf|"), u"VCF Files (*.vcf)\0*.vcf\0\0"s);
  EXPECT_EQ(OpenFileFilter(u"All"), u"All\0*.*\0\0"s);
}

TEST(MessageBoxTextTest, EveryLineBreakShowsAsOne) {
  EXPECT_EQ(WithBoxLineBreaks(u"a\r\rb\nc\r\nd"), u"a\r\n\r\nb\r\nc\r\nd");
  EXPECT_EQ(WithBoxLineBreaks(u"Done."), u"Done.");
}

}  // namespace
}  // namespace brevant
