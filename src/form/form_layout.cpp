#include "form/form_layout.h"

#include <array>
#include <stdexcept>

namespace brevant {

namespace {

using enum Control;
using enum ControlKind;

constexpr ControlLayout kWindow{Form1,           "Form1",          Frame,      Form1, 0,   0,
                                kFormWidthTwips, kFormHeightTwips, u"Brevant", u"",   u"", kFontPoints};

constexpr ControlLayout kControls[] = {
    {ListView1, "ListView1", List, Form1, 120, 120, 7800, 2535, u" VCF File(s)",
     u"Drag and drop files here. Double-click item to remove it. Move | line to right and out of window to "
     u"reveal full names.",
     u"", kFontPoints},
    {PushButton1, "PushButton1", Button, Form1, 120, 2750, 3840, 405, u"Add VCF File(s)", u"", u"",
     kButtonFontPoints},
    {PushButton5, "PushButton5", Button, Form1, 4080, 2750, 3840, 405, u"Add All VCF File(s) In Folder", u"",
     u"", kButtonFontPoints},
    {PushButton7, "PushButton7", Button, Form1, 120, 3260, 3840, 405, u"Clear List", u"", u"",
     kButtonFontPoints},
    {PushButton3, "PushButton3", Button, Form1, 4080, 3260, 3840, 405, u"Load Sample/Example Files", u"", u"",
     kButtonFontPoints},

    {Frame2, "Frame2", Frame, Form1, 120, 3705, 7800, 1035, u"Convert Options", u"", u"", kFontPoints},
    {Option1, "Option1", Option, Frame2, 240, 300, 3405, 225, u"Convert all VCFs to 1 HTML", u"", u"",
     kFontPoints},
    {Check2, "Check2", CheckBox, Frame2, 3900, 300, 3600, 225, u"Also save as CSV", u"", u"", kFontPoints},
    {Option2, "Option2", Option, Frame2, 240, 650, 3405, 225, u"Convert each VCF to HTML file", u"", u"",
     kFontPoints},
    {Check1, "Check1", CheckBox, Frame2, 3900, 650, 3600, 225, u"One row per contact", u"", u"", kFontPoints},

    {Frame1, "Frame1", Frame, Form1, 120, 4785, 7800, 825, u"HTML Options", u"", u"", kFontPoints},
    {Label1, "Label1", Label, Frame1, 270, 330, 1170, 225, u"Border Width:", u"", u"", kFontPoints},
    {Text2, "Text2", TextBox, Frame1, 1575, 300, 510, 345, u"1", u"", u"", kFontPoints},
    {Label2, "Label2", Label, Frame1, 2250, 330, 915, 225, u"Text Color:", u"", u"", kFontPoints},
    {Picture1, "Picture1", Swatch, Frame1, 3240, 270, 360, 345, u"", u"", u"", kFontPoints},
    {PushButton4, "PushButton4", Button, Frame1, 3720, 270, 720, 345, u"...", u"", u"Choose text colour",
     kButtonFontPoints},
    {Label3, "Label3", Label, Frame1, 4605, 330, 1575, 225, u"Background Color:", u"", u"", kFontPoints},
    {Picture2, "Picture2", Swatch, Frame1, 6315, 270, 360, 345, u"", u"", u"", kFontPoints},
    {PushButton6, "PushButton6", Button, Frame1, 6840, 270, 720, 345, u"...", u"",
     u"Choose background colour", kButtonFontPoints},

    {Frame5, "Frame5", Frame, Form1, 120, 5670, 7800, 1815, u"Save Option", u"", u"", kFontPoints},
    {Option3, "Option3", Option, Frame5, 240, 300, 3615, 255, u"Save results to this folder:", u"", u"",
     kFontPoints},
    {Frame6, "Frame6", Frame, Frame5, 480, 510, 6840, 810, u"", u"", u"", kFontPoints},
    {Text1, "Text1", TextBox, Frame6, 240, 300, 5670, 345, u"", u"", u"", kFontPoints},
    {PushButton9, "PushButton9", Button, Frame6, 6000, 300, 600, 345, u"...", u"", u"Choose output folder",
     kButtonFontPoints},
    {Option4, "Option4", Option, Frame5, 240, 1410, 3615, 255, u"Save results in folder of original file",
     u"", u"", kFontPoints},

    {PushButton2, "PushButton2", Button, Form1, 120, 7610, 7800, 405, u"Start Converting", u"", u"",
     kButtonFontPoints},
    {ProgressBar1, "ProgressBar1", ProgressBar, Form1, 120, 8130, 7800, 405, u"Progress Bar", u"", u"",
     kFontPoints},
};

constexpr Control kTabOrder[] = {ListView1, PushButton1, PushButton5, PushButton7, PushButton3, Option1,
                                 Check2,    Option2,     Check1,      Text2,       PushButton4, PushButton6,
                                 Option3,   Text1,       PushButton9, Option4,     PushButton2};

}  // namespace

std::span<const ControlLayout> FormLayout() { return kControls; }

const ControlLayout& LayoutOf(Control control) {
  if (control == Form1) return kWindow;
  for (const ControlLayout& layout : kControls) {
    if (layout.control == control) return layout;
  }
  throw std::invalid_argument("no such control");
}

std::span<const Control> TabOrder() { return kTabOrder; }

}  // namespace brevant
