#pragma once

// The Windows window made on a form of its own, with the helpers that its
// tests use to look at its controls and to act as the user and the shell do.
#include <gtest/gtest.h>
#include <windows.h>
// (the headers below need windows.h first)
#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/text/utf8.h"
#include "test_support/form_fixture.h"
#include "win32_window/wide_text.h"
#include "win32_window/win32_main_window.h"

namespace brevant::test {

class Win32ViewTest : public ::testing::Test {
 protected:
  std::string Stored(const Text& key) const { return ToUtf8(settings.read(key, u"<absent>")); }

  MemorySettings settings;
  ScriptedDialogs dialogs;
  Win32MainWindow view{GetModuleHandleW(nullptr), nullptr};
  MainForm form{view, FormSetup{settings, dialogs, u"C:\\no program folder",
                                [] { return Text(u"C:\\Users\\ann\\Desktop\\"); }}};

  Win32ViewTest() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    view.create(form);
  }

  HWND at(Control control) const { return view.control(control); }
  // Where a control lies in the window's client area.
  RECT placeOf(Control control) const {
    RECT place;
    GetWindowRect(at(control), &place);
    MapWindowPoints(nullptr, view.window(), reinterpret_cast<POINT*>(&place), 2);
    return place;
  }
  std::vector<Text> listed() const {
    std::vector<Text> texts;
    const int count = ListView_GetItemCount(at(Control::InputList));
    for (int i = 0; i < count; ++i) {
      wchar_t text[512] = {};
      ListView_GetItemText(at(Control::InputList), i, 0, text, 512);
      texts.push_back(FromWide(text));
    }
    return texts;
  }
  // Files dropped from Explorer: the list gets them as the shell hands them over.
  void DropFiles(const std::vector<Text>& paths) {
    Text names;
    for (const Text& path : paths) names += path + u'\0';
    names += u'\0';
    const std::size_t bytes = sizeof(DROPFILES) + names.size() * sizeof(char16_t);
    HGLOBAL memory = GlobalAlloc(GHND, bytes);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::copy(names.begin(), names.end(), reinterpret_cast<char16_t*>(drop + 1));
    GlobalUnlock(memory);
    SendMessageW(at(Control::InputList), WM_DROPFILES, reinterpret_cast<WPARAM>(memory),
                 0);  // the list frees it
  }
  // A press or move of the mouse over the middle of a row of the list.
  void mouseOnRow(UINT message, int row) {
    RECT place;
    ListView_GetItemRect(at(Control::InputList), row, &place, LVIR_BOUNDS);
    SendMessageW(at(Control::InputList), message, message == WM_MOUSEMOVE ? MK_LBUTTON : 0,
                 MAKELPARAM(place.left + 20, (place.top + place.bottom) / 2));
  }
};

}  // namespace brevant::test
