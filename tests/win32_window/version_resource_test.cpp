// Both programs carry the version information Windows shows in a file's
// properties, with the project's version.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "brevant_version.h"
#include "support/text/utf8.h"
#include "win32_window/wide_text.h"

namespace brevant {
namespace {

Text StringValue(const std::vector<char>& info, const wchar_t* name) {
  wchar_t* value = nullptr;
  UINT length = 0;
  const std::wstring key = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
  if (!VerQueryValueW(info.data(), key.c_str(), reinterpret_cast<void**>(&value), &length) ||
      value == nullptr)
    return u"(none)";
  return FromWide(value, length > 0 ? length - 1 : 0);
}

TEST(VersionResourceTest, BothProgramsNameProductCompanyVersionAndThemselves) {
  const Text version = FromUtf8(BREVANT_VERSION);
  const struct {
    const char* path;
    const char16_t* originalName;
    const char16_t* description;
  } programs[] = {
      {BREVANT_WINDOW_EXE, u"brevant.exe", u"Brevant"},
      {BREVANT_CLI_EXE, u"brevant-convert.exe", u"Brevant command-line converter"},
  };
  for (const auto& program : programs) {
    SCOPED_TRACE(program.path);
    const Text path = FromUtf8(program.path);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(Wide(path), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoW(Wide(path), 0, size, info.data()));
    EXPECT_EQ(StringValue(info, L"ProductName"), u"Brevant");
    EXPECT_EQ(StringValue(info, L"CompanyName"), u"Ambervale");
    EXPECT_EQ(StringValue(info, L"ProductVersion"), version);
    EXPECT_EQ(StringValue(info, L"FileVersion"), version);
    EXPECT_EQ(StringValue(info, L"FileDescription"), program.description);
    EXPECT_EQ(StringValue(info, L"OriginalFilename"), program.originalName);

    // The numbers agree with the text: "0.1.0" is 0.1.0.0.
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    const std::string numbers = std::to_string(HIWORD(fixed->dwProductVersionMS)) + "." +
                                std::to_string(LOWORD(fixed->dwProductVersionMS)) + "." +
                                std::to_string(HIWORD(fixed->dwProductVersionLS));
    EXPECT_EQ(numbers, BREVANT_VERSION);
    EXPECT_EQ(fixed->dwFileVersionMS, fixed->dwProductVersionMS);
    EXPECT_EQ(LOWORD(fixed->dwProductVersionLS), 0);
  }
}

}  // namespace
}  // namespace brevant
