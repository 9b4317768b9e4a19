// The settings store of the Qt window.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

#include "support/qt/qt_settings_store.h"
#include "support/text/utf8.h"
#include "test_support/temp_dir.h"

namespace brevant::test {
namespace {

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
}  // namespace brevant::test
