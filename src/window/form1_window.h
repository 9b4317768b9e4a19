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
#include <optional>

#include "form/form1.h"
#include "form/form_view.h"
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

// The program's one window on Qt: the controls of the layout table, showing
// what the window's behaviour (Form1) holds and passing every gesture to it.
class Form1Window : public QWidget, public FormView {
  Q_OBJECT

 public:
  explicit Form1Window(const WindowSetup& setup);

  // The window's behaviour, which holds the options and the rows.
  Form1& form() { return *form_; }

  // The window system took the window away without a close reaching it: the
  // program ends as a close would end it, from inside a box too.
  void windowGone();

  // FormView.
  void applySkin(const Text& programFolder) override;
  void setCaption(const Text& caption) override;
  void setIcon() override;
  void setApplicationTitle(const Text& title) override;
  void loadHandPointer(const Text& file) override;
  void loadDragPointer(const Text& file) override;
  void addListColumn(const Text& caption) override;
  void setListColumnWidth(int twips) override;
  void showChecked(Control control, bool checked) override;
  void showText(Control control, const Text& text) override;
  void showColour(Control control, Colour colour) override;
  void enable(Control control, bool enabled) override;
  void focus(Control control) override;
  void setPointer(Pointer pointer) override;
  void setListDragPointer(bool dragging) override { ListView1->showDragCursor(dragging); }
  void appendRows(std::span<const Text> paths) override { rows_.append(paths); }
  void removeRow(std::size_t row) override { rows_.remove(static_cast<int>(row)); }
  void clearRows() override { rows_.clear(); }
  void setRowText(std::size_t row, const Text& path) override { rows_.setPath(static_cast<int>(row), path); }
  void selectRow(std::size_t row) override;
  void showRow(std::size_t row) override;
  void setProgressPosition(double position) override { ProgressBar1->setPosition(position); }
  void setProgressCaption(const Text& caption) override;
  void processEvents() override;

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
  QCheckBox* Check2;
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
  QWidget* widget(Control control) const;

  // Below 1 when the screen is too small for the window at its own size.
  double zoom_ = 1;
  InputListModel rows_;
  QCursor handCursor_{Qt::PointingHandCursor};
  std::optional<Form1> form_;
};

}  // namespace brevant
