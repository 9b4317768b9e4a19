#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

#include "engine/convert/several_contacts.h"
#include "engine/host.h"
#include "form/dialogs.h"
#include "form/event_turns.h"
#include "form/form_layout.h"
#include "form/form_view.h"
#include "form/option_groups.h"
#include "form/stored_options.h"
#include "support/messages/error_tags.h"
#include "support/settings/settings_store.h"

namespace brevant {

// What the window is given: where its options live, how it talks to the user,
// the folder of the program (hand pointer, drag pointer, skin, samples) and
// where documents go by default.
struct FormSetup {
  SettingsStore& settings;
  Dialogs& dialogs;
  Text programFolder;
  // The default output folder, with a trailing separator; asked only on a first start.
  std::function<Text()> defaultOutputFolder;
};

// The program's one window, free of any window system: every handler, the
// option and list rules, the run and the engine's host. It holds the options
// and the rows, and a FormView shows them: the engine reads them through the
// Host interface at the moment it needs them, so a change made while a run
// yields applies from the engine's next read. Every option is stored the
// moment it changes and restored when the window loads.
//
// The view passes each gesture with the control it concerns, one entry point
// per kind of gesture; the layout table (form_layout.h) and the table of
// stored options (stored_options.h) say what each control is and keeps.
class MainForm : public Host {
 public:
  MainForm(FormView& view, const FormSetup& setup);

  // Restores the options and shows them; the view's controls exist by then.
  void load();
  // The window closes: a run or folder scan in progress ends at its next yield,
  // leaving no partial document, and shows nothing more.
  void close();

  // The user's gestures on the controls.
  void clicked(Control button);
  // An option button the user chose, or a check box the user checked or
  // unchecked. An option button that lost its check to another of its group
  // is no gesture of its own: the form ignores it.
  void toggled(Control control, bool checked);
  // Every change of a text box's text, as it is typed.
  void edited(Control textBox, const Text& text);
  // The keyboard focus left a text box for another control of the window.
  void focusLeft(Control textBox);
  // The pointer moved over a control, or over the window's background
  // (Control::Window): the hand over buttons, the arrow elsewhere.
  void pointerMoved(Control over);

  // The input list's gestures.
  // Files and folders dropped onto the list, in order; also those given at start-up.
  void filesDropped(const std::vector<Text>& paths);
  // keyCode: the window system's virtual key code; Delete removes the selected row.
  static constexpr int kDeleteKey = 46;
  void listKeyPressed(int keyCode, std::optional<std::size_t> selectedRow);
  void listDoubleClicked(std::optional<std::size_t> selectedRow);
  // Row dragging: a button pressed over a row picks it up; while the button is
  // held, the dragged path travels one row at a time towards the row under the
  // pointer (that at the nearest edge when the pointer is above or below the
  // rows), each row it passes moving one step the other way, and the list
  // scrolls while the pointer is in the top or bottom fifth of the rows area.
  void listButtonPressed(std::optional<std::size_t> rowUnderPointer);
  // y: the pointer's height in the rows area, whose height is areaHeight.
  // Gives whether the move belongs to a row drag.
  bool listPointerMoved(std::optional<std::size_t> rowUnderPointer, int y, int areaHeight);
  void listButtonReleased();

  // What the window holds now.
  Pointer pointer() const { return pointer_; }
  bool busy() const { return pointer_ == Pointer::Busy; }
  bool checked(Control optionOrCheckBox) const;
  // A text box's text, or the progress bar's caption.
  const Text& text(Control control) const;
  Colour colour(Control swatch) const;
  const std::vector<Text>& rows() const { return rows_; }
  double progressPosition() const { return progressPosition_; }
  const Text& progressCaption() const { return progressCaption_; }
  bool enabled(Control control) const;
  bool running() const { return running_; }

  // Host: the engine's view of the window.
  Colour tableTextColour() override { return colour(Control::TextColourSwatch); }
  Text borderWidth() override { return text(Control::BorderWidth); }
  Colour tableBackgroundColour() override { return colour(Control::BackgroundColourSwatch); }
  DocumentMode documentMode() override {
    return DocumentModeOf(checked(Control::AllInOneDocument), checked(Control::DocumentPerInput));
  }
  bool oneRowPerContact() override { return checked(Control::RowPerContact); }
  bool savesBeside(OutputFormat format) override { return checked(CheckBoxOf(format)); }
  Destination destination() override {
    return DestinationOf(checked(Control::SaveToChosenFolder), checked(Control::SaveBesideInput));
  }
  Text chosenFolder() override { return text(Control::OutputFolder); }
  std::vector<Text> inputPaths() override { return rows_; }
  void setProgressPosition(double position) override;
  void setProgressCaption(const Text& caption) override;
  void yield() override;
  void setBusy(bool busy) override;
  void reportError(const ErrorReport& report) override { dialogs_.errorBox(report); }
  void noteVcardBlocks(const Text&, std::uint64_t blocks) override {
    if (!oneRowPerContact()) severalContacts_.note(blocks);  // each contact has its row otherwise
  }

 private:
  class Scan;

  // The buttons.
  void addFiles();
  void addAllFilesInFolder();
  void clearList();
  void loadSamples();
  void startConverting();
  void chooseColour(Control button, Control swatch, Procedure procedure);
  void chooseOutputFolder();
  void checkBorderWidth();

  void showAll();
  void restore(const StoredOption& option);
  void restoreFlag(const StoredOption& option);
  void restoreColour(const StoredOption& option);
  void restoreText(const StoredOption& option);
  void chooseOption(Control chosen);
  void enableOutputFolder();
  void setOutputFolder(Text text);
  void setPointer(Pointer pointer);
  void setScanBusy(bool busy);
  void showBusyState();
  void pointerOver(Pointer pointer);
  void removeSelected(std::optional<std::size_t> selectedRow);
  void appendRow(Text path);
  void appendRows(std::vector<Text> paths);
  void dragRowTo(std::optional<std::size_t> rowUnderPointer, int y, int areaHeight);
  // The files of a folder tree whose extension matches, through the shared scan.
  void addFolderTree(const Text& folder, TextView extension);
  void store(TextView key, TextView value) { settings_.write(key, value); }
  void store(Control control, TextView value) { store(StoredOptionOf(control).value.key, value); }

  FormView& view_;
  SettingsStore& settings_;
  Dialogs& dialogs_;
  const Text programFolder_;
  std::function<Text()> defaultOutputFolder_;

  // The options, by control: the check of option buttons and check boxes, the
  // text of text boxes, the colour of swatches. They start as the defaults of
  // the stored options.
  std::array<bool, kControlCount> checked_{};
  std::array<Text, kControlCount> texts_{};
  std::array<Colour, kControlCount> colours_{};
  bool outputFolderEnabled_ = true;

  std::vector<Text> rows_;
  bool buttonHeld_ = false;
  std::optional<std::size_t> dragged_;
  double progressPosition_ = 0;
  Text progressCaption_;
  Text lastBrowseFolder_;
  Pointer pointer_ = Pointer::Arrow;
  EventTurns turns_;
  bool checkingBorderWidth_ = false;
  // A run or a folder scan in progress, each with its busy pointer, and a
  // close asked for while one of them yields.
  bool running_ = false;
  bool scanning_ = false;
  bool runBusy_ = false;
  bool scanBusy_ = false;
  bool closing_ = false;
  // Inputs of the current run whose several contacts share one row.
  SeveralContactsTally severalContacts_;
};

}  // namespace brevant
