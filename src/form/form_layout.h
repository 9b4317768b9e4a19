#pragma once

#include <cstddef>
#include <span>

#include "support/text/text.h"

namespace brevant {

// The controls of the window, named for what they do. What users, stored
// settings and scripts know them by is the layout's object name.
enum class Control {
  Window,
  InputList,
  AddFiles,
  AddFolder,
  ClearList,
  LoadSamples,
  ConvertOptions,
  AllInOneDocument,
  DocumentPerInput,
  RowPerContact,
  AlsoSaveCsv,
  AlsoSaveSpreadsheet,
  HtmlOptions,
  BorderWidthLabel,
  BorderWidth,
  TextColourLabel,
  TextColourSwatch,
  ChooseTextColour,
  BackgroundColourLabel,
  BackgroundColourSwatch,
  ChooseBackgroundColour,
  SaveOptions,
  SaveToChosenFolder,
  OutputFolderFrame,
  OutputFolder,
  ChooseOutputFolder,
  SaveBesideInput,
  StartConverting,
  Progress,
};
// How many controls there are, the window included.
inline constexpr std::size_t kControlCount = static_cast<std::size_t>(Control::Progress) + 1;
// A control's place in arrays that hold something for every control.
constexpr std::size_t IndexOf(Control control) { return static_cast<std::size_t>(control); }

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
  // What scripts, the window's style sheet and its test report know the
  // control by; it keeps the spelling it always had.
  const char* objectName;
  ControlKind kind;
  Control container;  // Control::Window for the window itself
  int left;
  int top;
  int width;
  int height;
  TextView caption;  // the text shown on it; a text box's first text
  TextView toolTip;  // "" for none
  // What a screen reader calls it when its caption does not say ("" when it does): a button of "...",
  // a control without a caption, a text box (whose caption is its first text), the progress bar
  // (whose caption changes).
  TextView accessibleName;
  double fontPoints;  // bold Arial of this size
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

// Every control but the window, containers before what they contain, in the
// order Tab visits those that take the keyboard focus.
std::span<const ControlLayout> FormLayout();
// The layout of one control; the window's own for Control::Window.
const ControlLayout& LayoutOf(Control control);
// The order in which Tab visits the controls: as one reads the window, top to bottom, left to right,
// and a frame of two columns (the convert options) its left column first.
std::span<const Control> TabOrder();
// Whether `control` lies inside `container`, at any depth (a control lies inside itself).
bool Contains(Control container, Control control);

}  // namespace brevant
