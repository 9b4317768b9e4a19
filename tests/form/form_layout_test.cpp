// The layout table that every view places its controls from.
#include "form/form_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace brevant::test {
namespace {

bool TakesFocus(ControlKind kind) {
  return kind == ControlKind::List || kind == ControlKind::Button || kind == ControlKind::Option ||
         kind == ControlKind::CheckBox || kind == ControlKind::TextBox;
}

TEST(FormLayout, EveryControlOnceInsideItsContainerWithItsFontAndName) {
  std::set<Control> placed{Control::Window};
  std::set<std::string> names{"Form1"};
  for (const ControlLayout& control : FormLayout()) {
    SCOPED_TRACE(control.objectName);
    EXPECT_TRUE(placed.insert(control.control).second);
    EXPECT_TRUE(names.insert(control.objectName).second);
    EXPECT_EQ(&LayoutOf(control.control), &control);
    // Containers come first, and are frames or the window.
    ASSERT_TRUE(placed.contains(control.container));
    const ControlLayout& container = LayoutOf(control.container);
    EXPECT_EQ(container.kind, ControlKind::Frame);
    EXPECT_GE(control.left, 0);
    EXPECT_GE(control.top, 0);
    EXPECT_LE(control.left + control.width, container.width);
    EXPECT_LE(control.top + control.height, container.height);
    EXPECT_EQ(control.fontPoints, control.kind == ControlKind::Button ? kButtonFontPoints : kFontPoints);
    // A button whose caption does not say what it does has a name that does.
    if (control.kind == ControlKind::Button && control.caption == u"...") {
      EXPECT_TRUE(control.accessibleName.starts_with(u"Choose ")) << "unnamed";
    }
  }
  EXPECT_EQ(placed.size(), static_cast<std::size_t>(Control::Progress) + 1);
  EXPECT_EQ(LayoutOf(Control::Window).width, kFormWidthTwips);
  EXPECT_EQ(LayoutOf(Control::Window).height, kFormHeightTwips);
}

// What a screen reader says for each control: its caption, or where the caption
// does not say what the control is (none, "...", a text box's first text, the
// bar's changing caption) a name of its own. Every name is different.
TEST(FormLayout, EveryControlHasANameThatSaysWhatItIs) {
  std::set<Text> names;
  for (const ControlLayout& control : FormLayout()) {
    SCOPED_TRACE(control.objectName);
    const bool captionSays = !control.caption.empty() && control.caption != u"..." &&
                             control.kind != ControlKind::TextBox && control.kind != ControlKind::ProgressBar;
    const TextView name =
        captionSays && control.accessibleName.empty() ? control.caption : control.accessibleName;
    EXPECT_TRUE(std::any_of(name.begin(), name.end(), [](char16_t c) { return c >= u'A' && c <= u'z'; }));
    EXPECT_TRUE(names.insert(Text(name)).second) << "a second control of this name";
  }
}

TEST(FormLayout, TabVisitsEveryControlThatTakesTheFocusOnceStartingAtTheList) {
  const std::span<const Control> order = TabOrder();
  std::set<Control> focusable;
  for (const ControlLayout& control : FormLayout())
    if (TakesFocus(control.kind)) focusable.insert(control.control);
  EXPECT_EQ(std::set<Control>(order.begin(), order.end()), focusable);
  EXPECT_EQ(order.size(), focusable.size());
  EXPECT_EQ(order.front(), Control::InputList);
  EXPECT_EQ(order.back(), Control::StartConverting);
}

// Where a control lies in the window, in twips.
struct Place {
  int left;
  int top;
  int bottom;
};

Place PlaceOf(Control control) {
  const ControlLayout& layout = LayoutOf(control);
  Place place{layout.left, layout.top, layout.top + layout.height};
  for (Control in = layout.container; in != Control::Window; in = LayoutOf(in).container) {
    place.left += LayoutOf(in).left;
    place.top += LayoutOf(in).top;
    place.bottom += LayoutOf(in).top;
  }
  return place;
}

TEST(FormLayout, TabVisitsTheControlsInReadingOrderTheOptionsColumnByColumn) {
  // A control on the same line (their heights overlap) comes after one to its
  // left; a control of the same column after the one above it; a new column of
  // the same frame starts above and right of the one before; otherwise a
  // control lies below the one before.
  const std::span<const Control> order = TabOrder();
  for (std::size_t i = 1; i < order.size(); ++i) {
    const Place before = PlaceOf(order[i - 1]);
    const Place after = PlaceOf(order[i]);
    SCOPED_TRACE(std::string(LayoutOf(order[i - 1]).objectName) + " then " + LayoutOf(order[i]).objectName);
    const bool sameFrame = LayoutOf(order[i - 1]).container == LayoutOf(order[i]).container &&
                           LayoutOf(order[i]).container != Control::Window;
    if (after.top < before.bottom && before.top < after.bottom) {
      EXPECT_GT(after.left, before.left);
    } else if (sameFrame && after.left != before.left) {
      EXPECT_GT(after.left, before.left);
      EXPECT_LT(after.top, before.top);
    } else {
      EXPECT_GT(after.top, before.top);
    }
  }
  using enum Control;
  const std::vector<Control> options(order.begin() + 5, order.begin() + 17);
  EXPECT_EQ(options,
            (std::vector<Control>{AllInOneDocument, DocumentPerInput, RowPerContact, AlsoSaveCsv,
                                  AlsoSaveSpreadsheet, BorderWidth, ChooseTextColour, ChooseBackgroundColour,
                                  SaveToChosenFolder, OutputFolder, ChooseOutputFolder, SaveBesideInput}));
}

}  // namespace
}  // namespace brevant::test
