// The Windows window as a view of the form: its controls stand where the
// layout puts them, the user's gestures reach the form's handlers, and what
// the form shows appears in the controls and never comes back as a gesture.
#include "win32_window/win32_main_window.h"

#include <gtest/gtest.h>
#include <windows.h>
// (the headers below need windows.h first)
#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>

#include "engine/write/output_formats.h"
#include "support/text/utf8.h"
#include "test_support/form_fixture.h"
#include "win32_window/dpi_scale.h"
#include "win32_window/progress_caption_bar.h"
#include "win32_window/wide_text.h"
#include "win32_window/win32_view_fixture.h"

namespace brevant::test {
namespace {

TEST_F(Win32ViewTest, EveryControlStandsWhereTheLayoutPutsItWithItsCaption) {
  const UINT dpi = view.layoutDpi();  // the monitor's, where the window fits
  RECT client;
  GetClientRect(view.window(), &client);
  EXPECT_EQ(client.right, MulDiv(536, dpi, 96));
  EXPECT_EQ(client.bottom, MulDiv(576, dpi, 96));
  for (const ControlLayout& layout : FormLayout()) {
    SCOPED_TRACE(layout.objectName);
    int left = layout.left;
    int top = layout.top;
    for (Control container = layout.container; container != Control::Window;
         container = LayoutOf(container).container) {
      left += LayoutOf(container).left;
      top += LayoutOf(container).top;
    }
    const RECT place = placeOf(layout.control);
    EXPECT_EQ(place.left, MulDiv(left, dpi, 1440));
    // Captions take the room they need, no more (the layout's option boxes reach under their
    // neighbours); boxes taller than their line grow as much up as down.
    const bool captionWide = layout.kind == ControlKind::Option || layout.kind == ControlKind::CheckBox ||
                             layout.kind == ControlKind::Label;
    if (!captionWide) {
      EXPECT_EQ(place.right - place.left, MulDiv(layout.width, dpi, 1440));
    }
    EXPECT_NEAR((place.top + place.bottom) / 2.0,
                MulDiv(top, dpi, 1440) + MulDiv(layout.height, dpi, 1440) / 2.0, 1.0);
    if (layout.kind != ControlKind::TextBox && layout.kind != ControlKind::List) {
      // A swatch's text is its name, which it does not show.
      EXPECT_EQ(WindowText(at(layout.control)),
                layout.kind == ControlKind::Swatch ? layout.accessibleName : layout.caption);
    }
  }
  // No control lies over another of its frame.
  for (const ControlLayout& one : FormLayout())
    for (const ControlLayout& other : FormLayout()) {
      RECT overlap;
      const RECT a = placeOf(one.control);
      const RECT b = placeOf(other.control);
      if (&one != &other && one.container == other.container && one.kind != ControlKind::Frame &&
          other.kind != ControlKind::Frame) {
        EXPECT_FALSE(IntersectRect(&overlap, &a, &b)) << one.objectName << " and " << other.objectName;
      }
    }
  wchar_t header[32] = {};
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
  column.pszText = header;
  column.cchTextMax = 32;
  ASSERT_TRUE(ListView_GetColumn(at(Control::InputList), 0, &column));
  EXPECT_EQ(FromWide(header), u" VCF File(s)");
  EXPECT_EQ(column.cx, MulDiv(kListColumnWidthTwips, dpi, 1440));
}

TEST_F(Win32ViewTest, TabVisitsTheControlsTopToBottomAndTheChosenOptionOfEachGroup) {
  const std::vector<Control> expected{
      Control::InputList,          Control::AddFiles,         Control::AddFolder,
      Control::ClearList,          Control::LoadSamples,      Control::AllInOneDocument,
      Control::RowPerContact,      Control::AlsoSaveCsv,      Control::AlsoSaveSpreadsheet,
      Control::BorderWidth,        Control::ChooseTextColour, Control::ChooseBackgroundColour,
      Control::SaveToChosenFolder, Control::OutputFolder,     Control::ChooseOutputFolder,
      Control::StartConverting,    Control::InputList};
  HWND focus = at(Control::InputList);
  for (std::size_t i = 1; i < expected.size(); ++i) {
    focus = GetNextDlgTabItem(view.window(), focus, FALSE);
    EXPECT_EQ(focus, at(expected[i])) << "stop " << i;
  }
}

TEST_F(Win32ViewTest, GesturesReachTheHandlersAndWhatTheFormShowsIsNotStoredAgain) {
  // Start-up stored nothing but the output folder it had to look up.
  EXPECT_EQ(Stored(u"Border Width"), "<absent>");
  EXPECT_EQ(WindowText(at(Control::OutputFolder)), u"C:\\Users\\ann\\Desktop\\");

  SendMessageW(at(Control::DocumentPerInput), BM_CLICK, 0, 0);
  EXPECT_TRUE(form.checked(Control::DocumentPerInput));
  EXPECT_EQ(SendMessageW(at(Control::AllInOneDocument), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(Stored(u"Option1"), "False");

  SendMessageW(at(Control::SaveBesideInput), BM_CLICK, 0, 0);
  EXPECT_EQ(Stored(u"Option3"), "False");
  EXPECT_FALSE(IsWindowEnabled(at(Control::OutputFolder)));
  EXPECT_FALSE(IsWindowEnabled(at(Control::ChooseOutputFolder)));
  EXPECT_TRUE(IsWindowEnabled(at(Control::SaveToChosenFolder)));

  SendMessageW(at(Control::RowPerContact), BM_CLICK, 0, 0);
  EXPECT_EQ(Stored(u"OneRowPerContact"), "True");
  SendMessageW(at(Control::AlsoSaveCsv), BM_CLICK, 0, 0);
  EXPECT_EQ(Stored(u"SaveCsv"), "True");
  SendMessageW(at(Control::AlsoSaveSpreadsheet), BM_CLICK, 0, 0);
  EXPECT_EQ(Stored(u"SaveXlsx"), "True");
  EXPECT_TRUE(form.savesBeside(OutputFormat::Xlsx));

  SetWindowTextW(at(Control::BorderWidth), L"x2");  // as typed
  EXPECT_EQ(form.text(Control::BorderWidth), u"x2");
  EXPECT_EQ(Stored(u"Border Width"), "x2");

  form.setProgressCaption(u"Processing: a.vcf");
  EXPECT_EQ(ProgressCaption(at(Control::Progress)), u"Processing: a.vcf");
}

TEST_F(Win32ViewTest, TheListShowsTheFormsRowsAndPassesOnDropsRemovalAndDragging) {
  DropFiles({u"C:\\a.vcf", u"C:\\b.vcf", u"C:\\c.vcf", u"C:\\d.vcf"});
  EXPECT_EQ(listed(), (std::vector<Text>{u"C:\\a.vcf", u"C:\\b.vcf", u"C:\\c.vcf", u"C:\\d.vcf"}));

  // Delete removes the selected row.
  mouseOnRow(WM_LBUTTONDOWN, 1);
  SendMessageW(at(Control::InputList), WM_LBUTTONUP, 0, 0);
  SendMessageW(at(Control::InputList), WM_KEYDOWN, VK_DELETE, 0);
  EXPECT_EQ(listed(), (std::vector<Text>{u"C:\\a.vcf", u"C:\\c.vcf", u"C:\\d.vcf"}));

  // The last row dragged up over the others travels to the top.
  mouseOnRow(WM_LBUTTONDOWN, 2);
  mouseOnRow(WM_MOUSEMOVE, 1);
  mouseOnRow(WM_MOUSEMOVE, 0);
  SendMessageW(at(Control::InputList), WM_LBUTTONUP, 0, 0);
  EXPECT_EQ(form.rows(), (std::vector<Text>{u"C:\\d.vcf", u"C:\\a.vcf", u"C:\\c.vcf"}));
  EXPECT_EQ(listed(), form.rows());
  EXPECT_EQ(ListView_GetNextItem(at(Control::InputList), -1, LVNI_SELECTED), 0);

  // A double-click removes the row clicked.
  mouseOnRow(WM_LBUTTONDBLCLK, 1);
  EXPECT_EQ(listed(), (std::vector<Text>{u"C:\\d.vcf", u"C:\\c.vcf"}));

  // Enter presses the focused button ("Clear List").
  SetFocus(at(Control::ClearList));
  PostMessageW(at(Control::ClearList), WM_KEYDOWN, VK_RETURN, 0);
  view.processEvents();
  EXPECT_TRUE(listed().empty());
  EXPECT_TRUE(form.rows().empty());
}

}  // namespace
}  // namespace brevant::test
