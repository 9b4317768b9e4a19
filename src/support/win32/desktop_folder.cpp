#include "support/win32/desktop_folder.h"

#include <windows.h>
// (the headers below need windows.h first)
#include <shlobj.h>

namespace brevant {

Text DesktopFolder() {
  wchar_t* path = nullptr;
  if (FAILED(SHGetKnownFolderPath(FOLDERID_Desktop, 0, nullptr, &path)) || path == nullptr) {
    CoTaskMemFree(path);
    return {};
  }
  Text folder(reinterpret_cast<const char16_t*>(path));
  CoTaskMemFree(path);
  if (folder.empty()) return folder;
  if (folder.back() != u'\\') folder += u'\\';
  return folder;
}

Text ProgramFolder() {
  Text path(MAX_PATH, u'\0');
  for (;;) {
    const DWORD length =
        GetModuleFileNameW(nullptr, reinterpret_cast<wchar_t*>(path.data()), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  const std::size_t separator = path.rfind(u'\\');
  return separator == Text::npos ? Text() : path.substr(0, separator);
}

}  // namespace brevant
