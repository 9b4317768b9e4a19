// What a screen reader learns of the Windows window (its accessible objects'
// names and roles), and the window under high contrast: the system's colours
// for the window and its captions, the swatches outlined in the user's colours.
#include <gtest/gtest.h>
#include <windows.h>
// (the headers below need windows.h first)
#include <commctrl.h>
#include <oleacc.h>

#include "support/text/utf8.h"
#include "test_support/form_fixture.h"
#include "win32_window/wide_text.h"
#include "win32_window/win32_main_window.h"

namespace brevant::test {
namespace {

class Win32AccessibilityTest : public ::testing::Test {
 protected:
  MemorySettings settings;
  ScriptedDialogs dialogs;
  Win32MainWindow view{GetModuleHandleW(nullptr), nullptr};
  MainForm form{view, FormSetup{settings, dialogs, u"C:\\no program folder",
                                [] { return Text(u"C:\\Users\\ann\\Desktop\\"); }}};

  Win32AccessibilityTest() {
    CoInitialize(nullptr);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    view.create(form);
  }
  ~Win32AccessibilityTest() override { CoUninitialize(); }
};

struct Heard {
  Text name;
  long role = 0;
};

// The name and role of a window's accessible object, as a screen reader asks for them.
Heard HeardOf(HWND control) {
  IAccessible* object = nullptr;
  Heard heard;
  if (FAILED(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                        reinterpret_cast<void**>(&object))))
    return heard;
  VARIANT self{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR name = nullptr;
  if (object->get_accName(self, &name) == S_OK && name != nullptr) {
    heard.name = FromWide(name);
    SysFreeString(name);
  }
  VARIANT role{};
  if (object->get_accRole(self, &role) == S_OK && role.vt == VT_I4) heard.role = role.lVal;
  object->Release();
  return heard;
}

TEST_F(Win32AccessibilityTest, EveryControlIsHeardByANameAndRoleThatSayWhatItIs) {
  for (const ControlLayout& layout : FormLayout()) {
    SCOPED_TRACE(layout.objectName);
    const Heard heard = HeardOf(view.control(layout.control));
    EXPECT_FALSE(heard.name.empty());
    EXPECT_NE(heard.role, 0);
    std::printf("%s: role %ld, name \"%s\"\n", layout.objectName, heard.role, ToUtf8(heard.name).c_str());
  }
}

}  // namespace
}  // namespace brevant::test
