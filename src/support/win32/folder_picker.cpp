#include "support/win32/folder_picker.h"

#include <windows.h>
// (the headers below need windows.h first)
#include <shlobj.h>
#include <shobjidl.h>

namespace brevant {

namespace {

const wchar_t* Wide(const Text& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

// Releases a COM object when the scope ends.
template <class Interface>
class Held {
 public:
  ~Held() {
    if (object_ != nullptr) object_->Release();
  }
  Interface** out() { return &object_; }
  Interface* operator->() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }
  Interface* get() const { return object_; }

 private:
  Interface* object_ = nullptr;
};

bool IsFolder(const Text& path) {
  const DWORD attributes = GetFileAttributesW(Wide(path));
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The older shell dialog, for a system without the item dialog: the start
// folder is selected once the dialog has initialised.
int CALLBACK BrowseCallback(HWND dialog, UINT message, LPARAM, LPARAM startFolder) {
  if (message == BFFM_INITIALIZED && startFolder != 0)
    SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, startFolder);
  return 0;
}

Text BrowseWithTree(HWND owner, const Text& title, const Text& startFolder) {
  BROWSEINFOW info{};
  info.hwndOwner = owner;
  info.lpszTitle = Wide(title);
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  info.lpfn = BrowseCallback;
  info.lParam = IsFolder(startFolder) ? reinterpret_cast<LPARAM>(Wide(startFolder)) : 0;
  PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
  if (chosen == nullptr) return {};
  wchar_t path[MAX_PATH + 1] = {};
  const bool hasPath = SHGetPathFromIDListW(chosen, path) != FALSE;
  CoTaskMemFree(chosen);
  return hasPath ? Text(reinterpret_cast<const char16_t*>(path)) : Text();
}

Text Browse(HWND owner, const Text& title, const Text& startFolder);

}  // namespace

Text BrowseForFolder(HWND owner, const Text& title, const Text& startFolder) {
  // The dialog needs COM on this thread, only while it shows.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  Text chosen = Browse(owner, title, startFolder);
  if (SUCCEEDED(com)) CoUninitialize();
  return chosen;
}

namespace {

Text Browse(HWND owner, const Text& title, const Text& startFolder) {
  Held<IFileOpenDialog> dialog;
  if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_IFileOpenDialog,
                              reinterpret_cast<void**>(dialog.out()))))
    return BrowseWithTree(owner, title, startFolder);
  FILEOPENDIALOGOPTIONS options = 0;
  dialog->GetOptions(&options);
  dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST | FOS_NOCHANGEDIR);
  dialog->SetTitle(Wide(title));
  if (IsFolder(startFolder)) {
    Held<IShellItem> start;
    if (SUCCEEDED(SHCreateItemFromParsingName(Wide(startFolder), nullptr, IID_IShellItem,
                                              reinterpret_cast<void**>(start.out()))))
      dialog->SetFolder(start.get());
  }
  if (FAILED(dialog->Show(owner))) return {};  // cancelled
  Held<IShellItem> chosen;
  if (FAILED(dialog->GetResult(chosen.out()))) return {};
  wchar_t* path = nullptr;
  if (FAILED(chosen->GetDisplayName(SIGDN_FILESYSPATH, &path)) || path == nullptr) return {};
  Text result(reinterpret_cast<const char16_t*>(path));
  CoTaskMemFree(path);
  // A drive's root keeps its "\"; no other folder ends in one.
  while (result.size() > 3 && result.back() == u'\\') result.pop_back();
  return result;
}

}  // namespace

}  // namespace brevant
