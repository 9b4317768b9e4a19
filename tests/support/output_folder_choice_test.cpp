#include "support/output_folder_choice.h"

#include <gtest/gtest.h>

#include "support/utf8.h"
#include "test_support/temp_dir.h"

namespace brevant {
namespace {

namespace fs = std::filesystem;

TEST(OutputFolderChoice, TheDesktopElseDocumentsElseHomeWithOneTrailingSeparator) {
  testing::TempDir dir;
  fs::create_directories(dir / "Desktop");
  fs::create_directories(dir / "Documents");
  testing::WriteBytes(dir / "file", "not a folder");
  const auto at = [&dir](const char* name) { return FromUtf8((dir / name).string()); };
  const Text home = FromUtf8(dir.path().string());
  struct Case {
    Text desktop, documents, expected;
  };
  const Case cases[] = {
      {at("Desktop"), at("Documents"), at("Desktop") + u"/"},
      {at("Desktop") + u"/", at("Documents"), at("Desktop") + u"/"},  // one separator, not two
      {at("missing"), at("Documents"), at("Documents") + u"/"},
      {at("file"), at("Documents"), at("Documents") + u"/"},  // a file is no folder
      {u"", at("Documents"), at("Documents") + u"/"},
      {at("missing"), at("gone"), home + u"/"},
      {u"", u"", home + u"/"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ToUtf8(ChooseOutputFolder(c.desktop, c.documents, home)), ToUtf8(c.expected))
        << ToUtf8(c.desktop);
  }
  EXPECT_EQ(ChooseOutputFolder(u"", u"", u"/"), u"/");  // the root keeps its single separator
}

}  // namespace
}  // namespace brevant
