#include "form/main_form.h"

#include <algorithm>
#include <stdexcept>

#include "engine/convert/conversion_run.h"
#include "form/procedure_steps.h"
#include "form/stored_values.h"
#include "support/messages/application_title.h"
#include "support/files/file_helpers.h"
#include "support/files/path_helpers.h"

namespace brevant {

namespace {

constexpr char16_t kNumericEntry[] = u"Must be a numeric entry.";
constexpr char16_t kBrowsePrompt[] = u"Please select folder:";

// Statement numbers of the start-up, as its error boxes quote them; each
// stored option is restored at the number of its row in the stored options.
enum LoadStatement : int {
  kApplySkin = 100,
  kSetCaption = 102,
  kSetIcon = 104,
  kSetTitle = 106,
  kLoadHand = 108,
  kAddColumn = 120,
  kSetColumnWidth = 122,
  kEnableOutputFolder = 132,
};

// Statement numbers of the colour buttons and of the folder browse.
enum ColourStatement : int {
  kGiveColour = 100,
  kShowColourDialog = 102,
  kShowColour = 104,
  kStoreColour = 106
};
enum BrowseStatement : int { kReadLastFolder = 100, kBrowse = 102, kRememberFolder = 108, kPutFolder = 110 };

ControlKind KindOf(Control control) { return LayoutOf(control).kind; }

bool IsFlag(Control control) {
  return KindOf(control) == ControlKind::Option || KindOf(control) == ControlKind::CheckBox;
}

// The option buttons of the same group (the same frame), in the layout's order.
std::vector<Control> GroupOf(Control option) {
  std::vector<Control> group;
  for (const ControlLayout& layout : FormLayout())
    if (layout.kind == ControlKind::Option && layout.container == LayoutOf(option).container)
      group.push_back(layout.control);
  return group;
}

}  // namespace

MainForm::MainForm(FormView& view, const FormSetup& setup)
    : view_(view),
      settings_(setup.settings),
      dialogs_(setup.dialogs),
      programFolder_(setup.programFolder),
      defaultOutputFolder_(setup.defaultOutputFolder),
      progressCaption_(kIdleProgressCaption) {
  // The options as the layout starts them: the defaults of the stored options.
  for (const StoredOption& option : StoredOptions()) {
    const std::size_t at = IndexOf(option.control);
    if (IsFlag(option.control)) {
      checked_[at] = FlagFromText(option.value.defaultText).value();
    } else if (KindOf(option.control) == ControlKind::Swatch) {
      colours_[at] = ColourFromText(option.value.defaultText).value();
    } else if (!option.defaultIsOutputFolder) {
      texts_[at] = Text(option.value.defaultText);
    }
  }
}

void MainForm::showAll() {
  for (const ControlLayout& layout : FormLayout()) {
    if (IsFlag(layout.control)) view_.showChecked(layout.control, checked(layout.control));
    if (layout.kind == ControlKind::TextBox) view_.showText(layout.control, text(layout.control));
    if (layout.kind == ControlKind::Swatch) view_.showColour(layout.control, colour(layout.control));
  }
  view_.enable(Control::OutputFolderFrame, outputFolderEnabled_);
  view_.setProgressPosition(progressPosition_);
  view_.setProgressCaption(progressCaption_);
}

void MainForm::load() {
  showAll();
  ProcedureSteps steps(dialogs_, Procedure::WindowStartUp);
  struct Step {
    int number;
    std::function<void()> run;
  };
  std::vector<Step> startUp = {
      {kApplySkin, [&] { view_.applySkin(programFolder_); }},
      {kSetCaption, [&] { view_.setCaption(Text(LayoutOf(Control::Window).caption)); }},
      {kSetIcon, [&] { view_.setIcon(); }},
      {kSetTitle, [&] { view_.setApplicationTitle(ApplicationTitle(kProductName)); }},
      {kLoadHand,
       [&] {
         const Text hand = programFolder_ + Separator() + u"HAND-M.CUR";
         if (FileExists(hand)) view_.loadHandPointer(hand);
       }},
      {kAddColumn, [&] { view_.addListColumn(Text(LayoutOf(Control::InputList).caption)); }},
      {kSetColumnWidth, [&] { view_.setListColumnWidth(kListColumnWidthTwips); }},
      {kEnableOutputFolder, [&] { enableOutputFolder(); }},
  };
  for (const StoredOption& option : StoredOptions())
    startUp.push_back({option.restoreStatement, [this, &option] { restore(option); }});
  std::stable_sort(startUp.begin(), startUp.end(),
                   [](const Step& a, const Step& b) { return a.number < b.number; });
  for (const Step& step : startUp) steps.step(step.number, step.run);
  const Text dragPointer = programFolder_ + Separator() + u"drag.ico";
  if (FileExists(dragPointer)) view_.loadDragPointer(dragPointer);
}

void MainForm::close() {
  if (running_ || scanning_) closing_ = true;
}

bool MainForm::checked(Control optionOrCheckBox) const {
  if (!IsFlag(optionOrCheckBox)) throw std::invalid_argument("not an option");
  return checked_[IndexOf(optionOrCheckBox)];
}

const Text& MainForm::text(Control control) const {
  if (KindOf(control) == ControlKind::TextBox) return texts_[IndexOf(control)];
  if (control == Control::Progress) return progressCaption_;
  throw std::invalid_argument("not a text");
}

Colour MainForm::colour(Control swatch) const {
  if (KindOf(swatch) != ControlKind::Swatch) throw std::invalid_argument("not a colour");
  return colours_[IndexOf(swatch)];
}

bool MainForm::enabled(Control control) const {
  // Only the output folder's frame is ever disabled, with everything it holds.
  return Contains(Control::OutputFolderFrame, control) ? outputFolderEnabled_ : true;
}

void MainForm::restore(const StoredOption& option) {
  if (IsFlag(option.control)) {
    restoreFlag(option);
  } else if (KindOf(option.control) == ControlKind::Swatch) {
    restoreColour(option);
  } else {
    restoreText(option);
  }
}

// A stored True chooses the option as a click would (its group is stored
// again); a stored False unchooses it, which no click can do.
void MainForm::restoreFlag(const StoredOption& option) {
  const std::optional<bool> stored = FlagFromText(settings_.read(option.value.key, option.value.defaultText));
  if (!stored) throw std::invalid_argument(kTypeMismatch);
  const Control control = option.control;
  if (KindOf(control) == ControlKind::CheckBox || !*stored) {
    checked_[IndexOf(control)] = *stored;
    view_.showChecked(control, *stored);
  } else if (!checked(control)) {
    chooseOption(control);
  }
}

void MainForm::restoreColour(const StoredOption& option) {
  const std::optional<Colour> stored =
      ColourFromText(settings_.read(option.value.key, option.value.defaultText));
  if (!stored) throw std::invalid_argument(kTypeMismatch);
  colours_[IndexOf(option.control)] = *stored;
  view_.showColour(option.control, *stored);
}

// A text restored is shown, not stored again: the store keeps it as it was. A
// border width that reads as no number (spaces left in the field when the
// window closed) is not used: the default is, so no document gets border="  ".
// The default output folder is looked up only when the key was never written,
// and then stored.
void MainForm::restoreText(const StoredOption& option) {
  Text& text = texts_[IndexOf(option.control)];
  if (!option.defaultIsOutputFolder || settings_.contains(option.value.key)) {
    text = settings_.read(option.value.key, option.value.defaultText);
    if (option.control == Control::BorderWidth && !IsNumericEntry(text)) text = Text(option.value.defaultText);
  } else {
    text = defaultOutputFolder_ ? defaultOutputFolder_() : Text();
    store(option.value.key, text);
  }
  view_.showText(option.control, text);
}

void MainForm::chooseOption(Control chosen) {
  const std::vector<Control> group = GroupOf(chosen);
  for (const Control option : group) {
    checked_[IndexOf(option)] = option == chosen;
    view_.showChecked(option, option == chosen);
  }
  for (const Control option : group) store(option, FlagText(checked(option)));
  if (std::find(group.begin(), group.end(), Control::SaveToChosenFolder) != group.end()) enableOutputFolder();
}

// The output folder's frame, with what it holds, is enabled exactly while its option is chosen.
void MainForm::enableOutputFolder() {
  outputFolderEnabled_ = checked(Control::SaveToChosenFolder);
  view_.enable(Control::OutputFolderFrame, outputFolderEnabled_);
}

void MainForm::clicked(Control button) {
  switch (button) {
    case Control::AddFiles:
      return addFiles();
    case Control::AddFolder:
      return addAllFilesInFolder();
    case Control::ClearList:
      return clearList();
    case Control::LoadSamples:
      return loadSamples();
    case Control::ChooseTextColour:
      return chooseColour(button, Control::TextColourSwatch, Procedure::ChooseTextColour);
    case Control::ChooseBackgroundColour:
      return chooseColour(button, Control::BackgroundColourSwatch, Procedure::ChooseBackgroundColour);
    case Control::ChooseOutputFolder:
      return chooseOutputFolder();
    case Control::StartConverting:
      return startConverting();
    default:
      throw std::invalid_argument("not a button");
  }
}

void MainForm::toggled(Control control, bool on) {
  if (KindOf(control) == ControlKind::Option) {
    if (on) chooseOption(control);
    return;
  }
  checked_[IndexOf(control)] = on;
  store(control, FlagText(on));
}

void MainForm::edited(Control textBox, const Text& text) {
  texts_[IndexOf(textBox)] = text;
  store(textBox, text);
}

void MainForm::focusLeft(Control textBox) {
  if (textBox == Control::BorderWidth) checkBorderWidth();
}

void MainForm::checkBorderWidth() {
  if (checkingBorderWidth_ || IsNumericEntry(text(Control::BorderWidth))) return;
  // The box takes the focus from the field while it shows; that is no new leaving.
  checkingBorderWidth_ = true;
  dialogs_.message(kNumericEntry);
  view_.focus(Control::BorderWidth);
  checkingBorderWidth_ = false;
}

void MainForm::chooseColour(Control button, Control swatch, Procedure procedure) {
  // The dialog says which colour it chooses, in the words of the button's accessible name.
  const Text title(LayoutOf(button).accessibleName);
  Colour& colour = colours_[IndexOf(swatch)];
  ProcedureSteps steps(dialogs_, procedure);
  Colour chosen = colour;
  steps.step(kGiveColour, [&] { chosen = colour; });
  steps.step(kShowColourDialog, [&] { chosen = dialogs_.chooseColour(title, chosen); });
  steps.step(kShowColour, [&] {
    colour = chosen;
    view_.showColour(swatch, colour);
  });
  steps.step(kStoreColour, [&] { store(swatch, ColourText(chosen)); });
}

void MainForm::chooseOutputFolder() {
  ProcedureSteps steps(dialogs_, Procedure::ChooseOutputFolder);
  steps.step(kReadLastFolder, [&] {
    lastBrowseFolder_ = settings_.read(kLastOutputFolder.key, kLastOutputFolder.defaultText);
  });
  Text chosen;
  steps.step(kBrowse, [&] { chosen = dialogs_.chooseFolder(kBrowsePrompt, lastBrowseFolder_); });
  if (chosen.empty()) return;
  steps.step(kRememberFolder, [&] {
    lastBrowseFolder_ = chosen;
    store(kLastOutputFolder.key, chosen);
  });
  steps.step(kPutFolder,
             [&] { setOutputFolder(chosen.back() == Separator() ? chosen : chosen + Separator()); });
}

// Put there by the program: shown, and stored as typing it would store it.
void MainForm::setOutputFolder(Text text) {
  Text& folder = texts_[IndexOf(Control::OutputFolder)];
  folder = std::move(text);
  view_.showText(Control::OutputFolder, folder);
  store(Control::OutputFolder, folder);
}

void MainForm::setProgressPosition(double position) {
  progressPosition_ = position;
  view_.setProgressPosition(position);
}

void MainForm::setProgressCaption(const Text& caption) {
  // The run's first caption shows at once, even right after the turns given
  // while the run looked at its inputs.
  if (running_ && progressCaption_ == kIdleProgressCaption) turns_.turnSoon();
  progressCaption_ = caption;
  view_.setProgressCaption(caption);
}

void MainForm::yield() {
  turns_.yield([this] { view_.processEvents(); });
  if (closing_) throw WindowClosed{};
}

void MainForm::setBusy(bool busy) {
  runBusy_ = busy;
  showBusyState();
}

void MainForm::setScanBusy(bool busy) {
  scanBusy_ = busy;
  showBusyState();
}

// The busy pointer shows while a run or a scan lasts; after both the arrow.
void MainForm::showBusyState() {
  const bool busyNow = runBusy_ || scanBusy_;
  if (busyNow != busy()) setPointer(busyNow ? Pointer::Busy : Pointer::Arrow);
}

void MainForm::setPointer(Pointer pointer) {
  pointer_ = pointer;
  view_.setPointer(pointer);
}

void MainForm::pointerOver(Pointer pointer) {
  if (pointer_ != Pointer::Busy && pointer_ != pointer) setPointer(pointer);
}

void MainForm::pointerMoved(Control over) {
  pointerOver(KindOf(over) == ControlKind::Button ? Pointer::Hand : Pointer::Arrow);
}

}  // namespace brevant
