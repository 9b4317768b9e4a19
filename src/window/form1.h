#pragma once

#include <QCheckBox>
#include <QCursor>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRect>
#include <QWidget>

#include "engine/host.h"
#include "engine/several_contacts.h"
#include "support/qt/settings_store.h"
#include "window/dialogs.h"
#include "window/event_turns.h"
#include "window/focus_frame.h"
#include "window/hover_button.h"
#include "window/input_list_model.h"
#include "window/input_list_view.h"
#include "window/progress_display.h"

namespace brevant {

// What the window is given: where its options live, how it talks to the user,
// and the folder of the program (hand pointer, drag pointer, skin, samples).
struct WindowSetup {
  SettingsStore& settings;
  Dialogs& dialogs;
  Text programFolder;
  // The area the window must fit in; empty: its screen's available area.
  QRect screenArea = QRect();
};

// The program's one window. Its controls hold the options: the engine reads
// them through the Host interface at the moment it needs them, so a change made
// while a run yields applies from the engine's next read. Every option is stored
// the moment it changes and restored when the window loads.
class Form1 : public QWidget, public Host {
  Q_OBJECT

 public:
  explicit Form1(const WindowSetup& setup);

  // The window's three pointers: the arrow, the hand over buttons, and the busy
  // pointer of long operations, which the pointer feedback never replaces.
  enum class Pointer { Arrow, Hand, Busy };
  Pointer pointer() const { return pointer_; }

  // Host: the engine's view of the window.
  Colour tableTextColour() override { return textColour_; }
  Text borderWidth() override;
  Colour tableBackgroundColour() override { return backgroundColour_; }
  bool convertAllToOne() override { return Option1->isChecked(); }
  bool convertEach() override { return Option2->isChecked(); }
  bool oneRowPerContact() override { return Check1->isChecked(); }
  bool saveToChosenFolder() override { return Option3->isChecked(); }
  bool saveBesideInput() override { return Option4->isChecked(); }
  Text chosenFolder() override;
  std::vector<Text> inputPaths() override { return rows_.paths(); }
  void setProgressPosition(double position) override { ProgressBar1->setPosition(position); }
  void setProgressCaption(const Text& caption) override;
  void yield() override;
  void setBusy(bool busy) override;
  void reportError(const ErrorReport& report) override { dialogs_.errorBox(report); }
  void noteVcardBlocks(const Text&, std::uint64_t blocks) override {
    if (!oneRowPerContact()) severalContacts_.note(blocks);  // each contact has its row otherwise
  }

  // The window system took the window away without a close reaching it: the
  // program ends as a close would end it, from inside a box too.
  void windowGone();

  // Files and folders given at start-up: added exactly as a drop of them would add them.
  void addPathsAsDropped(const QStringList& paths) { ListView1_OLEDragDrop(paths); }

  // The controls, named as the layout names them.
  InputListView* ListView1;
  HoverButton* PushButton1;
  HoverButton* PushButton5;
  HoverButton* PushButton7;
  HoverButton* PushButton3;
  QGroupBox* Frame2;
  QRadioButton* Option1;
  QRadioButton* Option2;
  QCheckBox* Check1;
  QGroupBox* Frame1;
  QLabel* Label1;
  QLineEdit* Text2;
  QLabel* Label2;
  QLabel* Picture1;
  HoverButton* PushButton4;
  QLabel* Label3;
  QLabel* Picture2;
  HoverButton* PushButton6;
  QGroupBox* Frame5;
  QRadioButton* Option3;
  QGroupBox* Frame6;
  QLineEdit* Text1;
  HoverButton* PushButton9;
  QRadioButton* Option4;
  HoverButton* PushButton2;
  ProgressDisplay* ProgressBar1;
  // Shows which control has the keyboard focus.
  FocusFrame* focusFrame;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildControls();
  // Pixels for a length of the layout in twips, at the window's zoom.
  int layoutPixels(int twips) const;
  void ConnectHandlers();
  void Form_Load();

  void Option1_Click();
  void Option3_Click();
  void Check1_Click();
  void Text1_Change();
  void Text2_Change();
  void Text2_LostFocus();
  void PushButton4_Click();
  void PushButton6_Click();
  void PushButton9_Click();

  // The input list.
  void PushButton1_Click();
  void PushButton5_Click();
  void PushButton7_Click();
  void ListView1_OLEDragDrop(const QStringList& paths);
  void ListView1_RemoveSelected();
  // The run and the samples.
  void PushButton2_Click();
  void PushButton3_Click();

  void chooseColour(const QWidget* button, QLabel* swatch, Colour& colour, const QString& key,
                    TextView procedure);
  void showColour(QLabel* swatch, Colour colour);
  void restoreFlag(const QString& key, bool defaultValue, QAbstractButton* button);
  void restoreColour(const QString& key, Colour defaultValue, QLabel* swatch, Colour& colour);
  void setPointer(Pointer pointer);
  void setScanBusy(bool busy);
  void showBusyState();
  bool busy() const { return pointer_ == Pointer::Busy; }
  // The files of a folder tree whose extension matches, through the shared scan.
  void addFolderTree(const Text& folder, TextView extension);
  // Pointer feedback: never in place of the busy pointer.
  void pointerOver(Pointer pointer);
  void store(const QString& key, TextView value) { settings_.write(key, value); }

  // Below 1 when the screen is too small for the window at its own size.
  double zoom_ = 1;
  SettingsStore& settings_;
  Dialogs& dialogs_;
  const Text programFolder_;
  InputListModel rows_;
  Colour textColour_ = 0x000000;
  Colour backgroundColour_ = 0xFFFFFF;
  Text lastBrowseFolder_;
  Pointer pointer_ = Pointer::Arrow;
  QCursor handCursor_{Qt::PointingHandCursor};
  EventTurns turns_;
  bool checkingBorderWidth_ = false;
  bool restoringTexts_ = false;
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
