#pragma once

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
#include "support/settings_store.h"

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
class Form1 : public Host {
 public:
  Form1(FormView& view, const FormSetup& setup);

  // Restores the options and shows them; the view's controls exist by then.
  void Form_Load();
  // The window closes: a run or folder scan in progress ends at its next yield,
  // leaving no partial document, and shows nothing more.
  void Form_Unload();

  // The options.
  void Option1_Click();
  void Option2_Click();
  void Option3_Click();
  void Option4_Click();
  void Check1_Click(bool checked);
  void Check2_Click(bool checked);  // also save as CSV
  void Text1_Change(const Text& text);
  void Text2_Change(const Text& text);
  // The border width field lost the keyboard focus to another control of the window.
  void Text2_LostFocus();
  void PushButton4_Click();  // text colour
  void PushButton6_Click();  // background colour
  void PushButton9_Click();  // output folder

  // The input list.
  void PushButton1_Click();  // files from the file dialog
  void PushButton5_Click();  // every matching file of a folder tree
  void PushButton7_Click();  // clear
  // Files and folders dropped onto the list, in order; also those given at start-up.
  void ListView1_OLEDragDrop(const std::vector<Text>& paths);
  // keyCode: the window system's virtual key code; Delete removes the selected row.
  static constexpr int kDeleteKey = 46;
  void ListView1_KeyDown(int keyCode, std::optional<std::size_t> selectedRow);
  void ListView1_DblClick(std::optional<std::size_t> selectedRow);
  // Row dragging: a button pressed over a row picks it up; while the button is
  // held, the dragged path travels one row at a time towards the row under the
  // pointer (that at the nearest edge when the pointer is above or below the
  // rows), each row it passes moving one step the other way, and the list
  // scrolls while the pointer is in the top or bottom fifth of the rows area.
  void ListView1_MouseDown(std::optional<std::size_t> rowUnderPointer);
  // y: the pointer's height in the rows area, whose height is areaHeight.
  // Gives whether the move belongs to a row drag.
  bool ListView1_MouseMove(std::optional<std::size_t> rowUnderPointer, int y, int areaHeight);
  void ListView1_MouseUp();

  // The run and the samples.
  void PushButton2_Click();
  void PushButton3_Click();

  // Pointer feedback: the hand over the buttons, the arrow elsewhere.
  void PushButton_MouseMove();
  void Form_MouseMove();

  // What the window holds now.
  Pointer pointer() const { return pointer_; }
  bool busy() const { return pointer_ == Pointer::Busy; }
  bool checked(Control control) const;
  const Text& text(Control control) const;
  const std::vector<Text>& rows() const { return rows_; }
  double progressPosition() const { return progressPosition_; }
  const Text& progressCaption() const { return progressCaption_; }
  bool enabled(Control control) const;
  bool running() const { return running_; }

  // Host: the engine's view of the window.
  Colour tableTextColour() override { return textColour_; }
  Text borderWidth() override { return text2_; }
  Colour tableBackgroundColour() override { return backgroundColour_; }
  bool convertAllToOne() override { return option1_; }
  bool convertEach() override { return option2_; }
  bool oneRowPerContact() override { return check1_; }
  bool saveCsv() override { return check2_; }
  bool saveToChosenFolder() override { return option3_; }
  bool saveBesideInput() override { return option4_; }
  Text chosenFolder() override { return text1_; }
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

  void showAll();
  void restoreFlag(TextView key, bool defaultValue, Control control);
  void restoreColour(TextView key, Colour defaultValue, Control swatch, Colour& colour);
  void chooseOption(Control chosen);
  void chooseColour(Control button, Control swatch, Colour& colour, TextView key, TextView procedure);
  void setText1(Text text);
  bool& flag(Control control);
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

  FormView& view_;
  SettingsStore& settings_;
  Dialogs& dialogs_;
  const Text programFolder_;
  std::function<Text()> defaultOutputFolder_;

  // The options, as the layout starts them.
  bool option1_ = true;
  bool option2_ = false;
  bool check1_ = false;
  bool check2_ = false;
  bool option3_ = true;
  bool option4_ = false;
  Text text1_;
  Text text2_ = u"1";
  Colour textColour_ = 0x000000;
  Colour backgroundColour_ = 0xFFFFFF;
  bool frame6Enabled_ = true;

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
