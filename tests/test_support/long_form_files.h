#pragma once

// Files reached through the long form of their path ("\\?\C:\..."), which the
// system takes as it stands: a file named like a device ("CON.vcf"), or one
// past 260 characters, as a test means it. Windows only.
#ifdef _WIN32
#include <windows.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace brevant::test {

inline std::wstring LongForm(const std::filesystem::path& path) {
  return L"\\\\?\\" + std::filesystem::absolute(path).wstring();
}

// False when the file cannot be made.
inline bool WriteThroughLongForm(const std::filesystem::path& file, std::string_view bytes) {
  const HANDLE handle = CreateFileW(LongForm(file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool done =
      WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) != 0 &&
      written == bytes.size();
  CloseHandle(handle);
  return done;
}

// The first 64 KB of the file, or "<missing>".
inline std::string ReadThroughLongForm(const std::filesystem::path& file) {
  const HANDLE handle =
      CreateFileW(LongForm(file).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return "<missing>";
  std::string bytes(65536, '\0');
  DWORD got = 0;
  ReadFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
  CloseHandle(handle);
  bytes.resize(got);
  return bytes;
}

// The names in a folder, listed through the long form.
inline std::vector<std::wstring> NamesThroughLongForm(const std::filesystem::path& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW entry;
  const HANDLE find = FindFirstFileW((LongForm(folder) + L"\\*").c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = entry.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (FindNextFileW(find, &entry));
  FindClose(find);
  return names;
}

// Removes a tree through the long form, which the test folder's own cleanup does not use.
inline void RemoveThroughLongForm(const std::filesystem::path& folder) {
  for (const std::wstring& name : NamesThroughLongForm(folder)) {
    const std::filesystem::path path = folder / name;
    const DWORD attributes = GetFileAttributesW(LongForm(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      RemoveThroughLongForm(path);
    } else {
      DeleteFileW(LongForm(path).c_str());
    }
  }
  RemoveDirectoryW(LongForm(folder).c_str());
}

}  // namespace brevant::test
#endif
