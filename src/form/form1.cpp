#include "form/form1.h"

#include <stdexcept>

#include "engine/convert/conversion_run.h"
#include "form/procedure_steps.h"
#include "form/stored_values.h"
#include "support/application_title.h"
#include "support/file_helpers.h"
#include "support/path_helpers.h"

namespace brevant {

namespace {

constexpr char16_t kNumericEntry[] = u"Must be a numeric entry.";
constexpr char16_t kBrowsePrompt[] = u"Please select folder:";

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
  kRestoreSaveCsv = 134,
};

// Statement numbers of the colour buttons and of the folder browse.
enum ColourStatement : int {
  kGiveColour = 100,
  kShowColourDialog = 102,
  kShowColour = 104,
  kStoreColour = 106
};
enum BrowseStatement : int { kReadLastFolder = 100, kBrowse = 102, kRememberFolder = 108, kPutFolder = 110 };

// The option of the same group: choosing one unchooses the other.
Control Partner(Control option) {
  switch (option) {
    case Control::Option1:
      return Control::Option2;
    case Control::Option2:
      return Control::Option1;
    case Control::Option3:
      return Control::Option4;
    case Control::Option4:
      return Control::Option3;
    default:
      return option;
  }
}

}  // namespace

Form1::Form1(FormView& view, const FormSetup& setup)
    : view_(view),
      settings_(setup.settings),
      dialogs_(setup.dialogs),
      programFolder_(setup.programFolder),
      defaultOutputFolder_(setup.defaultOutputFolder),
      progressCaption_(kIdleProgressCaption) {}

void Form1::showAll() {
  for (const Control option : {Control::Option1, Control::Option2, Control::Check1, Control::Check2,
                               Control::Option3, Control::Option4})
    view_.showChecked(option, flag(option));
  view_.showText(Control::Text1, text1_);
  view_.showText(Control::Text2, text2_);
  view_.showColour(Control::Picture1, textColour_);
  view_.showColour(Control::Picture2, backgroundColour_);
  view_.enable(Control::Frame6, frame6Enabled_);
  view_.setProgressPosition(progressPosition_);
  view_.setProgressCaption(progressCaption_);
}

void Form1::Form_Load() {
  showAll();
  ProcedureSteps steps(dialogs_, u"Form_Load", false);
  steps.step(kApplySkin, [&] { view_.applySkin(programFolder_); });
  steps.step(kSetCaption, [&] { view_.setCaption(Text(LayoutOf(Control::Form1).caption)); });
  steps.step(kSetIcon, [&] { view_.setIcon(); });
  steps.step(kSetTitle, [&] { view_.setApplicationTitle(ApplicationTitle(kProductName)); });
  steps.step(kLoadHand, [&] {
    const Text hand = programFolder_ + Separator() + u"HAND-M.CUR";
    if (FileExists(hand)) view_.loadHandPointer(hand);
  });
  // A text restored is shown, not stored again: the store keeps it as it was.
  steps.step(kRestoreBorderWidth, [&] {
    text2_ = settings_.read(u"Border Width", u"1");
    view_.showText(Control::Text2, text2_);
  });
  steps.step(kRestoreOption1, [&] { restoreFlag(u"Option1", true, Control::Option1); });
  steps.step(kRestoreOption2, [&] { restoreFlag(u"Option2", false, Control::Option2); });
  steps.step(kRestoreTextColour,
             [&] { restoreColour(u"Text Color", 0x000000, Control::Picture1, textColour_); });
  steps.step(kRestoreBackgroundColour,
             [&] { restoreColour(u"Background Color", 0xFFFFFF, Control::Picture2, backgroundColour_); });
  steps.step(kAddColumn, [&] { view_.addListColumn(Text(LayoutOf(Control::ListView1).caption)); });
  steps.step(kSetColumnWidth, [&] { view_.setListColumnWidth(kListColumnWidthTwips); });
  steps.step(kRestoreText1, [&] {
    // The default folder is looked up only when the key was never written, and then stored.
    if (settings_.contains(u"Text1")) {
      text1_ = settings_.read(u"Text1", u"");
    } else {
      text1_ = defaultOutputFolder_ ? defaultOutputFolder_() : Text();
      store(u"Text1", text1_);
    }
    view_.showText(Control::Text1, text1_);
  });
  steps.step(kRestoreOption3, [&] { restoreFlag(u"Option3", true, Control::Option3); });
  steps.step(kRestoreOption4, [&] { restoreFlag(u"Option4", false, Control::Option4); });
  steps.step(kRestoreOneRowPerContact, [&] { restoreFlag(u"OneRowPerContact", false, Control::Check1); });
  steps.step(kEnableFrame6, [&] {
    frame6Enabled_ = option3_;
    view_.enable(Control::Frame6, frame6Enabled_);
  });
  steps.step(kRestoreSaveCsv, [&] { restoreFlag(u"SaveCsv", false, Control::Check2); });
  const Text dragPointer = programFolder_ + Separator() + u"drag.ico";
  if (FileExists(dragPointer)) view_.loadDragPointer(dragPointer);
}

