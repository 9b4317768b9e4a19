// The least any converter does with the same files under Windows: the floor a
// conversion's time is judged against, with nothing but the system's own file
// calls. Lists the folder's *.vcf files, then
//   each FOLDER OUT:   reads every file and writes its bytes to OUT\<name>.htm,
//                      one new file per input;
//   single FOLDER OUT: reads every file, reads every file again, and writes all
//                      their bytes to OUT\output.xml, as a two-sweep conversion
//                      into one document does.
// Without arguments it only starts and ends, so that a script can take the cost
// of a start away. Prints the files and bytes it wrote.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::vector<std::wstring> VcfNames(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW entry;
  const HANDLE find = FindFirstFileExW((folder + L"\\*.vcf").c_str(), FindExInfoBasic, &entry,
                                       FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) names.push_back(entry.cFileName);
  } while (FindNextFileW(find, &entry));
  FindClose(find);
  return names;
}

bool ReadWhole(const std::wstring& path, std::string& bytes) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  bool read = GetFileSizeEx(file, &size) != 0;
  if (read) {
    const std::size_t start = bytes.size();
    bytes.resize(start + static_cast<std::size_t>(size.QuadPart));
    DWORD got = 0;
    read = ReadFile(file, bytes.data() + start, static_cast<DWORD>(size.QuadPart), &got, nullptr) != 0;
    bytes.resize(start + got);
  }
  CloseHandle(file);
  return read;
}

bool WriteNew(const std::wstring& path, const std::string& bytes) {
  const HANDLE file =
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool done = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) != 0;
  CloseHandle(file);
  return done && written == bytes.size();
}

std::wstring WithoutExtension(const std::wstring& name) {
  const std::size_t dot = name.rfind(L'.');
  return dot == std::wstring::npos ? name : name.substr(0, dot);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 1) return 0;
  if (argc != 4) {
    std::fprintf(stderr, "usage: brevant_disk_floor [each|single FOLDER OUT]\n");
    return 2;
  }
  const std::wstring mode = argv[1];
  const std::wstring folder = argv[2];
  const std::wstring out = argv[3];
  const std::vector<std::wstring> names = VcfNames(folder);
  std::size_t files = 0;
  unsigned long long written = 0;
  if (mode == L"each") {
    for (const std::wstring& name : names) {
      std::string bytes;
      if (!ReadWhole(folder + L"\\" + name, bytes)) continue;
      if (WriteNew(out + L"\\" + WithoutExtension(name) + L".htm", bytes)) {
        ++files;
        written += bytes.size();
      }
    }
  } else {
    std::string bytes;
    for (const std::wstring& name : names) {
      ReadWhole(folder + L"\\" + name, bytes);
      bytes.clear();
    }
    for (const std::wstring& name : names) ReadWhole(folder + L"\\" + name, bytes);
    if (WriteNew(out + L"\\output.xml", bytes)) {
      files = 1;
      written = bytes.size();
    }
  }
  std::printf("%zu files of %zu inputs, %llu bytes written\n", files, names.size(), written);
  return files > 0 ? 0 : 1;
}
