#pragma once

#include <span>

#include "support/text.h"

namespace brevant {

// The controls of the window, named by kind and number.
enum class Control {
  Form1,
  ListView1,
  PushButton1,
  PushButton5,
  PushButton7,
  PushButton3,
  Frame2,
  Option1,
  Option2,
  Check1,
  Check2,
  Frame1,
  Label1,
  Text2,
  Label2,
  Picture1,
  PushButton4,
  Label3,
  Picture2,
  PushButton6,
  Frame5,
  Option3,
  Frame6,
  Text1,
  PushButton9,
  Option4,
  PushButton2,
  ProgressBar1,
};

enum class ControlKind {
  List,         // the input list: one column, one path a row
  Button,       // a push button
  Frame,        // a group box with a caption on its line
  Option,       // an option (radio) button
  CheckBox,     //
  Label,        // a caption
  TextBox,      // a one-line text field
  Swatch,       // a framed area that shows a colour
  ProgressBar,  // a bar on a scale of 0 to 100 with a caption drawn on it
};

// One control of the window: where it lies in its container, in twips (15
// twips a pixel at 96 dots per inch), and what it shows.
struct ControlLayout {
  Control control;
  const char* name;
  ControlKind kind;
  Control container;  // Control::Form1 for the window itself
  int left;
  int top;
  int width;
  int height;
  TextView caption;         // the text shown on it; a text box's first text
  TextView toolTip;         // "" for none
  TextView accessibleName;  // what it is called when its caption does not say ("" when it does)
  double fontPoints;        // bold Arial of this size
};

inline constexpr int kTwipsPerPixel = 15;
// The window's client area.
inline constexpr int kFormWidthTwips = 8040;
inline constexpr int kFormHeightTwips = 8640;
// The width of the list's one column.
inline constexpr int kListColumnWidthTwips = 7200;
inline constexpr char16_t kFontName[] = u"Arial";
inline constexpr double kButtonFontPoints = 11.25;
inline constexpr double kFontPoints = 9;

// Every control but the window, containers before what they contain.
std::span<const ControlLayout> FormLayout();
// The layout of one control; the window's own for Control::Form1.
const ControlLayout& LayoutOf(Control control);
// The order in which Tab visits the controls: top to bottom, left to right.
std::span<const Control> TabOrder();

}  // namespace brevant