void Form1::Form_Unload() {
  if (running_ || scanning_) closing_ = true;
}

bool& Form1::flag(Control control) {
  switch (control) {
    case Control::Option1:
      return option1_;
    case Control::Option2:
      return option2_;
    case Control::Option3:
      return option3_;
    case Control::Option4:
      return option4_;
    case Control::Check1:
      return check1_;
    case Control::Check2:
      return check2_;
    default:
      throw std::invalid_argument("not an option");
  }
}

bool Form1::checked(Control control) const { return const_cast<Form1*>(this)->flag(control); }

const Text& Form1::text(Control control) const {
  if (control == Control::Text1) return text1_;
  if (control == Control::Text2) return text2_;
  if (control == Control::ProgressBar1) return progressCaption_;
  throw std::invalid_argument("not a text");
}

bool Form1::enabled(Control control) const {
  // Only the output folder's frame is ever disabled, with everything it holds.
  if (control == Control::Frame6 || control == Control::Text1 || control == Control::PushButton9)
    return frame6Enabled_;
  return true;
}

// A stored True chooses the option as a click would (its group is stored
// again); a stored False unchooses it, which no click can do.
void Form1::restoreFlag(TextView key, bool defaultValue, Control control) {
  const std::optional<bool> stored = FlagFromText(settings_.read(key, FlagText(defaultValue)));
  if (!stored) throw std::invalid_argument(kTypeMismatch);
  if (LayoutOf(control).kind == ControlKind::CheckBox || !*stored) {
    flag(control) = *stored;
    view_.showChecked(control, *stored);
  } else if (!flag(control)) {
    chooseOption(control);
  }
}

void Form1::restoreColour(TextView key, Colour defaultValue, Control swatch, Colour& colour) {
  const std::optional<Colour> stored = ColourFromText(settings_.read(key, ColourText(defaultValue)));
  if (!stored) throw std::invalid_argument(kTypeMismatch);
  colour = *stored;
  view_.showColour(swatch, colour);
}

void Form1::chooseOption(Control chosen) {
  const Control other = Partner(chosen);
  flag(chosen) = true;
  flag(other) = false;
  view_.showChecked(chosen, true);
  view_.showChecked(other, false);
  const bool conversion = chosen == Control::Option1 || chosen == Control::Option2;
  if (conversion) {
    store(u"Option1", FlagText(option1_));
    store(u"Option2", FlagText(option2_));
  } else {
    store(u"Option3", FlagText(option3_));
    store(u"Option4", FlagText(option4_));
    frame6Enabled_ = option3_;
    view_.enable(Control::Frame6, frame6Enabled_);
  }
}

