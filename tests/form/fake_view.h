#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "form/form_view.h"

namespace brevant::testing {

// A window without a window system: it keeps what the form shows, and tells
// what was asked of it once (start-up calls, focus, scrolling) in `calls`.
class FakeView : public FormView {
 public:
  std::map<Control, bool> checked;
  std::map<Control, Text> texts;
  std::map<Control, Colour> colours;
  std::map<Control, bool> enabled;
  std::vector<Text> rows;
  std::optional<std::size_t> selected;
  Pointer pointer = Pointer::Arrow;
  bool listDragPointer = false;
  double progressPosition = -1;
  Text progressCaption;
  Text columnCaption;
  int columnWidth = 0;
  std::vector<std::string> calls;
  // Runs at each turn of the event loop, as the user's side of the window.
  std::function<void()> whileEventsProcessed;
  int eventTurns = 0;
  // A start-up step that fails, by its call's name, or "clear" for clearing the rows.
  std::string failing;

  void applySkin(const Text& programFolder) override;
  void setCaption(const Text& caption) override;
  void setIcon() override;
  void setApplicationTitle(const Text& title) override;
  void loadHandPointer(const Text& file) override;
  void loadDragPointer(const Text& file) override;
  void addListColumn(const Text& caption) override;
  void setListColumnWidth(int twips) override;
  void showChecked(Control control, bool on) override { checked[control] = on; }
  void showText(Control control, const Text& text) override { texts[control] = text; }
  void showColour(Control control, Colour colour) override { colours[control] = colour; }
  void enable(Control control, bool on) override { enabled[control] = on; }
  void focus(Control control) override;
  void setPointer(Pointer shown) override { pointer = shown; }
  void setListDragPointer(bool dragging) override { listDragPointer = dragging; }
  void appendRows(std::span<const Text> paths) override {
    rows.insert(rows.end(), paths.begin(), paths.end());
  }
  void removeRow(std::size_t row) override;
  void clearRows() override;
  void setRowText(std::size_t row, const Text& path) override { rows.at(row) = path; }
  void selectRow(std::size_t row) override { selected = row; }
  void showRow(std::size_t row) override;
  void setProgressPosition(double position) override { progressPosition = position; }
  void setProgressCaption(const Text& caption) override { progressCaption = caption; }
  void processEvents() override;

 private:
  void call(const std::string& name, const Text& argument);
};

}  // namespace brevant::testing
