// The window's controls, placed as the layout gives them in twips (15 twips a
// pixel at full size), each relative to its container. On a screen too small
// for it the whole layout, fonts included, is drawn smaller.
#include <QHeaderView>
#include <QStyle>
#include <cmath>
#include <limits>

#include "window/colour_conversion.h"
#include "window/form1.h"

namespace brevant {

namespace {

constexpr double kTwipsPerPixel = 15;

QFont WindowFont(double points) {
  QFont font(QStringLiteral("Arial"));
  font.setPointSizeF(points);
  font.setBold(true);
  return font;
}

// The height of the circle of an option button or the box of a check box,
// which the style draws at one size whatever the font; 0 for other controls.
int IndicatorHeight(const QWidget* control) {
  if (qobject_cast<const QRadioButton*>(control) != nullptr)
    return control->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorHeight, nullptr, control);
  if (qobject_cast<const QCheckBox*>(control) != nullptr)
    return control->style()->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, control);
  return 0;
}

// Places and makes controls at one zoom of the layout.
class Layout {
 public:
  explicit Layout(double zoom) : zoom_(zoom) {}

  int pixels(int twips) const { return static_cast<int>(std::lround(twips * zoom_ / kTwipsPerPixel)); }
  QFont font(double points) const { return WindowFont(points * zoom_); }

  template <class Control>
  Control* place(Control* control, const char* name, int left, int top, int width, int height) const {
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(pixels(left), pixels(top), pixels(width), pixels(height));
    return control;
  }

  HoverButton* button(QWidget* parent, const char* name, const QString& caption, int left, int top, int width,
                      int height) const {
    auto* button = place(new HoverButton(caption, parent), name, left, top, width, height);
    button->setFont(font(11.25));
    button->setAutoDefault(false);
    return button;
  }

  QGroupBox* frame(QWidget* parent, const char* name, const QString& caption, int left, int top, int width,
                   int height) const {
    auto* frame = place(new QGroupBox(caption, parent), name, left, top, width, height);
    frame->setMouseTracking(true);
    return frame;
  }

  // A caption never comes out cut: where the font needs a few pixels more than
  // the layout gives, the control grows to the right. It is measured in the
  // window's font, which the window's style sheet does not pass down. A
  // control whose box or circle is taller than a smaller layout's line grows
  // as much up as down.
  template <class Control>
  Control* caption(Control* control, const char* name, int left, int top, int width, int height) const {
    place(control, name, left, top, width, height);
    control->setFont(font(9));
    if (control->sizeHint().width() > control->width())
      control->resize(control->sizeHint().width(), control->height());
    const int needed = IndicatorHeight(control);
    if (needed > control->height()) {
      const int more = needed - control->height();
      control->setGeometry(control->x(), control->y() - more / 2, control->width(), needed);
    }
    return control;
  }

  QLabel* swatch(QWidget* parent, const char* name, int left, int top, int width, int height) const {
    auto* swatch = place(new QLabel(parent), name, left, top, width, height);
    swatch->setFrameShape(QFrame::Box);
    swatch->setAutoFillBackground(true);
    return swatch;
  }

  // Frames as the layout draws them: white, a thin line, the caption on the line.
  QString frameStyle() const {
    const QString room = QString::number(pixels(90));  // 6 pixels at full size
    return QStringLiteral(
               "#Form1, QGroupBox { background-color: white; }"
               "QGroupBox { border: 1px solid #a0a0a0; margin-top: %1px; }"
               "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left; left: %1px; "
               "padding: 0px 2px; }")
        .arg(room);
  }

 private:
  double zoom_;
};

}  // namespace

