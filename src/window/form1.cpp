#include "window/form1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QFocusEvent>
#include <QHeaderView>
#include <QPixmap>
#include <QScreen>
#include <stdexcept>

#include "support/file_helpers.h"
#include "support/qt/application_title.h"
#include "support/qt/desktop_folder.h"
#include "support/qt/qt_text.h"
#include "support/qt/skin.h"
#include "window/procedure_steps.h"
#include "window/screen_fit.h"
#include "window/stored_values.h"

namespace brevant {

namespace {

constexpr char16_t kNumericEntry[] = u"Must be a numeric entry.";
constexpr char16_t kBrowsePrompt[] = u"Please select folder:";
constexpr int kListColumnWidth = 7200;  // twips

// Statement numbers of the start-up, as its error boxes quote them.
enum LoadStatement : int {
  kApplySkin = 100,
  kSetCaption = 102,
  kSetIcon = 104,
  kSetTitle = 106,
  kLoadHand = 108,
  kRestoreBorderWidth = 110,
  kRestoreOption1 = 112,
  kRestoreOption2 = 114,
  kRestoreTextColour = 116,
  kRestoreBackgroundColour = 118,
  kAddColumn = 120,
  kSetColumnWidth = 122,
  kRestoreText1 = 124,
  kRestoreOption3 = 126,
  kRestoreOption4 = 128,
  kRestoreOneRowPerContact = 130,
  kEnableFrame6 = 132,
};

// Statement numbers of the colour buttons and of the folder browse.
enum ColourStatement : int {
  kGiveColour = 100,
  kShowColourDialog = 102,
  kShowColour = 104,
  kStoreColour = 106
};
enum BrowseStatement : int { kReadLastFolder = 100, kBrowse = 102, kRememberFolder = 108, kPutFolder = 110 };

// A checked option button of a group cannot be unchecked while the group keeps
// one checked; a stored False unchecks it all the same.
void SetChecked(QAbstractButton* button, bool checked) {
  if (checked || !button->isChecked() || !button->autoExclusive()) {
    button->setChecked(checked);
    return;
  }
  button->setAutoExclusive(false);
  button->setChecked(false);
  button->setAutoExclusive(true);
}

}  // namespace

Form1::Form1(const WindowSetup& setup)
    : QWidget(nullptr),
      settings_(setup.settings),
      dialogs_(setup.dialogs),
      programFolder_(setup.programFolder) {
  // Centred on its screen, drawn smaller where the screen is too small for it.
  QRect area = setup.screenArea;
  if (area.isEmpty() && screen() != nullptr) area = screen()->availableGeometry();
  const WindowFit fit = FitWindow(layoutPixels(8040), layoutPixels(8640),
                                  ScreenRect{area.x(), area.y(), area.width(), area.height()});
  zoom_ = fit.zoom;
  BuildControls();
  focusFrame = new FocusFrame(this);
  ConnectHandlers();
  Form_Load();
  const Text dragPointer = programFolder_ + u"/drag.ico";
  if (FileExists(dragPointer)) {
    const QPixmap picture(ToQString(dragPointer));
    if (!picture.isNull()) ListView1->setDragCursor(QCursor(picture));
  }
  move(fit.x, fit.y);
}

void Form1::ConnectHandlers() {
  connect(Option1, &QRadioButton::toggled, this, [this](bool on) {
    if (on) Option1_Click();
  });
  connect(Option2, &QRadioButton::toggled, this, [this](bool on) {
    if (on) Option1_Click();
  });
  connect(Option3, &QRadioButton::toggled, this, [this](bool on) {
    if (on) Option3_Click();
  });
  connect(Option4, &QRadioButton::toggled, this, [this](bool on) {
    if (on) Option3_Click();
  });
  connect(Check1, &QCheckBox::clicked, this, &Form1::Check1_Click);
  connect(Text1, &QLineEdit::textChanged, this, &Form1::Text1_Change);
  connect(Text2, &QLineEdit::textChanged, this, &Form1::Text2_Change);
  connect(PushButton4, &QPushButton::clicked, this, &Form1::PushButton4_Click);
  connect(PushButton6, &QPushButton::clicked, this, &Form1::PushButton6_Click);
  connect(PushButton9, &QPushButton::clicked, this, &Form1::PushButton9_Click);
  connect(PushButton1, &QPushButton::clicked, this, &Form1::PushButton1_Click);
  connect(PushButton5, &QPushButton::clicked, this, &Form1::PushButton5_Click);
  connect(PushButton7, &QPushButton::clicked, this, &Form1::PushButton7_Click);
  connect(PushButton2, &QPushButton::clicked, this, &Form1::PushButton2_Click);
  connect(PushButton3, &QPushButton::clicked, this, &Form1::PushButton3_Click);
  connect(ListView1, &InputListView::pathsDropped, this, &Form1::ListView1_OLEDragDrop);
  connect(ListView1, &InputListView::deletePressed, this, &Form1::ListView1_RemoveSelected);
  connect(ListView1, &InputListView::doubleClickedAnywhere, this, &Form1::ListView1_RemoveSelected);
  connect(ListView1, &InputListView::pointerMoved, this, [this] { pointerOver(Pointer::Arrow); });

  Text2->installEventFilter(this);
  installEventFilter(this);
  for (HoverButton* button : {PushButton1, PushButton2, PushButton3, PushButton4, PushButton5, PushButton6,
                              PushButton7, PushButton9}) {
    connect(button, &HoverButton::pointerMoved, this, [this] { pointerOver(Pointer::Hand); });
  }
  for (QGroupBox* frame : {Frame1, Frame2, Frame5, Frame6}) frame->installEventFilter(this);
}

void Form1::Form_Load() {
  ProcedureSteps steps(dialogs_, u"Form_Load", false);
  steps.step(kApplySkin, [&] { ApplySkin(*this, ToQString(programFolder_)); });
  steps.step(kSetCaption, [&] { setWindowTitle(ToQString(kProductName)); });
  steps.step(kSetIcon, [&] { setWindowIcon(QApplication::windowIcon()); });
  steps.step(kSetTitle, [&] { SetApplicationTitle(); });
  steps.step(kLoadHand, [&] {
    const Text hand = programFolder_ + u"/HAND-M.CUR";
    if (!FileExists(hand)) return;
    const QPixmap picture(ToQString(hand));
    if (!picture.isNull()) handCursor_ = QCursor(picture);
  });
  // A text restored is shown, not stored again: the store keeps it as it was.
  restoringTexts_ = true;
  steps.step(kRestoreBorderWidth,
             [&] { Text2->setText(ToQString(settings_.read(QStringLiteral("Border Width"), u"1"))); });
  steps.step(kRestoreOption1, [&] { restoreFlag(QStringLiteral("Option1"), true, Option1); });
  steps.step(kRestoreOption2, [&] { restoreFlag(QStringLiteral("Option2"), false, Option2); });
  steps.step(kRestoreTextColour,
             [&] { restoreColour(QStringLiteral("Text Color"), 0x000000, Picture1, textColour_); });
  steps.step(kRestoreBackgroundColour, [&] {
    restoreColour(QStringLiteral("Background Color"), 0xFFFFFF, Picture2, backgroundColour_);
  });
  steps.step(kAddColumn, [&] { rows_.setHeader(QStringLiteral(" VCF File(s)")); });
  steps.step(kSetColumnWidth, [&] { ListView1->header()->resizeSection(0, layoutPixels(kListColumnWidth)); });
  steps.step(kRestoreText1, [&] {
    // The default folder is looked up only when the key was never written, and then stored.
    const QString key = QStringLiteral("Text1");
    if (settings_.contains(key)) {
      Text1->setText(ToQString(settings_.read(key, u"")));
    } else {
      Text1->setText(ToQString(DefaultOutputFolder()));
      store(key, ToText(Text1->text()));
    }
  });
  restoringTexts_ = false;
  steps.step(kRestoreOption3, [&] { restoreFlag(QStringLiteral("Option3"), true, Option3); });
  steps.step(kRestoreOption4, [&] { restoreFlag(QStringLiteral("Option4"), false, Option4); });
  steps.step(kRestoreOneRowPerContact,
             [&] { restoreFlag(QStringLiteral("OneRowPerContact"), false, Check1); });
  steps.step(kEnableFrame6, [&] { Frame6->setEnabled(Option3->isChecked()); });
}

void Form1::restoreFlag(const QString& key, bool defaultValue, QAbstractButton* button) {
  const std::optional<bool> flag = FlagFromText(settings_.read(key, FlagText(defaultValue)));
  if (!flag) throw std::invalid_argument(kTypeMismatch);
  SetChecked(button, *flag);
}

void Form1::restoreColour(const QString& key, Colour defaultValue, QLabel* swatch, Colour& colour) {
  const std::optional<Colour> stored = ColourFromText(settings_.read(key, ColourText(defaultValue)));
  if (!stored) throw std::invalid_argument(kTypeMismatch);
  colour = *stored;
  showColour(swatch, colour);
}

void Form1::Option1_Click() {
  store(QStringLiteral("Option1"), FlagText(Option1->isChecked()));
  store(QStringLiteral("Option2"), FlagText(Option2->isChecked()));
}

void Form1::Option3_Click() {
  store(QStringLiteral("Option3"), FlagText(Option3->isChecked()));
  store(QStringLiteral("Option4"), FlagText(Option4->isChecked()));
  Frame6->setEnabled(Option3->isChecked());
}

void Form1::Check1_Click() { store(QStringLiteral("OneRowPerContact"), FlagText(Check1->isChecked())); }

void Form1::Text1_Change() {
  if (!restoringTexts_) store(QStringLiteral("Text1"), ToText(Text1->text()));
}

void Form1::Text2_Change() {
  if (!restoringTexts_) store(QStringLiteral("Border Width"), ToText(Text2->text()));
}

void Form1::Text2_LostFocus() {
  if (checkingBorderWidth_ || IsNumericEntry(ToText(Text2->text()))) return;
  // The box takes the focus from the field while it shows; that is no new leaving.
  checkingBorderWidth_ = true;
  dialogs_.message(kNumericEntry);
  Text2->setFocus(Qt::OtherFocusReason);
  checkingBorderWidth_ = false;
}

void Form1::PushButton4_Click() {
  chooseColour(PushButton4, Picture1, textColour_, QStringLiteral("Text Color"), u"PushButton4_Click");
}

void Form1::PushButton6_Click() {
  chooseColour(PushButton6, Picture2, backgroundColour_, QStringLiteral("Background Color"),
               u"PushButton6_Click");
}

void Form1::chooseColour(const QWidget* button, QLabel* swatch, Colour& colour, const QString& key,
                         TextView procedure) {
  // The dialog says which colour it chooses, in the words of the button's accessible name.
  const Text title = ToText(button->accessibleName());
  ProcedureSteps steps(dialogs_, procedure, true);
  Colour chosen = colour;
  steps.step(kGiveColour, [&] { chosen = colour; });
  steps.step(kShowColourDialog, [&] { chosen = dialogs_.chooseColour(title, chosen); });
  steps.step(kShowColour, [&] {
    colour = chosen;
    showColour(swatch, colour);
  });
  steps.step(kStoreColour, [&] { store(key, ColourText(chosen)); });
}

void Form1::PushButton9_Click() {
  ProcedureSteps steps(dialogs_, u"PushButton9_Click", false);
  steps.step(kReadLastFolder,
             [&] { lastBrowseFolder_ = settings_.read(QStringLiteral("LastFolderDot"), u""); });
  Text chosen;
  steps.step(kBrowse, [&] { chosen = dialogs_.chooseFolder(kBrowsePrompt, lastBrowseFolder_); });
  if (chosen.empty()) return;
  steps.step(kRememberFolder, [&] {
    lastBrowseFolder_ = chosen;
    store(QStringLiteral("LastFolderDot"), chosen);
  });
  steps.step(kPutFolder, [&] {
    const char16_t separator = u'/';
    Text1->setText(ToQString(chosen.back() == separator ? chosen : chosen + separator));
  });
}

Text Form1::borderWidth() { return ToText(Text2->text()); }

Text Form1::chosenFolder() { return ToText(Text1->text()); }

void Form1::setProgressCaption(const Text& caption) { ProgressBar1->setCaption(ToQString(caption)); }

void Form1::yield() {
  turns_.yield();
  if (closing_) throw WindowClosed{};
}

void Form1::setBusy(bool busy) {
  runBusy_ = busy;
  showBusyState();
}

void Form1::setScanBusy(bool busy) {
  scanBusy_ = busy;
  showBusyState();
}

// The busy pointer shows while a run or a scan lasts; after both the arrow.
void Form1::showBusyState() {
  const bool busyNow = runBusy_ || scanBusy_;
  if (busyNow != busy()) setPointer(busyNow ? Pointer::Busy : Pointer::Arrow);
}

void Form1::setPointer(Pointer pointer) {
  pointer_ = pointer;
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

void Form1::pointerOver(Pointer pointer) {
  if (pointer_ != Pointer::Busy) setPointer(pointer);
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Text2 && event->type() == QEvent::FocusOut) {
    // Leaving for another window (a box, a menu) is no leaving of the field.
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) Text2_LostFocus();
  } else if (event->type() == QEvent::MouseMove) {
    pointerOver(Pointer::Arrow);  // the window's background or a frame
  }
  return QWidget::eventFilter(watched, event);
}

void Form1::windowGone() {
  // A run or scan in progress stops at its next yield; every event loop ends.
  closing_ = true;
  QCoreApplication::exit(0);
}

void Form1::closeEvent(QCloseEvent* event) {
  // A run or scan in progress stops at its next yield; the program then ends.
  if (running_ || scanning_) closing_ = true;
  event->accept();
}

}  // namespace brevant
