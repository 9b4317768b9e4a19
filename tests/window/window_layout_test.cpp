// The window's layout: size, places, fonts, captions that fit, tab order, skin.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QHeaderView>
#include <QLabel>
#include <QStyle>
#include <fstream>

#include "window/window_fixture.h"

namespace brevant::testing {
namespace {

TEST_F(WindowTest, LayoutAtFifteenTwipsAPixel) {
  Form1Window& w = open();
  EXPECT_EQ(w.size(), QSize(536, 576));
  EXPECT_EQ(w.minimumSize(), w.maximumSize());  // not resizable
  struct Place {
    QWidget* control;
    QRect pixels;
  };
  for (const Place& p : {Place{w.ListView1, {8, 8, 520, 169}}, Place{w.PushButton5, {272, 183, 256, 27}},
                         Place{w.Frame1, {8, 319, 520, 55}}, Place{w.Picture2, {421, 18, 24, 23}},
                         Place{w.Frame6, {32, 34, 456, 54}}, Place{w.PushButton9, {400, 20, 40, 23}},
                         Place{w.Option4, {16, 94, 241, 17}}, Place{w.ProgressBar1, {8, 542, 520, 27}}}) {
    EXPECT_EQ(p.control->geometry(), p.pixels) << p.control->objectName().toStdString();
  }
  EXPECT_EQ(w.Text1->parentWidget(), w.Frame6);
  EXPECT_EQ(w.Frame6->parentWidget(), w.Frame5);
  EXPECT_EQ(w.Check1->parentWidget(), w.Frame2);
  EXPECT_GT(w.Check1->x(), w.Option2->x() + w.Option2->width());
  // "Also save as CSV" beside "Convert all VCFs to 1 HTML", above "One row per contact".
  EXPECT_EQ(w.Check2->parentWidget(), w.Frame2);
  EXPECT_EQ(w.Check2->geometry(), w.Check1->geometry().translated(0, w.Option1->y() - w.Option2->y()));
  EXPECT_EQ(w.Check2->text(), "Also save as CSV");
  EXPECT_EQ(w.Check2->font(), w.Check1->font());
}

TEST_F(WindowTest, BoldArialAndNoCaptionCut) {
  Form1Window& w = open();
  EXPECT_EQ(w.Option1->font().family(), "Arial");
  EXPECT_TRUE(w.Label3->font().bold());
  EXPECT_DOUBLE_EQ(w.Label3->font().pointSizeF(), 9);
  EXPECT_TRUE(w.PushButton2->font().bold());
  EXPECT_DOUBLE_EQ(w.PushButton2->font().pointSizeF(), 11.25);
  for (QAbstractButton* button : w.findChildren<QAbstractButton*>()) {
    const int needed = button->fontMetrics().horizontalAdvance(button->text());
    EXPECT_LE(needed, button->width()) << button->objectName().toStdString();
  }
  for (QLabel* label : {w.Label1, w.Label2, w.Label3}) {
    EXPECT_LE(label->sizeHint().width(), label->width()) << label->objectName().toStdString();
    // A grown caption stays clear of the control to its right.
    EXPECT_LT(label->x() + label->width(), label->x() + 120);
  }
  EXPECT_LE(w.Label3->geometry().right(), w.Picture2->geometry().left());
  EXPECT_LE(w.Label2->geometry().right(), w.Picture1->geometry().left());
}

TEST_F(WindowTest, OnAScreenTooSmallTheWholeWindowIsDrawnSmallerAndStaysOnIt) {
  screenArea = QRect(0, 0, 640, 512);  // 1280 x 1024 at a scale factor of 2
  Form1Window& w = open();
  const double zoom = 480.0 / 576;
  EXPECT_EQ(w.size(), QSize(447, 480));
  EXPECT_EQ(w.minimumSize(), w.maximumSize());
  EXPECT_TRUE(screenArea.contains(QRect(w.pos(), w.size() + QSize(8, 32))));  // with its frame
  EXPECT_DOUBLE_EQ(w.PushButton2->font().pointSizeF(), 11.25 * zoom);
  EXPECT_DOUBLE_EQ(w.Label1->font().pointSizeF(), 9 * zoom);
  EXPECT_EQ(w.ListView1->header()->sectionSize(0), 400);
  // Every control lies inside the client area, and no caption is cut.
  for (QWidget* control : w.findChildren<QWidget*>()) {
    if (control->isWindow() || control == w.focusFrame) continue;
    const QRect inWindow(control->mapTo(&w, QPoint(0, 0)), control->size());
    EXPECT_TRUE(w.rect().contains(inWindow)) << control->objectName().toStdString();
  }
  for (QAbstractButton* button : w.findChildren<QAbstractButton*>()) {
    EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()), button->width())
        << button->objectName().toStdString();
  }
  for (QLabel* label : {w.Label1, w.Label2, w.Label3}) EXPECT_LE(label->sizeHint().width(), label->width());
  // Circles and boxes come out whole: the style draws them at one size.
  const int circle = w.style()->pixelMetric(QStyle::PM_ExclusiveIndicatorHeight);
  for (QWidget* option : {w.Option1, w.Option2, w.Option3, w.Option4}) EXPECT_GE(option->height(), circle);
  EXPECT_GE(w.Check1->height(), w.style()->pixelMetric(QStyle::PM_IndicatorHeight));
  EXPECT_LE(w.Label3->geometry().right(), w.Picture2->geometry().left());
  EXPECT_LE(w.Option2->geometry().right(), w.Check1->geometry().left());
  EXPECT_LE(w.Option1->geometry().right(), w.Check2->geometry().left());
}

TEST_F(WindowTest, TabOrderRunsTopToBottom) {
  Form1Window& w = open();
  std::vector<std::string> order;
  QWidget* at = w.ListView1;
  for (int i = 0; i < 17; ++i) {
    order.push_back(at->objectName().toStdString());
    at = at->nextInFocusChain();
    while (at->focusPolicy() & Qt::TabFocus ? false : at != w.ListView1) at = at->nextInFocusChain();
  }
  EXPECT_THAT(order, ::testing::ElementsAre("ListView1", "PushButton1", "PushButton5", "PushButton7",
                                            "PushButton3", "Option1", "Check2", "Option2", "Check1", "Text2",
                                            "PushButton4", "PushButton6", "Option3", "Text1", "PushButton9",
                                            "Option4", "PushButton2"));
}

TEST_F(WindowTest, ASkinStyleSheetBesideTheProgramReplacesTheWhiteLook) {
  std::filesystem::create_directories(programFolder / "x");
  std::ofstream(programFolder / "x" / "o.cjs") << "QPushButton { color: rgb(1, 2, 3); }";
  Form1Window& w = open();
  EXPECT_EQ(w.styleSheet(), "QPushButton { color: rgb(1, 2, 3); }");
  EXPECT_EQ(w.Option1->palette().color(w.Option1->backgroundRole()), w.palette().color(QPalette::Button));
  EXPECT_TRUE(dialogs.asked.empty());
}

TEST_F(WindowTest, WithoutASkinTheWindowKeepsItsWhiteFrames) {
  Form1Window& w = open();
  EXPECT_TRUE(w.styleSheet().contains("background-color: white"));
}

}  // namespace
}  // namespace brevant::testing