void Form1::Option1_Click() { chooseOption(Control::Option1); }
void Form1::Option2_Click() { chooseOption(Control::Option2); }
void Form1::Option3_Click() { chooseOption(Control::Option3); }
void Form1::Option4_Click() { chooseOption(Control::Option4); }

void Form1::Check1_Click(bool checked) {
  check1_ = checked;
  store(u"OneRowPerContact", FlagText(check1_));
}

void Form1::Check2_Click(bool checked) {
  check2_ = checked;
  store(u"SaveCsv", FlagText(check2_));
}

void Form1::Text1_Change(const Text& text) {
  text1_ = text;
  store(u"Text1", text1_);
}

void Form1::Text2_Change(const Text& text) {
  text2_ = text;
  store(u"Border Width", text2_);
}

void Form1::Text2_LostFocus() {
  if (checkingBorderWidth_ || IsNumericEntry(text2_)) return;
  // The box takes the focus from the field while it shows; that is no new leaving.
  checkingBorderWidth_ = true;
  dialogs_.message(kNumericEntry);
  view_.focus(Control::Text2);
  checkingBorderWidth_ = false;
}

void Form1::PushButton4_Click() {
  chooseColour(Control::PushButton4, Control::Picture1, textColour_, u"Text Color", u"PushButton4_Click");
}

void Form1::PushButton6_Click() {
  chooseColour(Control::PushButton6, Control::Picture2, backgroundColour_, u"Background Color",
               u"PushButton6_Click");
}

void Form1::chooseColour(Control button, Control swatch, Colour& colour, TextView key, TextView procedure) {
  // The dialog says which colour it chooses, in the words of the button's accessible name.
  const Text title(LayoutOf(button).accessibleName);
  ProcedureSteps steps(dialogs_, procedure, true);
  Colour chosen = colour;
  steps.step(kGiveColour, [&] { chosen = colour; });
  steps.step(kShowColourDialog, [&] { chosen = dialogs_.chooseColour(title, chosen); });
  steps.step(kShowColour, [&] {
    colour = chosen;
    view_.showColour(swatch, colour);
  });
  steps.step(kStoreColour, [&] { store(key, ColourText(chosen)); });
}

void Form1::PushButton9_Click() {
  ProcedureSteps steps(dialogs_, u"PushButton9_Click", false);
  steps.step(kReadLastFolder, [&] { lastBrowseFolder_ = settings_.read(u"LastFolderDot", u""); });
  Text chosen;
  steps.step(kBrowse, [&] { chosen = dialogs_.chooseFolder(kBrowsePrompt, lastBrowseFolder_); });
  if (chosen.empty()) return;
  steps.step(kRememberFolder, [&] {
    lastBrowseFolder_ = chosen;
    store(u"LastFolderDot", chosen);
  });
  steps.step(kPutFolder, [&] { setText1(chosen.back() == Separator() ? chosen : chosen + Separator()); });
}

// Put there by the program: shown, and stored as typing it would store it.
void Form1::setText1(Text text) {
  text1_ = std::move(text);
  view_.showText(Control::Text1, text1_);
  store(u"Text1", text1_);
}

void Form1::setProgressPosition(double position) {
  progressPosition_ = position;
  view_.setProgressPosition(position);
}

void Form1::setProgressCaption(const Text& caption) {
  // The run's first caption shows at once, even right after the turns given
  // while the run looked at its inputs.
  if (running_ && progressCaption_ == kIdleProgressCaption) turns_.turnSoon();
  progressCaption_ = caption;
  view_.setProgressCaption(caption);
}

void Form1::yield() {
  turns_.yield([this] { view_.processEvents(); });
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
  view_.setPointer(pointer);
}

void Form1::pointerOver(Pointer pointer) {
  if (pointer_ != Pointer::Busy && pointer_ != pointer) setPointer(pointer);
}

void Form1::PushButton_MouseMove() { pointerOver(Pointer::Hand); }

void Form1::Form_MouseMove() { pointerOver(Pointer::Arrow); }

}  // namespace brevant
