#include "cli/input_paths.h"

#include <gtest/gtest.h>

#include "support/files/input_file.h"
#include "support/text/utf8.h"

namespace brevant {
namespace {

#ifdef _WIN32
TEST(InputPathsTest, RelativePathsAreJoinedToTheWorkingFolderLexically) {
  const std::vector<Text> paths = AbsoluteInputPaths(
      {"a.vcf", "C:\\abs\\b.vcf", "sub/c.vcf", "\\\\srv\\share\\d.vcf", "D:e.vcf", "/f.vcf", "-"},
      "C:\\Users\\u");
  EXPECT_EQ(paths,
            (std::vector<Text>{u"C:\\Users\\u\\a.vcf", u"C:\\abs\\b.vcf", u"C:\\Users\\u\\sub\\c.vcf",
                               u"\\\\srv\\share\\d.vcf", u"D:e.vcf", u"\\f.vcf", StandardInputPath()}));
  EXPECT_EQ(AbsoluteInputPaths({"a.vcf"}, "C:\\"), std::vector<Text>{u"C:\\a.vcf"});
}
#else
TEST(InputPathsTest, RelativePathsAreJoinedToTheWorkingFolderLexically) {
  const std::vector<Text> paths =
      AbsoluteInputPaths({"a.vcf", "/abs/b.vcf", "./sub/c.vcf", "../d.vcf", "link/e.vcf", "-"}, "/home/u");
  EXPECT_EQ(paths, (std::vector<Text>{u"/home/u/a.vcf", u"/abs/b.vcf", u"/home/u/./sub/c.vcf",
                                      u"/home/u/../d.vcf", u"/home/u/link/e.vcf", u"/dev/stdin"}));
  EXPECT_EQ(AbsoluteInputPaths({"a.vcf"}, "/"), std::vector<Text>{u"/a.vcf"});
}

TEST(InputPathsTest, BytesThatAreNotUtf8SurviveTheRoundTrip) {
  const std::vector<Text> paths = AbsoluteInputPaths({"caf\xE9.vcf"}, "/t\xFF");
  ASSERT_EQ(paths.size(), 1u);
  EXPECT_EQ(ToUtf8(paths[0]), "/t\xFF/caf\xE9.vcf");
}
#endif

}  // namespace
}  // namespace brevant