void Form1::BuildControls() {
  const Layout at(zoom_);
  setFixedSize(at.pixels(8040), at.pixels(8640));
  setObjectName(QStringLiteral("Form1"));
  setFont(at.font(9));
  setStyleSheet(at.frameStyle());
  setMouseTracking(true);

  ListView1 = at.place(new InputListView(this), "ListView1", 120, 120, 7800, 2535);
  ListView1->setToolTip(QStringLiteral(
      "Drag and drop files here. Double-click item to remove it. Move | line to right and out of window to "
      "reveal full names."));
  ListView1->setInputModel(&rows_);

  PushButton1 = at.button(this, "PushButton1", QStringLiteral("Add VCF File(s)"), 120, 2750, 3840, 405);
  PushButton5 =
      at.button(this, "PushButton5", QStringLiteral("Add All VCF File(s) In Folder"), 4080, 2750, 3840, 405);
  PushButton7 = at.button(this, "PushButton7", QStringLiteral("Clear List"), 120, 3260, 3840, 405);
  PushButton3 =
      at.button(this, "PushButton3", QStringLiteral("Load Sample/Example Files"), 4080, 3260, 3840, 405);

  Frame2 = at.frame(this, "Frame2", QStringLiteral("Convert Options"), 120, 3705, 7800, 1035);
  Option1 = at.caption(new QRadioButton(QStringLiteral("Convert all VCFs to 1 HTML"), Frame2), "Option1", 240,
                       300, 4380, 225);
  Option1->setChecked(true);
  Option2 = at.caption(new QRadioButton(QStringLiteral("Convert each VCF to HTML file"), Frame2), "Option2",
                       240, 650, 3405, 225);
  Check1 = at.caption(new QCheckBox(QStringLiteral("One row per contact"), Frame2), "Check1", 3900, 650, 3600,
                      225);

  Frame1 = at.frame(this, "Frame1", QStringLiteral("HTML Options"), 120, 4785, 7800, 825);
  Label1 = at.caption(new QLabel(QStringLiteral("Border Width:"), Frame1), "Label1", 270, 330, 1170, 225);
  Text2 = at.place(new QLineEdit(QStringLiteral("1"), Frame1), "Text2", 1575, 300, 510, 345);
  Label2 = at.caption(new QLabel(QStringLiteral("Text Color:"), Frame1), "Label2", 2250, 330, 915, 225);
  Picture1 = at.swatch(Frame1, "Picture1", 3240, 270, 360, 345);
  PushButton4 = at.button(Frame1, "PushButton4", QStringLiteral("..."), 3720, 270, 720, 345);
  PushButton4->setAccessibleName(QStringLiteral("Choose text colour"));
  Label3 =
      at.caption(new QLabel(QStringLiteral("Background Color:"), Frame1), "Label3", 4605, 330, 1575, 225);
  Picture2 = at.swatch(Frame1, "Picture2", 6315, 270, 360, 345);
  PushButton6 = at.button(Frame1, "PushButton6", QStringLiteral("..."), 6840, 270, 720, 345);
  PushButton6->setAccessibleName(QStringLiteral("Choose background colour"));
  showColour(Picture1, textColour_);
  showColour(Picture2, backgroundColour_);

  Frame5 = at.frame(this, "Frame5", QStringLiteral("Save Option"), 120, 5670, 7800, 1815);
  Option3 = at.caption(new QRadioButton(QStringLiteral("Save results to this folder:"), Frame5), "Option3",
                       240, 300, 3615, 255);
  Option3->setChecked(true);
  Frame6 = at.frame(Frame5, "Frame6", QString(), 480, 510, 6840, 810);
  Text1 = at.place(new QLineEdit(Frame6), "Text1", 240, 300, 5670, 345);
  // The two texts hold whatever was stored, however long (a line edit cuts at 32,767 characters).
  for (QLineEdit* text : {Text1, Text2}) text->setMaxLength(std::numeric_limits<int>::max());
  PushButton9 = at.button(Frame6, "PushButton9", QStringLiteral("..."), 6000, 300, 600, 345);
  PushButton9->setAccessibleName(QStringLiteral("Choose output folder"));
  Option4 = at.caption(new QRadioButton(QStringLiteral("Save results in folder of original file"), Frame5),
                       "Option4", 240, 1410, 3615, 255);

  PushButton2 = at.button(this, "PushButton2", QStringLiteral("Start Converting"), 120, 7610, 7800, 405);
  ProgressBar1 = at.place(new ProgressDisplay(this), "ProgressBar1", 120, 8130, 7800, 405);
  ProgressBar1->setCaption(QStringLiteral("Progress Bar"));

  // A style sheet stops fonts from passing down to the controls: each gets its own.
  for (QWidget* control : findChildren<QWidget*>()) {
    if (qobject_cast<HoverButton*>(control) == nullptr) control->setFont(font());
  }

  // Top to bottom, left to right.
  const QList<QWidget*> tabOrder{ListView1, PushButton1, PushButton5, PushButton7, PushButton3, Option1,
                                 Option2,   Check1,      Text2,       PushButton4, PushButton6, Option3,
                                 Text1,     PushButton9, Option4,     PushButton2};
  for (qsizetype i = 1; i < tabOrder.size(); ++i) setTabOrder(tabOrder[i - 1], tabOrder[i]);
}

int Form1::layoutPixels(int twips) const { return Layout(zoom_).pixels(twips); }

void Form1::showColour(QLabel* swatch, Colour colour) {
  QPalette palette = swatch->palette();
  palette.setColor(QPalette::Window, ToQColor(colour));
  swatch->setPalette(palette);
}

}  // namespace brevant
