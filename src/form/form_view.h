#pragma once

#include <cstddef>
#include <span>

#include "engine/turn_and_colour.h"
#include "form/form_layout.h"
#include "support/text/text.h"

namespace brevant {

// The window's pointers: the arrow, the hand over buttons, and the busy pointer
// of long operations, which the pointer feedback never replaces.
enum class Pointer { Arrow, Hand, Busy };

// What the window's behaviour (MainForm) asks of the window on screen. A view
// builds its controls from FormLayout(), passes the user's gestures to MainForm's
// entry points and shows what MainForm tells it; it keeps no option of its own.
// What MainForm tells it to show never comes back as a gesture.
class FormView {
 public:
  virtual ~FormView() = default;

  // Start-up, in the order the window loads. A failure is an exception, which
  // the start-up reports and passes over.
  virtual void applySkin(const Text& programFolder) = 0;
  virtual void setCaption(const Text& caption) = 0;
  virtual void setIcon() = 0;
  // The title of boxes and prompts without a caption of their own.
  virtual void setApplicationTitle(const Text& title) = 0;
  // A pointer file beside the program (only called when the file is there); a
  // file that is no picture leaves the pointer as it was.
  virtual void loadHandPointer(const Text& file) = 0;
  virtual void loadDragPointer(const Text& file) = 0;
  // The list's one column.
  virtual void addListColumn(const Text& caption) = 0;
  virtual void setListColumnWidth(int twips) = 0;

  // The controls.
  virtual void showChecked(Control control, bool checked) = 0;   // options and check boxes
  virtual void showText(Control control, const Text& text) = 0;  // text boxes
  virtual void showColour(Control control, Colour colour) = 0;   // swatches
  virtual void enable(Control control, bool enabled) = 0;        // a frame enables what it holds
  virtual void focus(Control control) = 0;
  virtual void setPointer(Pointer pointer) = 0;
  // The list's pointer while a row is dragged (the drag pointer), else the arrow.
  virtual void setListDragPointer(bool dragging) = 0;

  // The input list's rows, one path a row.
  virtual void appendRows(std::span<const Text> paths) = 0;
  virtual void removeRow(std::size_t row) = 0;
  virtual void clearRows() = 0;
  virtual void setRowText(std::size_t row, const Text& path) = 0;
  virtual void selectRow(std::size_t row) = 0;
  // Scrolls the list so that the row shows.
  virtual void showRow(std::size_t row) = 0;

  // The progress bar: position 0 to 100 (fractions kept) and its caption.
  virtual void setProgressPosition(double position) = 0;
  virtual void setProgressCaption(const Text& caption) = 0;

  // Processes the window system's pending events once (handlers may run).
  virtual void processEvents() = 0;
};

}  // namespace brevant
