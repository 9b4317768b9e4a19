// The window's layout: size, places, fonts, captions that fit, tab order, skin.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QHeaderView>
#include <QLabel>
#include <QStyle>
#include <fstream>

#include "window/window_fixture.h"

namespace brevant::test {
namespace {

TEST_F(WindowTest, LayoutAtFifteenTwipsAPixel) {
  QtMainWindow& w = open();
  EXPECT_EQ(w.size(), QSize(536, 576));
  EXPECT_EQ(w.minimumSize(), w.maximumSize());  // not resizable
  struct Place {
    QWidget* control;
    QRect pixels;
  };
  for (const Place& p :
       {Place{w.inputList(), {8, 8, 520, 146}}, Place{w.button(Control::AddFolder), {272, 160, 256, 27}},
        Place{w.frame(Control::ConvertOptions), {8, 224, 520, 92}},
        Place{w.frame(Control::HtmlOptions), {8, 319, 520, 55}},
        Place{w.swatch(Control::BackgroundColourSwatch), {421, 18, 24, 23}},
        Place{w.frame(Control::OutputFolderFrame), {32, 34, 456, 54}},
        Place{w.button(Control::ChooseOutputFolder), {400, 20, 40, 23}},
        Place{w.optionButton(Control::SaveBesideInput), {16, 94, 241, 17}},
        Place{w.progressBar(), {8, 542, 520, 27}}}) {
    EXPECT_EQ(p.control->geometry(), p.pixels) << p.control->objectName().toStdString();
  }
  EXPECT_EQ(w.textBox(Control::OutputFolder)->parentWidget(), w.frame(Control::OutputFolderFrame));
  EXPECT_EQ(w.frame(Control::OutputFolderFrame)->parentWidget(), w.frame(Control::SaveOptions));
  // How to convert on the left: the two modes, "One row per contact" under them, as far apart.
  EXPECT_EQ(w.checkBox(Control::RowPerContact)->parentWidget(), w.frame(Control::ConvertOptions));
  EXPECT_EQ(w.checkBox(Control::RowPerContact)->x(), w.optionButton(Control::DocumentPerInput)->x());
  EXPECT_EQ(w.checkBox(Control::RowPerContact)->y() - w.optionButton(Control::DocumentPerInput)->y(),
            w.optionButton(Control::DocumentPerInput)->y() - w.optionButton(Control::AllInOneDocument)->y());
  // What else to save on the right: "Also save as CSV" beside "Convert all VCFs to 1 HTML",
  // "Also save as spreadsheet" under it, beside "Convert each VCF to HTML file".
  for (const Control box : {Control::AlsoSaveCsv, Control::AlsoSaveSpreadsheet}) {
    EXPECT_EQ(w.checkBox(box)->parentWidget(), w.frame(Control::ConvertOptions));
    EXPECT_GT(w.checkBox(box)->x(), w.optionButton(Control::DocumentPerInput)->x() +
                                        w.optionButton(Control::DocumentPerInput)->width());
    EXPECT_EQ(w.checkBox(box)->font(), w.checkBox(Control::RowPerContact)->font());
  }
  EXPECT_EQ(w.checkBox(Control::AlsoSaveCsv)->y(), w.optionButton(Control::AllInOneDocument)->y());
  EXPECT_EQ(w.checkBox(Control::AlsoSaveSpreadsheet)->geometry(),
            w.checkBox(Control::AlsoSaveCsv)
                ->geometry()
                .translated(0, w.optionButton(Control::DocumentPerInput)->y() -
                                   w.optionButton(Control::AllInOneDocument)->y()));
  EXPECT_EQ(w.checkBox(Control::AlsoSaveCsv)->text(), "Also save as CSV");
  EXPECT_EQ(w.checkBox(Control::AlsoSaveSpreadsheet)->text(), "Also save as spreadsheet");
}

TEST_F(WindowTest, BoldArialAndNoCaptionCut) {
  QtMainWindow& w = open();
  EXPECT_EQ(w.optionButton(Control::AllInOneDocument)->font().family(), "Arial");
  EXPECT_TRUE(w.label(Control::BackgroundColourLabel)->font().bold());
  EXPECT_DOUBLE_EQ(w.label(Control::BackgroundColourLabel)->font().pointSizeF(), 9);
  EXPECT_TRUE(w.button(Control::StartConverting)->font().bold());
  EXPECT_DOUBLE_EQ(w.button(Control::StartConverting)->font().pointSizeF(), 11.25);
  for (QAbstractButton* button : w.findChildren<QAbstractButton*>()) {
    const int needed = button->fontMetrics().horizontalAdvance(button->text());
    EXPECT_LE(needed, button->width()) << button->objectName().toStdString();
  }
  for (QLabel* label : {w.label(Control::BorderWidthLabel), w.label(Control::TextColourLabel),
                        w.label(Control::BackgroundColourLabel)}) {
    EXPECT_LE(label->sizeHint().width(), label->width()) << label->objectName().toStdString();
    // A grown caption stays clear of the control to its right.
    EXPECT_LT(label->x() + label->width(), label->x() + 120);
  }
  EXPECT_LE(w.label(Control::BackgroundColourLabel)->geometry().right(),
            w.swatch(Control::BackgroundColourSwatch)->geometry().left());
  EXPECT_LE(w.label(Control::TextColourLabel)->geometry().right(),
            w.swatch(Control::TextColourSwatch)->geometry().left());
}

TEST_F(WindowTest, OnAScreenTooSmallTheWholeWindowIsDrawnSmallerAndStaysOnIt) {
  screenArea = QRect(0, 0, 640, 512);  // 1280 x 1024 at a scale factor of 2
  QtMainWindow& w = open();
  const double zoom = 480.0 / 576;
  EXPECT_EQ(w.size(), QSize(447, 480));
  EXPECT_EQ(w.minimumSize(), w.maximumSize());
  EXPECT_TRUE(screenArea.contains(QRect(w.pos(), w.size() + QSize(8, 32))));  // with its frame
  EXPECT_DOUBLE_EQ(w.button(Control::StartConverting)->font().pointSizeF(), 11.25 * zoom);
  EXPECT_DOUBLE_EQ(w.label(Control::BorderWidthLabel)->font().pointSizeF(), 9 * zoom);
  EXPECT_EQ(w.inputList()->header()->sectionSize(0), 400);
  // Every control lies inside the client area, and no caption is cut.
  for (QWidget* control : w.findChildren<QWidget*>()) {
    if (control->isWindow() || control == w.focusFrame()) continue;
    const QRect inWindow(control->mapTo(&w, QPoint(0, 0)), control->size());
    EXPECT_TRUE(w.rect().contains(inWindow)) << control->objectName().toStdString();
  }
  for (QAbstractButton* button : w.findChildren<QAbstractButton*>()) {
    EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()), button->width())
        << button->objectName().toStdString();
  }
  for (QLabel* label : {w.label(Control::BorderWidthLabel), w.label(Control::TextColourLabel),
                        w.label(Control::BackgroundColourLabel)})
    EXPECT_LE(label->sizeHint().width(), label->width());
  // Circles and boxes come out whole: the style draws them at one size.
  const int circle = w.style()->pixelMetric(QStyle::PM_ExclusiveIndicatorHeight);
  for (QWidget* option :
       {w.optionButton(Control::AllInOneDocument), w.optionButton(Control::DocumentPerInput),
        w.optionButton(Control::SaveToChosenFolder), w.optionButton(Control::SaveBesideInput)})
    EXPECT_GE(option->height(), circle);
  EXPECT_GE(w.checkBox(Control::RowPerContact)->height(), w.style()->pixelMetric(QStyle::PM_IndicatorHeight));
  EXPECT_LE(w.label(Control::BackgroundColourLabel)->geometry().right(),
            w.swatch(Control::BackgroundColourSwatch)->geometry().left());
  EXPECT_LE(w.optionButton(Control::DocumentPerInput)->geometry().right(),
            w.checkBox(Control::AlsoSaveSpreadsheet)->geometry().left());
  EXPECT_LE(w.optionButton(Control::AllInOneDocument)->geometry().right(),
            w.checkBox(Control::AlsoSaveCsv)->geometry().left());
  EXPECT_LE(w.optionButton(Control::DocumentPerInput)->geometry().bottom(),
            w.checkBox(Control::RowPerContact)->geometry().top());
}

