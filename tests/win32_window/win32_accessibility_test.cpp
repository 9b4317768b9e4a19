// What a screen reader learns of the Windows window (its accessible objects'
// names and roles, the progress bar's value), and the window under high
// contrast: the system's colours for the window and its captions, the swatches
// outlined in the user's colours.
#include <gtest/gtest.h>
#include <windows.h>
// (the headers below need windows.h first)
#include <commctrl.h>
#include <oleacc.h>

#include <vector>

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
  using enum Control;
  const struct {
    Control control;
    const char16_t* name;
    long role;
  } cases[] = {
      {InputList, u"VCF files to convert", ROLE_SYSTEM_LIST},
      {AddFiles, u"Add VCF File(s)", ROLE_SYSTEM_PUSHBUTTON},
      {AddFolder, u"Add All VCF File(s) In Folder", ROLE_SYSTEM_PUSHBUTTON},
      {ClearList, u"Clear List", ROLE_SYSTEM_PUSHBUTTON},
      {LoadSamples, u"Load Sample/Example Files", ROLE_SYSTEM_PUSHBUTTON},
      {ConvertOptions, u"Convert Options", ROLE_SYSTEM_GROUPING},
      {AllInOneDocument, u"Convert all VCFs to 1 HTML", ROLE_SYSTEM_RADIOBUTTON},
      {DocumentPerInput, u"Convert each VCF to HTML file", ROLE_SYSTEM_RADIOBUTTON},
      {RowPerContact, u"One row per contact", ROLE_SYSTEM_CHECKBUTTON},
      {AlsoSaveCsv, u"Also save as CSV", ROLE_SYSTEM_CHECKBUTTON},
      {AlsoSaveSpreadsheet, u"Also save as spreadsheet", ROLE_SYSTEM_CHECKBUTTON},
      {HtmlOptions, u"HTML Options", ROLE_SYSTEM_GROUPING},
      {BorderWidthLabel, u"Border Width:", ROLE_SYSTEM_STATICTEXT},
      {BorderWidth, u"Border width", ROLE_SYSTEM_TEXT},
      {TextColourLabel, u"Text Color:", ROLE_SYSTEM_STATICTEXT},
      {TextColourSwatch, u"Table text colour", ROLE_SYSTEM_GRAPHIC},
      {ChooseTextColour, u"Choose text colour", ROLE_SYSTEM_PUSHBUTTON},
      {BackgroundColourLabel, u"Background Color:", ROLE_SYSTEM_STATICTEXT},
      {BackgroundColourSwatch, u"Table background colour", ROLE_SYSTEM_GRAPHIC},
      {ChooseBackgroundColour, u"Choose background colour", ROLE_SYSTEM_PUSHBUTTON},
      {SaveOptions, u"Save Option", ROLE_SYSTEM_GROUPING},
      {SaveToChosenFolder, u"Save results to this folder:", ROLE_SYSTEM_RADIOBUTTON},
      {OutputFolderFrame, u"Output folder", ROLE_SYSTEM_GROUPING},
      {OutputFolder, u"Folder to save results in", ROLE_SYSTEM_TEXT},
      {ChooseOutputFolder, u"Choose output folder", ROLE_SYSTEM_PUSHBUTTON},
      {SaveBesideInput, u"Save results in folder of original file", ROLE_SYSTEM_RADIOBUTTON},
      {StartConverting, u"Start Converting", ROLE_SYSTEM_PUSHBUTTON},
      {Progress, u"Conversion progress", ROLE_SYSTEM_PROGRESSBAR},
  };
  EXPECT_EQ(std::size(cases) + 1, kControlCount) << "every control has its case";
  for (const auto& c : cases) {
    SCOPED_TRACE(LayoutOf(c.control).objectName);
    const Heard heard = HeardOf(view.control(c.control));
    EXPECT_EQ(ToUtf8(heard.name), ToUtf8(c.name));
    EXPECT_EQ(heard.role, c.role);
  }
}

// The controls whose value changed, as screen readers are told (a hook keeps no state of its own).
std::vector<HWND> valueChanges;

void CALLBACK NoteValueChange(HWINEVENTHOOK, DWORD, HWND changed, LONG object, LONG child, DWORD, DWORD) {
  if (object == OBJID_CLIENT && child == CHILDID_SELF) valueChanges.push_back(changed);
}

