#include "win32_window/win32_dialogs.h"

#include <windows.h>
// (the headers below need windows.h first)
#include <commdlg.h>
#include <objbase.h>
#include <shellapi.h>

#include "support/win32/folder_picker.h"
#include "win32_window/text_prompt.h"
#include "win32_window/wide_text.h"

namespace brevant {

namespace {

constexpr char16_t kTooManyFiles[] =
    u"You've selected too many files to add.\r\rPlease try adding via the \"Add All\" button.";
// Room for the names of many thousands of files; a choice beyond it is refused with a box.
constexpr std::size_t kFileBufferCharacters = 1u << 20;

UINT_PTR CALLBACK ColourDialogHook(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    const auto* choice = reinterpret_cast<const CHOOSECOLORW*>(lParam);
    SetWindowTextW(dialog, reinterpret_cast<const wchar_t*>(choice->lCustData));
  }
  return 0;
}

}  // namespace

std::vector<Text> ChosenFilePaths(TextView buffer) {
  std::vector<TextView> parts;
  std::size_t start = 0;
  while (start < buffer.size() && buffer[start] != u'\0') {
    std::size_t end = buffer.find(u'\0', start);
    if (end == TextView::npos) end = buffer.size();
    parts.push_back(buffer.substr(start, end - start));
    start = end + 1;
  }
  std::vector<Text> paths;
  if (parts.size() == 1) {
    paths.emplace_back(parts.front());
    return paths;
  }
  for (std::size_t i = 1; i < parts.size(); ++i) {
    Text path(parts.front());
    path += u'\\';
    path += parts[i];
    paths.push_back(std::move(path));
  }
  return paths;
}

Text OpenFileFilter(TextView filter) {
  Text result;
  if (filter.find(u'|') != TextView::npos) {
    result = Text(filter);
    for (char16_t& unit : result)
      if (unit == u'|') unit = u'\0';
    if (result.empty() || result.back() != u'\0') result += u'\0';
  } else {
    const std::size_t open = filter.rfind(u'(');
    const std::size_t close = filter.rfind(u')');
    const TextView pattern = open != TextView::npos && close != TextView::npos && close > open
                                 ? filter.substr(open + 1, close - open - 1)
                                 : TextView(u"*.*");
    result = Text(filter) + u'\0' + Text(pattern) + u'\0';
  }
  return result + u'\0';
}

void Win32Dialogs::message(const Text& text) {
  MessageBoxW(owner_, Wide(WithBoxLineBreaks(text)), Wide(title_), MB_OK);
}

void Win32Dialogs::errorBox(const ErrorReport& report) {
  MessageBoxW(owner_, Wide(WithBoxLineBreaks(report.boxText())), Wide(Text(kErrorBoxTitle)),
              MB_OK | MB_ICONEXCLAMATION);
}

bool Win32Dialogs::askYesNo(const Text& text) {
  return MessageBoxW(owner_, Wide(WithBoxLineBreaks(text)), Wide(title_), MB_YESNO) == IDYES;
}

Text Win32Dialogs::askText(const Text& prompt, const Text& defaultText) {
  return AskForText(owner_, title_, prompt, defaultText).value_or(Text());
}

std::vector<Text> Win32Dialogs::chooseFiles(const Text& title, const Text& filter) {
  Text buffer(kFileBufferCharacters, u'\0');
  const Text filterText = OpenFileFilter(filter);
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner_;
  dialog.lpstrFilter = Wide(filterText);
  dialog.lpstrFile = reinterpret_cast<wchar_t*>(buffer.data());
  dialog.nMaxFile = static_cast<DWORD>(buffer.size());
  dialog.lpstrTitle = Wide(title);
  dialog.Flags = OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_LONGNAMES | OFN_READONLY | OFN_NOCHANGEDIR;
  if (GetOpenFileNameW(&dialog)) return ChosenFilePaths(buffer);
  if (CommDlgExtendedError() == FNERR_BUFFERTOOSMALL) message(kTooManyFiles);
  return {};
}

Colour Win32Dialogs::chooseColour(const Text& title, Colour initial) {
  CHOOSECOLORW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner_;
  dialog.rgbResult = static_cast<COLORREF>(initial) & 0xFFFFFF;
  dialog.lpCustColors = customColours_;
  dialog.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ENABLEHOOK;
  dialog.lpfnHook = ColourDialogHook;
  dialog.lCustData = reinterpret_cast<LPARAM>(Wide(title));
  if (!ChooseColorW(&dialog)) return initial;
  return static_cast<Colour>(dialog.rgbResult & 0xFFFFFF);
}

Text Win32Dialogs::chooseFolder(const Text& title, const Text& startFolder) {
  return BrowseForFolder(owner_, title, startFolder);
}

void Win32Dialogs::openFolder(const Text& folder) {
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  ShellExecuteW(owner_, L"open", Wide(folder), nullptr, nullptr, SW_SHOWNORMAL);
  if (SUCCEEDED(com)) CoUninitialize();
}

}  // namespace brevant
