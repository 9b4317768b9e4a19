#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>

#include "form/main_form.h"
#include "support/text/text.h"

namespace brevant {

// The input list on screen: a report-style list view with one column whose
// rows it does not keep itself: it asks MainForm for a row's text when it shows
// the row. It passes drops from Explorer, Delete, double-clicks and the mouse
// gestures of row dragging to MainForm.
class InputListControl {
 public:
  // Takes over a list view that the window created.
  void attach(HWND list, MainForm& form);
  // Stops passing the list's gestures on (the form is going).
  void detach();
  HWND handle() const { return list_; }

  void setColumn(const Text& header, int width);
  // The list shows `count` rows, keeping its scroll place.
  void showRowCount(std::size_t count);
  void repaintRow(std::size_t row);
  std::optional<std::size_t> selectedRow() const;
  void selectRow(std::size_t row);
  void showRow(std::size_t row);
  // The pointer while a row is dragged; none keeps the arrow.
  void setDragPointer(HCURSOR pointer) { dragPointer_ = pointer; }
  void showDragPointer(bool dragging);

  // The notifications the list sends its window.
  LRESULT notify(const NMHDR& header);

 private:
  static LRESULT CALLBACK Subclass(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                   DWORD_PTR self);
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  RECT rowsArea() const;
  std::optional<std::size_t> rowAt(POINT point) const;
  void pressed(POINT point);
  void moved(POINT point);
  void released();
  void dropped(HDROP drop);

  HWND list_ = nullptr;
  MainForm* form_ = nullptr;
  HCURSOR dragPointer_ = nullptr;
  bool dragging_ = false;
  bool captured_ = false;
};

}  // namespace brevant
