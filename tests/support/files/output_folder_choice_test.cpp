#include "support/files/output_folder_choice.h"

#include <gtest/gtest.h>

#include "support/files/path_helpers.h"
#include "support/text/utf8.h"
#include "test_support/temp_dir.h"

namespace brevant {
namespace {

namespace fs = std::filesystem;

TEST(OutputFolderChoice, TheDesktopElseDocumentsElseHomeWithOneTrailingSeparator) {
  test::TempDir dir;
  fs::create_directories(dir / "Desktop");
  fs::create_directories(dir / "Documents");
  test::WriteBytes(dir / "file", "not a folder");
  const auto at = [&dir](const char* name) { return FromUtf8((dir / name).string()); };
  const Text home = FromUtf8(dir.path().string());
  const Text separator(1, Separator());
  struct Case {
    Text desktop, documents, expected;
  };
  const Case cases[] = {
      {at("Desktop"), at("Documents"), at("Desktop") + separator},
      {at("Desktop") + separator, at("Documents"), at("Desktop") + separator},  // one separator, not two
      {at("missing"), at("Documents"), at("Documents") + separator},
      {at("file"), at("Documents"), at("Documents") + separator},  // a file is no folder
      {u"", at("Documents"), at("Documents") + separator},
      {at("missing"), at("gone"), home + separator},
      {u"", u"", home + separator},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ToUtf8(ChooseOutputFolder(c.desktop, c.documents, home)), ToUtf8(c.expected))
        << ToUtf8(c.desktop);
  }
  EXPECT_EQ(ChooseOutputFolder(u"", u"", separator), separator);  // the root keeps its single separator
}

}  // namespace
}  // namespace brevant
