// The window without a mouse: Enter on buttons, names for the "..." buttons,
// and a focus frame that can be seen.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QGroupBox>
#include <QImage>
#include <QTest>

#include "window/window_fixture.h"

namespace brevant::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class KeyboardTest : public WindowTest {
 protected:
  QtMainWindow& openActive() {
    QtMainWindow& w = open();
    w.show();
    QApplication::setActiveWindow(&w);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&w));
    return w;
  }
};

TEST_F(KeyboardTest, EnterPressesTheFocusedButtonAsSpaceDoes) {
  QtMainWindow& w = openActive();
  struct Case {
    QWidget* button;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const char* asked;
  };
  const Case cases[] = {
      {w.button(Control::StartConverting), Qt::Key_Return, Qt::NoModifier, "message: No files added."},
      {w.button(Control::StartConverting), Qt::Key_Enter, Qt::KeypadModifier, "message: No files added."},
      {w.button(Control::StartConverting), Qt::Key_Space, Qt::NoModifier, "message: No files added."},
      {w.button(Control::ChooseTextColour), Qt::Key_Return, Qt::NoModifier, "colour: Choose text colour [0]"},
      {w.button(Control::ChooseBackgroundColour), Qt::Key_Enter, Qt::KeypadModifier,
       "colour: Choose background colour [16777215]"},
      {w.button(Control::ChooseOutputFolder), Qt::Key_Return, Qt::NoModifier,
       "folder: Please select folder: []"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.button->objectName().toStdString() + " " + std::to_string(c.key));
    dialogs.asked.clear();
    c.button->setFocus();
    QTest::keyClick(c.button, c.key, c.modifiers);
    EXPECT_THAT(dialogs.asked, ElementsAre(c.asked));
  }
  // Enter with a modifier, or on a control that is no button, presses nothing.
  dialogs.asked.clear();
  w.button(Control::StartConverting)->setFocus();
  QTest::keyClick(w.button(Control::StartConverting), Qt::Key_Return, Qt::ControlModifier);
  w.textBox(Control::BorderWidth)->setFocus();
  QTest::keyClick(w.textBox(Control::BorderWidth), Qt::Key_Return);
  w.optionButton(Control::DocumentPerInput)->setFocus();
  QTest::keyClick(w.optionButton(Control::DocumentPerInput), Qt::Key_Return);
  EXPECT_THAT(dialogs.asked, IsEmpty());
}

TEST_F(KeyboardTest, TheDotButtonsSayWhatTheyChoose) {
  QtMainWindow& w = open();
  const std::pair<QWidget*, QString> names[] = {
      {w.button(Control::ChooseTextColour), "Choose text colour"},
      {w.button(Control::ChooseBackgroundColour), "Choose background colour"},
      {w.button(Control::ChooseOutputFolder), "Choose output folder"}};
  for (const auto& [button, name] : names) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(button);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->text(QAccessible::Name), name);
    EXPECT_EQ(accessible->role(), QAccessible::Button);
  }
}

// At its own size, and drawn smaller on a small screen.
class FocusFrameTest : public KeyboardTest, public ::testing::WithParamInterface<QRect> {};

TEST_P(FocusFrameTest, AFrameInTheHighlightColourSurroundsTheFocusedControl) {
  screenArea = GetParam();
  QtMainWindow& w = openActive();
  const QColor highlight = w.palette().color(QPalette::Active, QPalette::Highlight);
  constexpr int kReach = FocusFrame::kReach;
  for (QWidget* control : std::initializer_list<QWidget*>{
           w.inputList(), w.button(Control::AddFiles), w.button(Control::LoadSamples),
           w.optionButton(Control::AllInOneDocument), w.checkBox(Control::AlsoSaveCsv),
           w.checkBox(Control::AlsoSaveSpreadsheet), w.checkBox(Control::RowPerContact),
           w.textBox(Control::BorderWidth), w.button(Control::ChooseTextColour),
           w.button(Control::ChooseBackgroundColour), w.optionButton(Control::SaveToChosenFolder),
           w.textBox(Control::OutputFolder), w.button(Control::ChooseOutputFolder),
           w.button(Control::StartConverting)}) {
    SCOPED_TRACE(control->objectName().toStdString());
    control->setFocus(Qt::TabFocusReason);
    ASSERT_EQ(w.focusFrame()->target(), control);
    ASSERT_TRUE(w.focusFrame()->isVisible());
    const QRect frame = w.focusFrame()->geometry();
    EXPECT_EQ(w.focusFrame()->parentWidget(), control->parentWidget());
    EXPECT_EQ(frame, FocusFrame::FramedArea(control).adjusted(-kReach, -kReach, kReach, kReach));
    EXPECT_TRUE(FocusFrame::FramedArea(control).contains(
        QRect(control->pos(), control->sizeHint()).intersected(control->geometry())));  // the whole caption
    // The frame fits its container and covers no other control.
    EXPECT_TRUE(control->parentWidget()->rect().contains(frame));
    for (QWidget* other : control->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      if (other == control || other == w.focusFrame() || !other->isVisible()) continue;
      // A frame control draws its line and background below the room its caption takes.
      const int captionRoom = qobject_cast<QGroupBox*>(other) != nullptr ? 6 : 0;
      EXPECT_FALSE(frame.intersects(other->geometry().adjusted(0, captionRoom, 0, 0)))
          << other->objectName().toStdString();
    }
    // Drawn as the window shows it: the highlight colour all around, against white.
    const QImage shown = w.grab().toImage();
    const QPoint origin = w.focusFrame()->mapTo(&w, QPoint(0, 0));
    for (const QPoint at : {QPoint(0, frame.height() / 2), QPoint(frame.width() - 1, frame.height() / 2),
                            QPoint(frame.width() / 2, 1), QPoint(frame.width() / 2, frame.height() - 2)}) {
      EXPECT_EQ(shown.pixelColor(origin + at), highlight) << at.x() << "," << at.y();
    }
  }
  w.button(Control::StartConverting)->clearFocus();
  EXPECT_EQ(w.focusFrame()->target(), nullptr);
  EXPECT_FALSE(w.focusFrame()->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Screens, FocusFrameTest,
                         ::testing::Values(QRect(0, 0, 1280, 1024), QRect(0, 0, 640, 512)));

}  // namespace
}  // namespace brevant::testing
