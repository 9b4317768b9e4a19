#include "window/qt_main_window.h"

#include <QAccessible>
#include <QApplication>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QHeaderView>
#include <QPixmap>
#include <QScreen>
#include <QSignalBlocker>

#include "form/screen_fit.h"
#include "support/qt/desktop_folder.h"
#include "support/qt/qt_text.h"
#include "support/qt/skin.h"
#include "window/colour_conversion.h"
#include "window/progress_accessible.h"

namespace brevant {

namespace {

// A checked option button of a group cannot be unchecked while the group keeps
// one checked; the window's behaviour may uncheck it all the same.
void SetChecked(QAbstractButton* button, bool checked) {
  if (checked || !button->isChecked() || !button->autoExclusive()) {
    button->setChecked(checked);
    return;
  }
  button->setAutoExclusive(false);
  button->setChecked(false);
  button->setAutoExclusive(true);
}

// A picture file as a pointer; nothing when the file holds no picture.
std::optional<QCursor> PointerFromFile(const Text& file) {
  const QPixmap picture(ToQString(file));
  if (picture.isNull()) return std::nullopt;
  return QCursor(picture);
}

}  // namespace

QtMainWindow::QtMainWindow(const WindowSetup& setup) : QWidget(nullptr) {
  static const bool progressKnown = [] {
    QAccessible::installFactory(ProgressAccessibleFactory);
    return true;
  }();
  static_cast<void>(progressKnown);
  // Centred on its screen, drawn smaller where the screen is too small for it.
  QRect area = setup.screenArea;
  if (area.isEmpty() && screen() != nullptr) area = screen()->availableGeometry();
  const WindowFit fit = FitWindow(layoutPixels(kFormWidthTwips), layoutPixels(kFormHeightTwips),
                                  ScreenRect{area.x(), area.y(), area.width(), area.height()});
  zoom_ = fit.zoom;
  buildControls();
  focusFrame_ = new FocusFrame(this);
  form_.emplace(*this, FormSetup{setup.settings, setup.dialogs, setup.programFolder,
                                 [] { return DefaultOutputFolder(); }});
  inputList()->setForm(&*form_);
  connectGestures();
  form_->load();
  move(fit.x, fit.y);
}

void QtMainWindow::connectGestures() {
  // What the behaviour shows comes with signals blocked: only the user's gestures arrive here.
  for (const ControlLayout& layout : FormLayout()) {
    const Control control = layout.control;
    switch (layout.kind) {
      case ControlKind::Button:
        connect(button(control), &QPushButton::clicked, this, [this, control] { form().clicked(control); });
        connect(button(control), &HoverButton::pointerMoved, this,
                [this, control] { form().pointerMoved(control); });
        break;
      case ControlKind::Option:
      case ControlKind::CheckBox:
        connect(static_cast<QAbstractButton*>(widget(control)), &QAbstractButton::toggled, this,
                [this, control](bool on) { form().toggled(control, on); });
        break;
      case ControlKind::TextBox:
        connect(textBox(control), &QLineEdit::textChanged, this,
                [this, control](const QString& text) { form().edited(control, ToText(text)); });
        textBox(control)->installEventFilter(this);  // the focus leaving it
        break;
      case ControlKind::Frame:
        frame(control)->installEventFilter(this);  // the pointer over it
        break;
      default:
        break;
    }
  }
  installEventFilter(this);  // the pointer over the window's background
}

void QtMainWindow::applySkin(const Text& programFolder) {
  // The skin's own palettes are no change of the desktop's scheme.
  followingPalette_ = true;
  try {
    skinned_ = ApplySkin(*this, ToQString(programFolder));
  } catch (...) {
    followingPalette_ = false;
    throw;
  }
  followingPalette_ = false;
}

void QtMainWindow::setCaption(const Text& caption) { setWindowTitle(ToQString(caption)); }

void QtMainWindow::setIcon() { setWindowIcon(QApplication::windowIcon()); }

void QtMainWindow::setApplicationTitle(const Text& title) {
  QGuiApplication::setApplicationDisplayName(ToQString(title));
}

void QtMainWindow::loadHandPointer(const Text& file) {
  if (const auto pointer = PointerFromFile(file)) handCursor_ = *pointer;
}

void QtMainWindow::loadDragPointer(const Text& file) {
  if (const auto pointer = PointerFromFile(file)) inputList()->setDragCursor(*pointer);
}

void QtMainWindow::addListColumn(const Text& caption) { rows_.setHeader(ToQString(caption)); }

void QtMainWindow::setListColumnWidth(int twips) {
  inputList()->header()->resizeSection(0, layoutPixels(twips));
}

void QtMainWindow::showChecked(Control control, bool checked) {
  auto* button = static_cast<QAbstractButton*>(widget(control));
  const QSignalBlocker quiet(button);
  SetChecked(button, checked);
}

void QtMainWindow::showText(Control control, const Text& text) {
  auto* field = static_cast<QLineEdit*>(widget(control));
  const QString shown = ToQString(text);
  if (field->text() == shown) return;
  const QSignalBlocker quiet(field);
  field->setText(shown);
}

void QtMainWindow::showColour(Control control, Colour colour) {
  QWidget* swatch = widget(control);
  QPalette palette = swatch->palette();
  palette.setColor(QPalette::Window, ToQColor(colour));
  swatch->setPalette(palette);
  // A screen reader says which colour it is.
  swatch->setAccessibleDescription(ToQColor(colour).name());
}

void QtMainWindow::enable(Control control, bool enabled) { widget(control)->setEnabled(enabled); }

void QtMainWindow::focus(Control control) { widget(control)->setFocus(Qt::OtherFocusReason); }

void QtMainWindow::setPointer(Pointer pointer) {
  switch (pointer) {
    case Pointer::Arrow:
      setCursor(Qt::ArrowCursor);
      break;
    case Pointer::Hand:
      setCursor(handCursor_);
      break;
    case Pointer::Busy:
      setCursor(Qt::WaitCursor);
      break;
  }
}

void QtMainWindow::selectRow(std::size_t row) {
  inputList()->setCurrentIndex(rows_.index(static_cast<int>(row)));
}

void QtMainWindow::showRow(std::size_t row) { inputList()->scrollTo(rows_.index(static_cast<int>(row))); }

void QtMainWindow::setProgressCaption(const Text& caption) { progressBar()->setCaption(ToQString(caption)); }

void QtMainWindow::processEvents() { QCoreApplication::processEvents(); }

bool QtMainWindow::eventFilter(QObject* watched, QEvent* event) {
  const std::optional<Control> control = controlOf(watched);
  if (event->type() == QEvent::FocusOut && control && LayoutOf(*control).kind == ControlKind::TextBox) {
    // Leaving for another window (a box, a menu) is no leaving of the field.
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) form().focusLeft(*control);
  } else if (event->type() == QEvent::MouseMove && control) {
    form().pointerMoved(*control);  // the window's background, a frame or a text box
  }
  return QWidget::eventFilter(watched, event);
}

std::optional<Control> QtMainWindow::controlOf(const QObject* watched) const {
  for (std::size_t i = 0; i < widgets_.size(); ++i)
    if (widgets_[i] == watched) return static_cast<Control>(i);
  return std::nullopt;
}

void QtMainWindow::windowGone() {
  // A run or scan in progress stops at its next yield; every event loop ends.
  form().close();
  QCoreApplication::exit(0);
}

void QtMainWindow::changeEvent(QEvent* event) {
  // The desktop switched to a dark or high-contrast scheme, or back.
  if (event->type() == QEvent::ApplicationPaletteChange || event->type() == QEvent::PaletteChange)
    followPalette();
  QWidget::changeEvent(event);
}

void QtMainWindow::closeEvent(QCloseEvent* event) {
  // A run or scan in progress stops at its next yield; the program then ends.
  form().close();
  event->accept();
}

}  // namespace brevant
