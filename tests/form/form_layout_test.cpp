// The layout table that every view places its controls from.
#include "form/form_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

namespace brevant::testing {
namespace {

bool TakesFocus(ControlKind kind) {
  return kind == ControlKind::List || kind == ControlKind::Button || kind == ControlKind::Option ||
         kind == ControlKind::CheckBox || kind == ControlKind::TextBox;
}

TEST(FormLayout, EveryControlOnceInsideItsContainerWithItsFontAndName) {
  std::set<Control> placed{Control::Form1};
  std::set<std::string> names{"Form1"};
  for (const ControlLayout& control : FormLayout()) {
    SCOPED_TRACE(control.name);
    EXPECT_TRUE(placed.insert(control.control).second);
    EXPECT_TRUE(names.insert(control.name).second);
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
  EXPECT_EQ(placed.size(), static_cast<std::size_t>(Control::ProgressBar1) + 1);
  EXPECT_EQ(LayoutOf(Control::Form1).width, kFormWidthTwips);
  EXPECT_EQ(LayoutOf(Control::Form1).height, kFormHeightTwips);
}

TEST(FormLayout, TabVisitsEveryControlThatTakesTheFocusOnceStartingAtTheList) {
  const std::span<const Control> order = TabOrder();
  std::set<Control> focusable;
  for (const ControlLayout& control : FormLayout())
    if (TakesFocus(control.kind)) focusable.insert(control.control);
  EXPECT_EQ(std::set<Control>(order.begin(), order.end()), focusable);
  EXPECT_EQ(order.size(), focusable.size());
  EXPECT_EQ(order.front(), Control::ListView1);
  EXPECT_EQ(order.back(), Control::PushButton2);
}

}  // namespace
}  // namespace brevant::testing
