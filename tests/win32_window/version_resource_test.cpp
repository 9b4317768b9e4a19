// Both programs carry the version information Windows shows in a file's
// properties, with the project's version.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brevant {
namespace {

std::wstring Wide(const char* text) {
  return std::wstring(text, text + std::char_traits<char>::length(text));
}

std::wstring StringValue(const std::vector<char>& info, const wchar_t* name) {
  wchar_t* value = nullptr;
  UINT length = 0;
  const std::wstring key = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
  if (!VerQueryValueW(info.data(), key.c_str(), reinterpret_cast<void**>(&value), &length) ||
      value == nullptr)
    return L"(none)";
  return std::wstring(value, length > 0 ? length - 1 : 0);
}

TEST(VersionResourceTest, BothProgramsNameProductCompanyVersionAndThemselves) {
  const struct {
    const char* path;
    const wchar_t* originalName;
    const wchar_t* description;
  } programs[] = {
      {BREVANT_WINDOW_EXE, L"brevant.exe", L"Brevant"},
      {BREVANT_CLI_EXE, L"brevant-convert.exe", L"Brevant command-line converter"},
  };
  for (const auto& program : programs) {
    SCOPED_TRACE(program.path);
    const std::wstring path = Wide(program.path);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, info.data()));
    EXPECT_EQ(StringValue(info, L"ProductName"), L"Brevant");
    EXPECT_EQ(StringValue(info, L"CompanyName"), L"Ambervale");
    EXPECT_EQ(StringValue(info, L"ProductVersion"), Wide(BREVANT_VERSION));
    EXPECT_EQ(StringValue(info, L"FileVersion"), Wide(BREVANT_VERSION));
    EXPECT_EQ(StringValue(info, L"FileDescription"), program.description);
    EXPECT_EQ(StringValue(info, L"OriginalFilename"), program.originalName);

    // The numbers agree with the text: "0.1.0" is 0.1.0.0.
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    const std::wstring numbers = std::to_wstring(HIWORD(fixed->dwProductVersionMS)) + L"." +
                                 std::to_wstring(LOWORD(fixed->dwProductVersionMS)) + L"." +
                                 std::to_wstring(HIWORD(fixed->dwProductVersionLS));
    EXPECT_EQ(numbers, Wide(BREVANT_VERSION));
    EXPECT_EQ(fixed->dwFileVersionMS, fixed->dwProductVersionMS);
    EXPECT_EQ(LOWORD(fixed->dwProductVersionLS), 0);
  }
}

}  // namespace
}  // namespace brevant
