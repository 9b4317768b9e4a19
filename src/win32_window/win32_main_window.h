#pragma once

#include <windows.h>

#include <array>
#include <cstddef>
#include <optional>
#include <vector>

#include "form/form_view.h"
#include "form/main_form.h"
#include "win32_window/input_list_control.h"
#include "win32_window/message_turns.h"
#include "win32_window/win32_dialogs.h"

namespace brevant {

// The window on Windows: native controls built from the layout table, at the
// monitor's dots per inch. It passes the user's gestures to MainForm's entry
// points and shows what MainForm tells it; it keeps no option of its own.
class Win32MainWindow final : public FormView {
 public:
  // The dialogs (when the window's own) learn their owner and title from the view.
  Win32MainWindow(HINSTANCE instance, Win32Dialogs* dialogs);
  ~Win32MainWindow() override;
  Win32MainWindow(const Win32MainWindow&) = delete;
  Win32MainWindow& operator=(const Win32MainWindow&) = delete;

  // Makes the window and its controls (hidden), then lets `form` load.
  void create(MainForm& form);
  void show(int showCommand);
  HWND window() const { return window_; }
  HWND control(Control control) const { return controls_[IndexOf(control)]; }
  // The dots per inch the layout is drawn at: the monitor's, or fewer where the
  // window would not fit the monitor's work area at its DPI.
  UINT layoutDpi() const { return layoutDpi_; }
  MessageTurns& turns() { return turns_; }
  // When the window was asked to close (microseconds, see NowMicroseconds); 0 when it was not.
  std::int64_t closeAskedAt() const { return closeAskedAt_; }

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
  void setListDragPointer(bool dragging) override;
  void appendRows(std::span<const Text> paths) override;
  void removeRow(std::size_t row) override;
  void clearRows() override;
  void setRowText(std::size_t row, const Text& path) override;
  void selectRow(std::size_t row) override;
  void showRow(std::size_t row) override;
  void setProgressPosition(double position) override;
  void setProgressCaption(const Text& caption) override;
  void processEvents() override;

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  void createControls();
  // Sizes the window to fit `work` (a monitor's work area) at dpi_ and centres it there.
  void fitTo(const RECT& work);
  void placeControls();
  void makeFonts();
  void addToolTips();
  void command(Control control, WORD code);
  LRESULT colourStatic(HDC context, HWND control);
  // The window's colours: white, or the system's own under high contrast or a dark scheme.
  void followSystemColours();
  COLORREF backgroundColour() const;
  LRESULT setCursor(HWND over, WORD hitTest);
  std::optional<Control> controlOf(HWND handle) const;
  HCURSOR cursorFor(Pointer pointer) const;
  std::optional<std::size_t> selectedRow() const;
  // A place of the layout in the window's client pixels.
  RECT placeOf(Control control) const;

  HINSTANCE instance_;
  Win32Dialogs* dialogs_;
  MainForm* form_ = nullptr;
  HWND window_ = nullptr;
  HWND toolTips_ = nullptr;
  std::array<HWND, kControlCount> controls_{};
  InputListControl list_;
  std::size_t rowCount_ = 0;
  UINT dpi_ = 96;  // the monitor's
  UINT layoutDpi_ = 96;
  HFONT font_ = nullptr;
  HFONT buttonFont_ = nullptr;
  HICON bigIcon_ = nullptr;
  HICON smallIcon_ = nullptr;
  HBRUSH background_ = nullptr;
  bool systemColours_ = false;  // high contrast or a dark scheme: the system's colours, not white
  // The brush of each swatch's colour.
  std::array<HBRUSH, kControlCount> swatchBrushes_{};
  HCURSOR handPointer_ = nullptr;
  HCURSOR dragPointer_ = nullptr;
  Pointer pointer_ = Pointer::Arrow;
  // What MainForm tells the view to show never comes back as a gesture.
  bool showing_ = false;
  int listColumnTwips_ = 0;
  std::int64_t closeAskedAt_ = 0;
  MessageTurns turns_;
};

}  // namespace brevant
