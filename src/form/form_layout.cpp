#include "form/form_layout.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <stdexcept>

namespace brevant {

namespace {

using enum Control;
using enum ControlKind;

constexpr ControlLayout kWindow{Window,          "Form1",          Frame,      Window, 0,   0,
                                kFormWidthTwips, kFormHeightTwips, u"Brevant", u"",    u"", kFontPoints};

constexpr ControlLayout kControls[] = {
    {InputList, "ListView1", List, Window, 120, 120, 7800, 2190, u" VCF File(s)",
     u"Drag and drop files here. Double-click item to remove it. Move | line to right and out of window to "
     u"reveal full names.",
     u"VCF files to convert", kFontPoints},
    {AddFiles, "PushButton1", Button, Window, 120, 2405, 3840, 405, u"Add VCF File(s)", u"", u"",
     kButtonFontPoints},
    {AddFolder, "PushButton5", Button, Window, 4080, 2405, 3840, 405, u"Add All VCF File(s) In Folder", u"",
     u"", kButtonFontPoints},
    {ClearList, "PushButton7", Button, Window, 120, 2915, 3840, 405, u"Clear List", u"", u"",
     kButtonFontPoints},
    {LoadSamples, "PushButton3", Button, Window, 4080, 2915, 3840, 405, u"Load Sample/Example Files", u"",
     u"", kButtonFontPoints},

    // How to convert on the left, what else to save on the right; Tab reads the left column first.
    {ConvertOptions, "Frame2", Frame, Window, 120, 3360, 7800, 1380, u"Convert Options", u"", u"",
     kFontPoints},
    {AllInOneDocument, "Option1", Option, ConvertOptions, 240, 300, 3405, 225, u"Convert all VCFs to 1 HTML",
     u"", u"", kFontPoints},
    {DocumentPerInput, "Option2", Option, ConvertOptions, 240, 650, 3405, 225,
     u"Convert each VCF to HTML file", u"", u"", kFontPoints},
    {RowPerContact, "Check1", CheckBox, ConvertOptions, 240, 990, 3405, 225, u"One row per contact", u"", u"",
     kFontPoints},
    {AlsoSaveCsv, "Check2", CheckBox, ConvertOptions, 3900, 300, 3600, 225, u"Also save as CSV", u"", u"",
     kFontPoints},
    {AlsoSaveSpreadsheet, "Check3", CheckBox, ConvertOptions, 3900, 650, 3600, 225,
     u"Also save as spreadsheet", u"", u"", kFontPoints},

    {HtmlOptions, "Frame1", Frame, Window, 120, 4785, 7800, 825, u"HTML Options", u"", u"", kFontPoints},
    {BorderWidthLabel, "Label1", Label, HtmlOptions, 270, 330, 1170, 225, u"Border Width:", u"", u"",
     kFontPoints},
    {BorderWidth, "Text2", TextBox, HtmlOptions, 1575, 300, 510, 345, u"1", u"", u"Border width",
     kFontPoints},
    {TextColourLabel, "Label2", Label, HtmlOptions, 2250, 330, 915, 225, u"Text Color:", u"", u"",
     kFontPoints},
    {TextColourSwatch, "Picture1", Swatch, HtmlOptions, 3240, 270, 360, 345, u"", u"", u"Table text colour",
     kFontPoints},
    {ChooseTextColour, "PushButton4", Button, HtmlOptions, 3720, 270, 720, 345, u"...", u"",
     u"Choose text colour", kButtonFontPoints},
    {BackgroundColourLabel, "Label3", Label, HtmlOptions, 4605, 330, 1575, 225, u"Background Color:", u"",
     u"", kFontPoints},
    {BackgroundColourSwatch, "Picture2", Swatch, HtmlOptions, 6315, 270, 360, 345, u"", u"",
     u"Table background colour", kFontPoints},
    {ChooseBackgroundColour, "PushButton6", Button, HtmlOptions, 6840, 270, 720, 345, u"...", u"",
     u"Choose background colour", kButtonFontPoints},

    {SaveOptions, "Frame5", Frame, Window, 120, 5670, 7800, 1815, u"Save Option", u"", u"", kFontPoints},
    {SaveToChosenFolder, "Option3", Option, SaveOptions, 240, 300, 3615, 255, u"Save results to this folder:",
     u"", u"", kFontPoints},
    {OutputFolderFrame, "Frame6", Frame, SaveOptions, 480, 510, 6840, 810, u"", u"", u"Output folder",
     kFontPoints},
    {OutputFolder, "Text1", TextBox, OutputFolderFrame, 240, 300, 5670, 345, u"", u"",
     u"Folder to save results in", kFontPoints},
    {ChooseOutputFolder, "PushButton9", Button, OutputFolderFrame, 6000, 300, 600, 345, u"...", u"",
     u"Choose output folder", kButtonFontPoints},
    {SaveBesideInput, "Option4", Option, SaveOptions, 240, 1410, 3615, 255,
     u"Save results in folder of original file", u"", u"", kFontPoints},

    {StartConverting, "PushButton2", Button, Window, 120, 7610, 7800, 405, u"Start Converting", u"", u"",
     kButtonFontPoints},
    {Progress, "ProgressBar1", ProgressBar, Window, 120, 8130, 7800, 405, u"Progress Bar", u"",
     u"Conversion progress", kFontPoints},
};
static_assert(std::size(kControls) + 1 == kControlCount, "every control but the window has its row");

// Whether Tab visits controls of this kind.
constexpr bool TakesFocus(ControlKind kind) {
  return kind == List || kind == Button || kind == Option || kind == CheckBox || kind == TextBox;
}

// The controls that take the focus, in the table's order.
constexpr auto kTabOrder = [] {
  constexpr std::size_t count = static_cast<std::size_t>(
      std::count_if(std::begin(kControls), std::end(kControls),
                    [](const ControlLayout& layout) { return TakesFocus(layout.kind); }));
  std::array<Control, count> order{};
  std::size_t next = 0;
  for (const ControlLayout& layout : kControls)
    if (TakesFocus(layout.kind)) order[next++] = layout.control;
  return order;
}();

// The row of each control in the table, by the control's index.
constexpr auto kRowOf = [] {
  std::array<std::size_t, kControlCount> rows{};
  for (std::size_t row = 0; row < std::size(kControls); ++row) rows[IndexOf(kControls[row].control)] = row;
  return rows;
}();

}  // namespace

std::span<const ControlLayout> FormLayout() { return kControls; }

const ControlLayout& LayoutOf(Control control) {
  if (control == Window) return kWindow;
  if (IndexOf(control) >= kControlCount) throw std::invalid_argument("no such control");
  return kControls[kRowOf[IndexOf(control)]];
}

std::span<const Control> TabOrder() { return kTabOrder; }

bool Contains(Control container, Control control) {
  for (Control inside = control; inside != Window; inside = LayoutOf(inside).container)
    if (inside == container) return true;
  return container == Window;
}

}  // namespace brevant
