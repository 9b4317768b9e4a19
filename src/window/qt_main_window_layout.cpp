// The window's controls, made and placed from the layout table in twips (15
// twips a pixel at full size), each relative to its container. On a screen too
// small for it the whole layout, fonts included, is drawn smaller.
#include <QGuiApplication>
#include <QHeaderView>
#include <QStyle>
#include <cmath>
#include <limits>

#include "support/qt/qt_text.h"
#include "window/qt_main_window.h"

namespace brevant {

namespace {

QFont WindowFont(double points) {
  QFont font(ToQString(kFontName));
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

  // A new control of the table's kind, placed in its container.
  QWidget* make(const ControlLayout& at, QWidget* container) const {
    const QString caption = ToQString(at.caption);
    QWidget* control = nullptr;
    switch (at.kind) {
      case ControlKind::List:
        control = new InputListView(container);
        break;
      case ControlKind::Button: {
        auto* button = new HoverButton(caption, container);
        button->setAutoDefault(false);
        control = button;
        break;
      }
      case ControlKind::Frame: {
        auto* frame = new QGroupBox(caption, container);
        frame->setMouseTracking(true);
        control = frame;
        break;
      }
      case ControlKind::Option:
        control = new QRadioButton(caption, container);
        break;
      case ControlKind::CheckBox:
        control = new QCheckBox(caption, container);
        break;
      case ControlKind::Label:
        control = new QLabel(caption, container);
        break;
      case ControlKind::TextBox: {
        auto* text = new QLineEdit(caption, container);
        // It holds whatever was stored, however long (a line edit cuts at 32,767 characters).
        text->setMaxLength(std::numeric_limits<int>::max());
        control = text;
        break;
      }
      case ControlKind::Swatch: {
        auto* swatch = new QLabel(container);
        swatch->setFrameShape(QFrame::Box);
        swatch->setAutoFillBackground(true);
        control = swatch;
        break;
      }
      case ControlKind::ProgressBar: {
        auto* bar = new ProgressDisplay(container);
        bar->setCaption(caption);
        control = bar;
        break;
      }
    }
    control->setObjectName(QString::fromLatin1(at.objectName));
    control->setGeometry(pixels(at.left), pixels(at.top), pixels(at.width), pixels(at.height));
    control->setFont(font(at.fontPoints));
    if (!at.toolTip.empty()) control->setToolTip(ToQString(at.toolTip));
    // What a screen reader says: the caption, unless the table names the control.
    if (!at.accessibleName.empty()) control->setAccessibleName(ToQString(at.accessibleName));
    const bool captionOnly =
        at.kind == ControlKind::Option || at.kind == ControlKind::CheckBox || at.kind == ControlKind::Label;
    if (captionOnly) fitCaption(control);
    return control;
  }

  // The window white, and frames as the layout draws them: white, a thin
  // line, the caption on the line. Under a dark or high-contrast palette the
  // window and frames take the palette's colours, and every box, circle and
  // edge is drawn in its text colour (the style draws them a shade of the
  // window's colour, which a black window hides), so that every caption and
  // control stays visible.
  QString frameStyle(const QString& windowName, const QPalette& palette) const {
    const QString room = QString::number(pixels(90));  // 6 pixels at full size
    const bool dark =
        palette.color(QPalette::Window).lightness() < palette.color(QPalette::WindowText).lightness();
    const QString frames =
        QStringLiteral(
            "#%2, QGroupBox { background-color: %3; }"
            "QGroupBox { border: 1px solid %4; margin-top: %1px; }"
            "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left; left: %1px; "
            "padding: 0px 2px; }")
            .arg(room, windowName, dark ? QStringLiteral("palette(window)") : QStringLiteral("white"),
                 dark ? QStringLiteral("palette(window-text)") : QStringLiteral("#a0a0a0"));
    if (!dark) return frames;
    const QString indicator = QString::number(pixels(195));  // 13 pixels, as the style draws them
    return frames +
           QStringLiteral(
               "QPushButton { color: palette(button-text); background-color: palette(button); "
               "border: 1px solid palette(button-text); }"
               "QPushButton:focus, QPushButton:hover { border: 2px solid palette(highlight); }"
               "QLineEdit { color: palette(text); background-color: palette(base); border: 1px solid "
               "palette(text); }"
               "QCheckBox::indicator, QRadioButton::indicator { width: %1px; height: %1px; "
               "border: 1px solid palette(window-text); background-color: palette(base); }"
               "QRadioButton::indicator { border-radius: %2px; }"
               "QCheckBox::indicator:checked, QRadioButton::indicator:checked { "
               "background-color: palette(window-text); }"
               "QHeaderView::section { color: palette(window-text); background-color: palette(window); "
               "border: 1px solid palette(window-text); padding-left: 4px; }"
               "QTreeView { color: palette(text); background-color: palette(base); "
               "border: 1px solid palette(text); }")
               .arg(indicator, QString::number(pixels(195) / 2 + 1));
  }

 private:
  // A caption never comes out cut: where the font needs a few pixels more than
  // the layout gives, the control grows to the right. It is measured in the
  // window's font, which the window's style sheet does not pass down. A
  // control whose box or circle is taller than a smaller layout's line grows
  // as much up as down.
  static void fitCaption(QWidget* control) {
    if (control->sizeHint().width() > control->width())
      control->resize(control->sizeHint().width(), control->height());
    const int needed = IndicatorHeight(control);
    if (needed > control->height()) {
      const int more = needed - control->height();
      control->setGeometry(control->x(), control->y() - more / 2, control->width(), needed);
    }
  }

  double zoom_;
};

}  // namespace

void QtMainWindow::buildControls() {
  const Layout at(zoom_);
  setFixedSize(at.pixels(kFormWidthTwips), at.pixels(kFormHeightTwips));
  const QString windowName = QString::fromLatin1(LayoutOf(Control::Window).objectName);
  setObjectName(windowName);
  setFont(at.font(kFontPoints));
  setStyleSheet(at.frameStyle(windowName, QGuiApplication::palette()));
  setMouseTracking(true);

  widgets_[IndexOf(Control::Window)] = this;
  for (const ControlLayout& control : FormLayout())
    widgets_[IndexOf(control.control)] = at.make(control, widgets_[IndexOf(control.container)]);
  inputList()->setInputModel(&rows_);

  // A style sheet stops fonts from passing down to the controls: each gets its own.
  for (QWidget* control : findChildren<QWidget*>()) {
    if (qobject_cast<HoverButton*>(control) == nullptr) control->setFont(font());
  }

  // Top to bottom, left to right.
  const std::span<const Control> order = TabOrder();
  for (std::size_t i = 1; i < order.size(); ++i) setTabOrder(widget(order[i - 1]), widget(order[i]));
}

int QtMainWindow::layoutPixels(int twips) const { return Layout(zoom_).pixels(twips); }

void QtMainWindow::followPalette() {
  if (skinned_ || followingPalette_) return;  // a skin's style sheet says every colour itself
  followingPalette_ = true;                   // setting the style sheet tells of a palette change again
  // Set anew even when its text stays: the palette(...) colours in it are taken when it is set.
  setStyleSheet(Layout(zoom_).frameStyle(objectName(), QGuiApplication::palette()));
  followingPalette_ = false;
}

QWidget* QtMainWindow::widget(Control control) const { return widgets_[IndexOf(control)]; }

}  // namespace brevant