TEST_F(WindowTest, TabOrderReadsTheWindowTopToBottomAndTheOptionsColumnByColumn) {
  QtMainWindow& w = open();
  std::vector<std::string> order;
  QWidget* at = w.inputList();
  for (int i = 0; i < 18; ++i) {
    order.push_back(at->objectName().toStdString());
    at = at->nextInFocusChain();
    while (at->focusPolicy() & Qt::TabFocus ? false : at != w.inputList()) at = at->nextInFocusChain();
  }
  EXPECT_THAT(order, ::testing::ElementsAre("ListView1", "PushButton1", "PushButton5", "PushButton7",
                                            "PushButton3", "Option1", "Option2", "Check1", "Check2", "Check3",
                                            "Text2", "PushButton4", "PushButton6", "Option3", "Text1",
                                            "PushButton9", "Option4", "PushButton2"));
}

TEST_F(WindowTest, ASkinStyleSheetBesideTheProgramReplacesTheWhiteLook) {
  std::filesystem::create_directories(programFolder / "x");
  std::ofstream(programFolder / "x" / "o.cjs") << "QPushButton { color: rgb(1, 2, 3); }";
  QtMainWindow& w = open();
  EXPECT_EQ(w.styleSheet(), "QPushButton { color: rgb(1, 2, 3); }");
  EXPECT_EQ(w.optionButton(Control::AllInOneDocument)
                ->palette()
                .color(w.optionButton(Control::AllInOneDocument)->backgroundRole()),
            w.palette().color(QPalette::Button));
  EXPECT_TRUE(dialogs.asked.empty());
}

TEST_F(WindowTest, WithoutASkinTheWindowKeepsItsWhiteFrames) {
  QtMainWindow& w = open();
  EXPECT_TRUE(w.styleSheet().contains("background-color: white"));
}

}  // namespace
}  // namespace brevant::test
