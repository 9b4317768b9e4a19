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
#include <array>
#include <optional>
#include <stdexcept>

#include "form/form_view.h"
#include "form/main_form.h"
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
// what the window's behaviour (MainForm) holds and passing every gesture to it.
class QtMainWindow : public QWidget, public FormView {
  Q_OBJECT

 public:
  explicit QtMainWindow(const WindowSetup& setup);

  // The window's behaviour, which holds the options and the rows.
  MainForm& form() { return *form_; }

  // The window system took the window away without a close reaching it: the
  // program ends as a close would end it, from inside a box too.
  void windowGone();

  // The controls of the layout table, each as the kind of widget it is made as.
  QWidget* widget(Control control) const;  // the window itself for Control::Window
  InputListView* inputList() const { return as<InputListView>(Control::InputList, ControlKind::List); }
  HoverButton* button(Control button) const { return as<HoverButton>(button, ControlKind::Button); }
  QGroupBox* frame(Control frame) const { return as<QGroupBox>(frame, ControlKind::Frame); }
  QRadioButton* optionButton(Control option) const { return as<QRadioButton>(option, ControlKind::Option); }
  QCheckBox* checkBox(Control box) const { return as<QCheckBox>(box, ControlKind::CheckBox); }
  QLabel* label(Control label) const { return as<QLabel>(label, ControlKind::Label); }
  QLineEdit* textBox(Control box) const { return as<QLineEdit>(box, ControlKind::TextBox); }
  QLabel* swatch(Control swatch) const { return as<QLabel>(swatch, ControlKind::Swatch); }
  ProgressDisplay* progressBar() const {
    return as<ProgressDisplay>(Control::Progress, ControlKind::ProgressBar);
  }
  // Shows which control has the keyboard focus.
  FocusFrame* focusFrame() const { return focusFrame_; }

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
  void setListDragPointer(bool dragging) override { inputList()->showDragCursor(dragging); }
  void appendRows(std::span<const Text> paths) override { rows_.append(paths); }
  void removeRow(std::size_t row) override { rows_.remove(static_cast<int>(row)); }
  void clearRows() override { rows_.clear(); }
  void setRowText(std::size_t row, const Text& path) override { rows_.setPath(static_cast<int>(row), path); }
  void selectRow(std::size_t row) override;
  void showRow(std::size_t row) override;
  void setProgressPosition(double position) override { progressBar()->setPosition(position); }
  void setProgressCaption(const Text& caption) override;
  void processEvents() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  // The control as the widget it was made as, which its kind in the layout table says.
  template <class Widget>
  Widget* as(Control control, ControlKind kind) const {
    if (LayoutOf(control).kind != kind) throw std::invalid_argument("the control is of another kind");
    return static_cast<Widget*>(widgets_[IndexOf(control)]);
  }
  void buildControls();
  // The window's and frames' colours for the application's palette now (a dark or high-contrast one).
  void followPalette();
  // Pixels for a length of the layout in twips, at the window's zoom.
  int layoutPixels(int twips) const;
  // Passes the gestures of each control of the layout to the form, by kind.
  void connectGestures();
  std::optional<Control> controlOf(const QObject* widget) const;

  // Below 1 when the screen is too small for the window at its own size.
  double zoom_ = 1;
  std::array<QWidget*, kControlCount> widgets_{};
  FocusFrame* focusFrame_ = nullptr;
  bool skinned_ = false;
  bool followingPalette_ = false;
  InputListModel rows_;
  QCursor handCursor_{Qt::PointingHandCursor};
  std::optional<MainForm> form_;
};

}  // namespace brevant
