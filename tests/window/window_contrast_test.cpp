// The window under the desktop's colours: light, dark and high contrast. Every
// caption must stay readable and both colour swatches visible, whatever colour
// the user chose for the table. BREVANT_SCREENSHOTS=FOLDER keeps a picture of
// the window under each palette there.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QPalette>
#include <algorithm>
#include <cstdlib>
#include <map>

#include "window/colour_conversion.h"
#include "window/window_fixture.h"

namespace brevant::test {
namespace {

// A desktop scheme of a window colour, a text colour and a highlight.
QPalette Scheme(QColor window, QColor text, QColor highlight) {
  QPalette palette(text, window, window.lighter(150), window.darker(150), window.darker(120), text, text,
                   window, window);
  palette.setColor(QPalette::Highlight, highlight);
  palette.setColor(QPalette::HighlightedText, window);
  palette.setColor(QPalette::PlaceholderText, text);
  return palette;
}

// The most common colour of a picture: what it is drawn on.
QRgb Background(const QImage& image) {
  std::map<QRgb, int> counts;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) ++counts[image.pixel(x, y)];
  return std::max_element(counts.begin(), counts.end(), [](auto a, auto b) { return a.second < b.second; })
      ->first;
}

// How far the farthest pixel lies from the background in lightness, 0 to 1:
// text drawn in its colour stands out by as much.
double LargestStep(const QImage& image) {
  const int background = QColor(Background(image)).lightness();
  int largest = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      largest = std::max(largest, std::abs(QColor(image.pixel(x, y)).lightness() - background));
  return largest / 255.0;
}

class ContrastTest : public WindowTest {
 protected:
  ~ContrastTest() override { QApplication::setPalette(QPalette()); }

  // Every caption, the list's header and both swatches, each table colour black
  // and then white, as the window shows them (a control's own picture would
  // leave out what lies behind it).
  void expectReadable(QtMainWindow& w, const char* scheme) {
    SCOPED_TRACE(scheme);
    const auto shown = [&w](const QWidget* control, QRect part) {
      return w.grab().toImage().copy(part.translated(control->mapTo(&w, QPoint(0, 0))));
    };
    for (const ControlLayout& layout : FormLayout()) {
      SCOPED_TRACE(layout.objectName);
      const QWidget* control = w.widget(layout.control);
      switch (layout.kind) {
        case ControlKind::Label:
        case ControlKind::Option:
        case ControlKind::CheckBox:
        case ControlKind::Button:
        case ControlKind::ProgressBar:
          EXPECT_GE(LargestStep(shown(control, control->rect())), 0.5);
          break;
        case ControlKind::Frame:  // the caption on the frame's top line
          if (!layout.caption.empty()) {
            EXPECT_GE(
                LargestStep(shown(control, QRect(0, 0, control->width(), control->fontMetrics().height()))),
                0.5);
          }
          break;
        default:
          break;
      }
    }
    const QHeaderView* header = w.inputList()->header();
    EXPECT_GE(LargestStep(shown(header, header->rect())), 0.5) << "the list's header";
    for (const Colour colour : {Colour{0}, Colour{0xFFFFFF}}) {
      for (const Control swatch : {Control::TextColourSwatch, Control::BackgroundColourSwatch}) {
        w.showColour(swatch, colour);
        // The swatch with a margin of what lies around it: its outline stands out from both.
        const QWidget* box = w.swatch(swatch);
        const QImage inside = shown(box, box->rect().adjusted(3, 3, -3, -3));
        EXPECT_EQ(QColor(Background(inside)), ToQColor(colour)) << LayoutOf(swatch).objectName;
        EXPECT_GE(LargestStep(shown(box, box->rect().adjusted(-3, -3, 3, 3))), 0.5)
            << LayoutOf(swatch).objectName << " in " << ToQColor(colour).name().toStdString();
      }
    }
    if (const char* folder = std::getenv("BREVANT_SCREENSHOTS"))
      w.grab().save(QString::fromLocal8Bit(folder) + QStringLiteral("/window-%1.png").arg(scheme));
  }
};

TEST_F(ContrastTest, EveryCaptionAndSwatchStaysVisibleUnderEachSchemeTheDesktopSwitchesTo) {
  QtMainWindow& w = open();
  w.show();
  const struct {
    const char* name;
    QPalette palette;
  } schemes[] = {
      {"light", QPalette()},
      {"dark", Scheme(QColor(0x2b, 0x2b, 0x2b), QColor(0xee, 0xee, 0xee), QColor(0x3d, 0xae, 0xe9))},
      {"high-contrast-black", Scheme(Qt::black, Qt::white, QColor(0x1a, 0xeb, 0xff))},
      {"high-contrast-white", Scheme(Qt::white, Qt::black, QColor(0x37, 0x00, 0x6e))},
  };
  for (const auto& scheme : schemes) {
    QApplication::setPalette(scheme.palette);
    QApplication::processEvents();
    expectReadable(w, scheme.name);
  }
}

}  // namespace
}  // namespace brevant::test
