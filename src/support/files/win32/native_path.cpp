#include "support/files/native_path.h"

#include "support/files/win32/win32_files.h"

namespace brevant {

namespace {

bool StartsWith(const NativePath& path, const wchar_t* prefix) { return path.rfind(prefix, 0) == 0; }

// The complete form of a path as the system's own normalisation gives it:
// separators, "." and ".." resolved, a relative path joined to the current
// folder; "" when the system refuses it.
NativePath FullPath(const NativePath& path) {
  NativePath full(path.size() + MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0) return {};
    if (length < full.size()) {
      full.resize(length);
      return full;
    }
    full.resize(length);
  }
}

// The system takes a last part named like a device ("CON", "nul.vcf",
// "COM1.x.y") for that device wherever it stands. The full path of such a name
// is that of its folder and the name itself, trimmed as the system trims a
// last part (trailing dots and spaces).
NativePath FullPathOfDeviceName(const NativePath& path) {
  const std::size_t separator = path.find_last_of(L'\\');
  const bool driveOnly = separator == NativePath::npos && path.size() >= 2 && path[1] == L':';
  const std::size_t nameStart = separator != NativePath::npos ? separator + 1 : driveOnly ? 2 : 0;
  NativePath name = path.substr(nameStart);
  while (!name.empty() && (name.back() == L'.' || name.back() == L' ')) name.pop_back();
  NativePath folder = path.substr(0, nameStart);
  if (folder.empty()) folder = L".\\";
  folder = FullPath(folder);
  if (folder.empty() || name.empty()) return {};
  if (folder.back() != L'\\') folder += L'\\';
  return folder + name;
}

}  // namespace

// The wide calls take the program's UTF-16 text; "/" typed by a user is a
// separator too. Every path goes to them in its long form ("\\?\C:\...",
// "\\?\UNC\server\share\..."): the system then takes it as it stands, so that a
// path of any length and a file named like a device ("CON.vcf") are reached as
// the files they name, the same way when named and when found by a scan.
bool ToNativePath(TextView path, NativePath& native) {
  if (path.find(u'\0') != TextView::npos) return false;
  native.assign(path.begin(), path.end());
  for (wchar_t& unit : native) {
    if (unit == L'/') unit = L'\\';
  }
  // Already in a form the system takes as it stands (long form, device, NT object).
  if (native.empty() || StartsWith(native, L"\\\\?\\") || StartsWith(native, L"\\\\.\\") ||
      StartsWith(native, L"\\??\\"))
    return true;
  NativePath full = FullPath(native);
  if (StartsWith(full, L"\\\\.\\")) full = FullPathOfDeviceName(native);
  if (full.size() >= 3 && full[1] == L':' && full[2] == L'\\') {
    native = L"\\\\?\\" + full;
  } else if (StartsWith(full, L"\\\\") && full.size() > 2) {
    native = L"\\\\?\\UNC\\" + full.substr(2);
  }
  return true;
}

Text FromNativePath(const NativePath& native) { return Text(native.begin(), native.end()); }

Text ShownPath(const NativePath& native) {
  if (StartsWith(native, L"\\\\?\\UNC\\")) return u"\\\\" + FromNativePath(native.substr(8));
  if (StartsWith(native, L"\\\\?\\")) return FromNativePath(native.substr(4));
  return FromNativePath(native);
}

}  // namespace brevant