// The bar's value is heard as the whole percentage it shows, read when asked, and a
// change of it is told as one; its name stays whatever its caption says.
TEST_F(Win32AccessibilityTest, TheProgressBarIsHeardWithItsPercentage) {
  const HWND bar = view.control(Control::Progress);
  IAccessible* object = nullptr;
  ASSERT_EQ(AccessibleObjectFromWindow(bar, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                       reinterpret_cast<void**>(&object)),
            S_OK);
  valueChanges.clear();
  const HWINEVENTHOOK hook =
      SetWinEventHook(EVENT_OBJECT_VALUECHANGE, EVENT_OBJECT_VALUECHANGE, nullptr, NoteValueChange,
                      GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
  const struct {
    double position;
    const char* value;
    bool changes;  // the whole percent changed
  } cases[] = {
      {0, "0%", false},     {42, "42%", true},    {42.4, "42%", false}, {42.6, "43%", true},
      {99.6, "100%", true}, {100, "100%", false}, {250, "100%", false}, {0, "0%", true},
  };
  VARIANT self{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.position);
    valueChanges.clear();
    view.setProgressPosition(c.position);
    view.setProgressCaption(u"Processing: a.vcf");
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    BSTR value = nullptr;
    ASSERT_EQ(object->get_accValue(self, &value), S_OK);
    EXPECT_EQ(ToUtf8(FromWide(value)), c.value);
    SysFreeString(value);
    EXPECT_EQ(valueChanges, c.changes ? std::vector<HWND>{bar} : std::vector<HWND>{});
    EXPECT_EQ(ToUtf8(HeardOf(bar).name), "Conversion progress");
  }
  UnhookWinEvent(hook);
  object->Release();
}

// The system's window and text colours for one test; those before come back at the end.
class SystemScheme {
 public:
  SystemScheme(COLORREF window, COLORREF text) {
    const COLORREF colours[] = {window, text};
    SetSysColors(2, kElements, colours);
  }
  ~SystemScheme() { SetSysColors(2, kElements, before_); }

 private:
  static constexpr INT kElements[] = {COLOR_WINDOW, COLOR_WINDOWTEXT};
  COLORREF before_[2] = {GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_WINDOWTEXT)};
};

COLORREF BrushColour(HBRUSH brush) {
  LOGBRUSH colour{};
  GetObjectW(brush, sizeof colour, &colour);
  return colour.lbColor;
}

// The window white with black captions, as always; under a dark scheme of
// system colours (or high contrast, which Wine cannot switch on) the system's
// window and text colours, switched to while the window is open.
// The swatches keep the user's colour inside an outline.
TEST_F(Win32AccessibilityTest, UnderHighContrastTheWindowAndItsCaptionsTakeTheSystemsColours) {
  const struct {
    const char* scheme;
    COLORREF window, text;
    COLORREF background, caption;  // what the window shows
  } cases[] = {
      {"light", RGB(240, 240, 240), RGB(0, 0, 0), RGB(255, 255, 255), RGB(0, 0, 0)},
      {"black", RGB(0, 0, 0), RGB(255, 255, 255), RGB(0, 0, 0), RGB(255, 255, 255)},
      {"dark blue", RGB(0, 0, 96), RGB(255, 255, 0), RGB(0, 0, 96), RGB(255, 255, 0)},
      {"light again", RGB(255, 255, 255), RGB(0, 0, 0), RGB(255, 255, 255), RGB(0, 0, 0)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.scheme);
    const SystemScheme scheme(c.window, c.text);
    SendMessageW(view.window(), WM_SYSCOLORCHANGE, 0, 0);
    const HDC canvas = CreateCompatibleDC(nullptr);
    const HBITMAP picture = CreateCompatibleBitmap(GetDC(nullptr), 8, 8);
    SelectObject(canvas, picture);
    SetTextColor(canvas, RGB(0, 0, 0));
    for (const Control caption : {Control::BorderWidthLabel, Control::RowPerContact, Control::HtmlOptions}) {
      SCOPED_TRACE(LayoutOf(caption).objectName);
      const auto brush = reinterpret_cast<HBRUSH>(
          SendMessageW(view.window(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(canvas),
                       reinterpret_cast<LPARAM>(view.control(caption))));
      EXPECT_EQ(BrushColour(brush), c.background);
      EXPECT_EQ(GetBkColor(canvas), c.background);
      EXPECT_EQ(GetTextColor(canvas), c.caption);
    }
    SendMessageW(view.window(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas), 0);
    EXPECT_EQ(GetPixel(canvas, 4, 4), c.background);
    for (const Control swatch : {Control::TextColourSwatch, Control::BackgroundColourSwatch}) {
      view.showColour(swatch, 0x00FF00);
      EXPECT_NE(GetWindowLongW(view.control(swatch), GWL_STYLE) & WS_BORDER, 0);  // drawn in the frame colour
      DRAWITEMSTRUCT item{};
      item.CtlType = ODT_STATIC;
      item.hwndItem = view.control(swatch);
      item.hDC = canvas;
      item.rcItem = RECT{0, 0, 8, 8};
      SendMessageW(view.window(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item));
      EXPECT_EQ(GetPixel(canvas, 4, 4), RGB(0, 0xFF, 0));
    }
    DeleteDC(canvas);
    DeleteObject(picture);
  }
}

}  // namespace
}  // namespace brevant::test
