#include "window/form1_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QHeaderView>
#include <QPixmap>
#include <QScreen>
#include <QSignalBlocker>

#include "support/qt/desktop_folder.h"
#include "support/qt/qt_text.h"
#include "support/qt/skin.h"
#include "window/colour_conversion.h"
#include "window/screen_fit.h"

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

Form1Window::Form1Window(const WindowSetup& setup) : QWidget(nullptr) {
  // Centred on its screen, drawn smaller where the screen is too small for it.
  QRect area = setup.screenArea;
  if (area.isEmpty() && screen() != nullptr) area = screen()->availableGeometry();
  const WindowFit fit = FitWindow(layoutPixels(kFormWidthTwips), layoutPixels(kFormHeightTwips),
                                  ScreenRect{area.x(), area.y(), area.width(), area.height()});
  zoom_ = fit.zoom;
  BuildControls();
  focusFrame = new FocusFrame(this);
  form_.emplace(*this, FormSetup{setup.settings, setup.dialogs, setup.programFolder,
                                 [] { return DefaultOutputFolder(); }});
  ListView1->setForm(&*form_);
  ConnectHandlers();
  form_->Form_Load();
  move(fit.x, fit.y);
}

void Form1Window::ConnectHandlers() {
  // What the behaviour shows comes with signals blocked: only the user's gestures arrive here.
  const std::pair<QRadioButton*, void (Form1::*)()> options[] = {{Option1, &Form1::Option1_Click},
                                                                 {Option2, &Form1::Option2_Click},
                                                                 {Option3, &Form1::Option3_Click},
                                                                 {Option4, &Form1::Option4_Click}};
  for (const auto& [option, handler] : options) {
    connect(option, &QRadioButton::toggled, this, [this, handler](bool on) {
      if (on) (form().*handler)();
    });
  }
  connect(Check1, &QCheckBox::toggled, this, [this](bool checked) { form().Check1_Click(checked); });
  connect(Check2, &QCheckBox::toggled, this, [this](bool checked) { form().Check2_Click(checked); });
  connect(Text1, &QLineEdit::textChanged, this,
          [this](const QString& text) { form().Text1_Change(ToText(text)); });
  connect(Text2, &QLineEdit::textChanged, this,
          [this](const QString& text) { form().Text2_Change(ToText(text)); });
  const std::pair<HoverButton*, void (Form1::*)()> buttons[] = {
      {PushButton1, &Form1::PushButton1_Click}, {PushButton2, &Form1::PushButton2_Click},
      {PushButton3, &Form1::PushButton3_Click}, {PushButton4, &Form1::PushButton4_Click},
      {PushButton5, &Form1::PushButton5_Click}, {PushButton6, &Form1::PushButton6_Click},
      {PushButton7, &Form1::PushButton7_Click}, {PushButton9, &Form1::PushButton9_Click}};
  for (const auto& [button, handler] : buttons) {
    connect(button, &QPushButton::clicked, this, [this, handler] { (form().*handler)(); });
    connect(button, &HoverButton::pointerMoved, this, [this] { form().PushButton_MouseMove(); });
  }
  Text2->installEventFilter(this);
  installEventFilter(this);
  for (QGroupBox* frame : {Frame1, Frame2, Frame5, Frame6}) frame->installEventFilter(this);
}

void Form1Window::applySkin(const Text& programFolder) { ApplySkin(*this, ToQString(programFolder)); }

void Form1Window::setCaption(const Text& caption) { setWindowTitle(ToQString(caption)); }

void Form1Window::setIcon() { setWindowIcon(QApplication::windowIcon()); }

void Form1Window::setApplicationTitle(const Text& title) {
  QGuiApplication::setApplicationDisplayName(ToQString(title));
}

void Form1Window::loadHandPointer(const Text& file) {
  if (const auto pointer = PointerFromFile(file)) handCursor_ = *pointer;
}

void Form1Window::loadDragPointer(const Text& file) {
  if (const auto pointer = PointerFromFile(file)) ListView1->setDragCursor(*pointer);
}

void Form1Window::addListColumn(const Text& caption) { rows_.setHeader(ToQString(caption)); }

void Form1Window::setListColumnWidth(int twips) {
  ListView1->header()->resizeSection(0, layoutPixels(twips));
}

void Form1Window::showChecked(Control control, bool checked) {
  auto* button = static_cast<QAbstractButton*>(widget(control));
  const QSignalBlocker quiet(button);
  SetChecked(button, checked);
}

void Form1Window::showText(Control control, const Text& text) {
  auto* field = static_cast<QLineEdit*>(widget(control));
  const QString shown = ToQString(text);
  if (field->text() == shown) return;
  const QSignalBlocker quiet(field);
  field->setText(shown);
}

void Form1Window::showColour(Control control, Colour colour) {
  QWidget* swatch = widget(control);
  QPalette palette = swatch->palette();
  palette.setColor(QPalette::Window, ToQColor(colour));
  swatch->setPalette(palette);
}

void Form1Window::enable(Control control, bool enabled) { widget(control)->setEnabled(enabled); }

void Form1Window::focus(Control control) { widget(control)->setFocus(Qt::OtherFocusReason); }

void Form1Window::setPointer(Pointer pointer) {
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

void Form1Window::selectRow(std::size_t row) {
  ListView1->setCurrentIndex(rows_.index(static_cast<int>(row)));
}

void Form1Window::showRow(std::size_t row) { ListView1->scrollTo(rows_.index(static_cast<int>(row))); }

void Form1Window::setProgressCaption(const Text& caption) { ProgressBar1->setCaption(ToQString(caption)); }

void Form1Window::processEvents() { QCoreApplication::processEvents(); }

bool Form1Window::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Text2 && event->type() == QEvent::FocusOut) {
    // Leaving for another window (a box, a menu) is no leaving of the field.
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) form().Text2_LostFocus();
  } else if (event->type() == QEvent::MouseMove) {
    form().Form_MouseMove();  // the window's background or a frame
  }
  return QWidget::eventFilter(watched, event);
}

void Form1Window::windowGone() {
  // A run or scan in progress stops at its next yield; every event loop ends.
  form().Form_Unload();
  QCoreApplication::exit(0);
}

void Form1Window::closeEvent(QCloseEvent* event) {
  // A run or scan in progress stops at its next yield; the program then ends.
  form().Form_Unload();
  event->accept();
}

}  // namespace brevant
