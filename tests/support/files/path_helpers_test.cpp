#include "support/files/path_helpers.h"

#include <gtest/gtest.h>

#include <vector>

namespace brevant {
namespace {

constexpr PathStyle kWin = PathStyle::Windows;
constexpr PathStyle kPosix = PathStyle::Posix;

TEST(WindowsPaths, FileNameIsTheTextAfterTheLastBackslash) {
  EXPECT_EQ(GetFileName(u"a.vcf", kWin), u"a.vcf");
  EXPECT_EQ(GetFileName(u"C:\\data\\", kWin), u"");
  EXPECT_EQ(GetFileName(u"C:\\data\\a.vcf", kWin), u"a.vcf");
  EXPECT_EQ(GetFileName(u"\\\\srv\\share\\b.vcf", kWin), u"b.vcf");
  EXPECT_EQ(GetFileName(u"", kWin), u"");
  EXPECT_EQ(GetFileName(u"C:/data/a.vcf", kWin), u"C:/data/a.vcf");  // "/" is no separator here
}

TEST(WindowsPaths, FolderPathKeepsTheLastBackslash) {
  EXPECT_EQ(GetFolderPath(u"a.vcf", kWin), u"");
  EXPECT_EQ(GetFolderPath(u"C:\\a.vcf", kWin), u"C:\\");
  EXPECT_EQ(GetFolderPath(u"C:\\data\\a.vcf", kWin), u"C:\\data\\");
  EXPECT_EQ(GetFolderPath(u"C:\\data\\", kWin), u"C:\\data\\");
  EXPECT_EQ(GetFolderPath(u"", kWin), u"");
}

TEST(WindowsPaths, FolderAndFileNameRebuildTheInput) {
  const std::vector<Text> paths = {u"", u"a", u"\\", u"C:\\", u"C:\\data\\a.vcf", u"\\\\srv\\x\\", u"a\\\\b"};
  for (const Text& path : paths) {
    EXPECT_EQ(GetFolderPath(path, kWin) + GetFileName(path, kWin), path);
  }
}

TEST(WindowsPaths, CollapseKeepsANetworkPathsTwoLeadingBackslashes) {
  EXPECT_EQ(CollapseBackslashes(u"C:\\\\a\\\\\\b", kWin), u"C:\\a\\\\b");  // three become two
  EXPECT_EQ(CollapseBackslashes(u"a\\\\\\\\b", kWin), u"a\\\\b");          // four become two
  EXPECT_EQ(CollapseBackslashes(u"\\\\\\\\srv\\x", kWin), u"\\\\srv\\x");
  EXPECT_EQ(CollapseBackslashes(u"\\", kWin), u"\\\\");
  EXPECT_EQ(CollapseBackslashes(u"\\\\\\", kWin), u"\\\\");
  EXPECT_EQ(CollapseBackslashes(u"\\\\srv\\share\\\\a.vcf", kWin), u"\\\\srv\\share\\a.vcf");
  EXPECT_EQ(CollapseBackslashes(u"\\x\\\\y", kWin), u"\\\\x\\y");
  EXPECT_EQ(CollapseBackslashes(u"", kWin), u"");
  EXPECT_EQ(CollapseBackslashes(u"C:\\data\\a.vcf", kWin), u"C:\\data\\a.vcf");
  EXPECT_EQ(CollapseBackslashes(u"a\\", kWin), u"a\\");
}

TEST(Extensions, CutAtTheLastDotUnlessItLeads) {
  EXPECT_EQ(StripExtension(u""), u"");
  EXPECT_EQ(StripExtension(u".vcf"), u".vcf");
  EXPECT_EQ(StripExtension(u"a.b.vcf"), u"a.b");
  EXPECT_EQ(StripExtension(u"C:\\data\\a.vcf"), u"C:\\data\\a");
  EXPECT_EQ(StripExtension(u"noext"), u"noext");
  EXPECT_EQ(StripExtension(u"a."), u"a");
  // The dot is looked for in the whole text, folder names included.
  EXPECT_EQ(StripExtension(u"C:\\my.data\\notes"), u"C:\\my");
  EXPECT_EQ(StripExtension(u"/home/my.data/notes"), u"/home/my");
}

TEST(PosixPaths, FileAndFolderUseTheSlash) {
  EXPECT_EQ(Separator(kPosix), u'/');
  EXPECT_EQ(GetFileName(u"a.vcf", kPosix), u"a.vcf");
  EXPECT_EQ(GetFileName(u"/data/", kPosix), u"");
  EXPECT_EQ(GetFileName(u"/data/a.vcf", kPosix), u"a.vcf");
  EXPECT_EQ(GetFileName(u"C:\\a.vcf", kPosix), u"C:\\a.vcf");  // a backslash is part of a name
  EXPECT_EQ(GetFolderPath(u"a.vcf", kPosix), u"");
  EXPECT_EQ(GetFolderPath(u"/a.vcf", kPosix), u"/");
  EXPECT_EQ(GetFolderPath(u"/data/a.vcf", kPosix), u"/data/");
}

TEST(PosixPaths, CollapseLeavesOneLeadingSlash) {
  EXPECT_EQ(CollapseBackslashes(u"/data//a.vcf", kPosix), u"/data/a.vcf");
  EXPECT_EQ(CollapseBackslashes(u"a///b", kPosix), u"a//b");
  EXPECT_EQ(CollapseBackslashes(u"a////b", kPosix), u"a//b");
  EXPECT_EQ(CollapseBackslashes(u"//srv/x", kPosix), u"/srv/x");
  EXPECT_EQ(CollapseBackslashes(u"////srv//x", kPosix), u"/srv/x");
  EXPECT_EQ(CollapseBackslashes(u"/", kPosix), u"/");
  EXPECT_EQ(CollapseBackslashes(u"///", kPosix), u"/");
  EXPECT_EQ(CollapseBackslashes(u"", kPosix), u"");
  EXPECT_EQ(CollapseBackslashes(u"a\\\\b", kPosix), u"a\\\\b");
}

}  // namespace
}  // namespace brevant
