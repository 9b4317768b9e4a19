// The window's controls, placed as the layout gives them in twips (15 twips a
// pixel), each relative to its container.
#include <QHeaderView>

#include "window/colour_conversion.h"
#include "window/form1.h"

namespace brevant {

namespace {

constexpr int kTwipsPerPixel = 15;
constexpr int kClientWidth = 8040 / kTwipsPerPixel;
constexpr int kClientHeight = 8640 / kTwipsPerPixel;

int Pixels(int twips) { return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel; }

template <class Control>
Control* Place(Control* control, const char* name, int left, int top, int width, int height) {
  control->setObjectName(QString::fromLatin1(name));
  control->setGeometry(Pixels(left), Pixels(top), Pixels(width), Pixels(height));
  return control;
}

QFont WindowFont(double points) {
  QFont font(QStringLiteral("Arial"));
  font.setPointSizeF(points);
  font.setBold(true);
  return font;
}

HoverButton* Button(QWidget* parent, const char* name, const QString& caption, int left, int top, int width,
                    int height) {
  auto* button = Place(new HoverButton(caption, parent), name, left, top, width, height);
  button->setFont(WindowFont(11.25));
  button->setAutoDefault(false);
  return button;
}

QGroupBox* Frame(QWidget* parent, const char* name, const QString& caption, int left, int top, int width,
                 int height) {
  auto* frame = Place(new QGroupBox(caption, parent), name, left, top, width, height);
  frame->setMouseTracking(true);
  return frame;
}

// A caption never comes out cut: where the font needs a few pixels more than
// the layout gives, the control grows to the right.
template <class Control>
Control* Caption(Control* control, const char* name, int left, int top, int width, int height) {
  Place(control, name, left, top, width, height);
  if (control->sizeHint().width() > control->width())
    control->resize(control->sizeHint().width(), control->height());
  return control;
}

// Frames as the layout draws them: white, a thin line, the caption on the line.
constexpr char kFrameStyle[] =
    "#Form1, QGroupBox { background-color: white; }"
    "QGroupBox { border: 1px solid #a0a0a0; margin-top: 6px; }"
    "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left; left: 6px; padding: 0px "
    "2px; }";

QLabel* Swatch(QWidget* parent, const char* name, int left, int top, int width, int height) {
  auto* swatch = Place(new QLabel(parent), name, left, top, width, height);
  swatch->setFrameShape(QFrame::Box);
  swatch->setAutoFillBackground(true);
  return swatch;
}

}  // namespace

void Form1::BuildControls() {
  setFixedSize(kClientWidth, kClientHeight);
  setObjectName(QStringLiteral("Form1"));
  setFont(WindowFont(9));
  setStyleSheet(QString::fromLatin1(kFrameStyle));
  setMouseTracking(true);

  ListView1 = Place(new InputListView(this), "ListView1", 120, 120, 7800, 2535);
  ListView1->setToolTip(QStringLiteral(
      "Drag and drop files here. Double-click item to remove it. Move | line to right and out of window to "
      "reveal full names."));
  ListView1->setInputModel(&rows_);

  PushButton1 = Button(this, "PushButton1", QStringLiteral("Add VCF File(s)"), 120, 2750, 3840, 405);
  PushButton5 =
      Button(this, "PushButton5", QStringLiteral("Add All VCF File(s) In Folder"), 4080, 2750, 3840, 405);
  PushButton7 = Button(this, "PushButton7", QStringLiteral("Clear List"), 120, 3260, 3840, 405);
  PushButton3 =
      Button(this, "PushButton3", QStringLiteral("Load Sample/Example Files"), 4080, 3260, 3840, 405);

  Frame2 = Frame(this, "Frame2", QStringLiteral("Convert Options"), 120, 3705, 7800, 1035);
  Option1 = Caption(new QRadioButton(QStringLiteral("Convert all VCFs to 1 HTML"), Frame2), "Option1", 240,
                    300, 4380, 225);
  Option1->setChecked(true);
  Option2 = Caption(new QRadioButton(QStringLiteral("Convert each VCF to HTML file"), Frame2), "Option2", 240,
                    650, 3405, 225);
  Check1 =
      Caption(new QCheckBox(QStringLiteral("One row per contact"), Frame2), "Check1", 3900, 650, 3600, 225);

  Frame1 = Frame(this, "Frame1", QStringLiteral("HTML Options"), 120, 4785, 7800, 825);
  Label1 = Caption(new QLabel(QStringLiteral("Border Width:"), Frame1), "Label1", 270, 330, 1170, 225);
  Text2 = Place(new QLineEdit(QStringLiteral("1"), Frame1), "Text2", 1575, 300, 510, 345);
  Label2 = Caption(new QLabel(QStringLiteral("Text Color:"), Frame1), "Label2", 2250, 330, 915, 225);
  Picture1 = Swatch(Frame1, "Picture1", 3240, 270, 360, 345);
  PushButton4 = Button(Frame1, "PushButton4", QStringLiteral("..."), 3720, 270, 720, 345);
  PushButton4->setAccessibleName(QStringLiteral("Choose text colour"));
  Label3 = Caption(new QLabel(QStringLiteral("Background Color:"), Frame1), "Label3", 4605, 330, 1575, 225);
  Picture2 = Swatch(Frame1, "Picture2", 6315, 270, 360, 345);
  PushButton6 = Button(Frame1, "PushButton6", QStringLiteral("..."), 6840, 270, 720, 345);
  PushButton6->setAccessibleName(QStringLiteral("Choose background colour"));
  showColour(Picture1, textColour_);
  showColour(Picture2, backgroundColour_);

  Frame5 = Frame(this, "Frame5", QStringLiteral("Save Option"), 120, 5670, 7800, 1815);
  Option3 = Caption(new QRadioButton(QStringLiteral("Save results to this folder:"), Frame5), "Option3", 240,
                    300, 3615, 255);
  Option3->setChecked(true);
  Frame6 = Frame(Frame5, "Frame6", QString(), 480, 510, 6840, 810);
  Text1 = Place(new QLineEdit(Frame6), "Text1", 240, 300, 5670, 345);
  PushButton9 = Button(Frame6, "PushButton9", QStringLiteral("..."), 6000, 300, 600, 345);
  PushButton9->setAccessibleName(QStringLiteral("Choose output folder"));
  Option4 = Caption(new QRadioButton(QStringLiteral("Save results in folder of original file"), Frame5),
                    "Option4", 240, 1410, 3615, 255);

  PushButton2 = Button(this, "PushButton2", QStringLiteral("Start Converting"), 120, 7610, 7800, 405);
  ProgressBar1 = Place(new ProgressDisplay(this), "ProgressBar1", 120, 8130, 7800, 405);
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

void Form1::showColour(QLabel* swatch, Colour colour) {
  QPalette palette = swatch->palette();
  palette.setColor(QPalette::Window, ToQColor(colour));
  swatch->setPalette(palette);
}

}  // namespace brevant
