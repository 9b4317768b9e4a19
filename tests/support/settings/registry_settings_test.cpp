// The window's settings in the registry, as Windows keeps them.
#ifdef _WIN32
#include "support/settings/win32/registry_settings.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "support/text/utf8.h"

namespace brevant {
namespace {

// A key of its own under HKEY_CURRENT_USER, removed with everything in it afterwards.
class RegistrySettingsTest : public ::testing::Test {
 protected:
  Text subKey = u"Software\\Ambervale\\BrevantTest" + FromUtf8(std::to_string(GetCurrentProcessId()));
  RegistrySettings settings{subKey};
  ~RegistrySettingsTest() override { settings.removeAll(); }
};

TEST_F(RegistrySettingsTest, ValuesComeBackAsWrittenAndAbsentKeysGiveTheDefault) {
  EXPECT_EQ(settings.read(u"Border Width", u"1"), u"1");  // not even the key exists yet
  EXPECT_FALSE(settings.contains(u"Border Width"));
  const struct {
    Text key;
    Text value;
  } cases[] = {
      {u"Border Width", u"3"},
      {u"Option1", u"True"},
      {u"Text Color", u"-2147483648"},
      {u"Text1", u"C:\\Users\\Zo\u00eb\\\u6771\u4eac \U0001F4C7\\"},
      {u"Extension", u""},
      {u"LastFolder", Text(40000, u'x')},
      {u"Key with \"quotes\" = sign", u"value; with \"quotes\""},
  };
  for (const auto& each : cases) ASSERT_TRUE(settings.write(each.key, each.value));
  for (const auto& each : cases) {
    EXPECT_TRUE(settings.contains(each.key));
    EXPECT_EQ(settings.read(each.key, u"default"), each.value);
  }
  EXPECT_EQ(settings.read(u"Background Color", u"16777215"), u"16777215");

  ASSERT_TRUE(settings.write(u"Border Width", u"12"));
  EXPECT_EQ(RegistrySettings(subKey).read(u"Border Width", u"1"), u"12");  // a second store sees it at once
}

TEST_F(RegistrySettingsTest, EveryValueIsOneStringWithItsEndingNul) {
  ASSERT_TRUE(settings.write(u"Option3", u"False"));
  DWORD type = 0;
  wchar_t data[16] = {};
  DWORD bytes = sizeof data;
  ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, reinterpret_cast<const wchar_t*>(subKey.c_str()), L"Option3",
                         RRF_RT_ANY, &type, data, &bytes),
            ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(bytes, 6 * sizeof(wchar_t));
  EXPECT_EQ(std::wstring(data), L"False");
}

TEST_F(RegistrySettingsTest, AValueThatIsNoTextGivesTheDefault) {
  ASSERT_TRUE(settings.write(u"Option1", u"True"));  // makes the key
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, reinterpret_cast<const wchar_t*>(subKey.c_str()), 0,
                          KEY_SET_VALUE, &key),
            ERROR_SUCCESS);
  const DWORD number = 5;
  RegSetValueExW(key, L"Border Width", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
  // Written without its ending NUL by another program: taken whole.
  RegSetValueExW(key, L"Extension", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"txt"), 3 * sizeof(wchar_t));
  RegCloseKey(key);
  EXPECT_EQ(settings.read(u"Border Width", u"1"), u"1");
  EXPECT_EQ(settings.read(u"Extension", u"vcf"), u"txt");
}

}  // namespace
}  // namespace brevant
#endif
