#include "test_support/fake_view.h"

#include <stdexcept>

#include "support/text/utf8.h"

namespace brevant::test {

void FakeView::call(const std::string& name, const Text& argument) {
  calls.push_back(argument.empty() ? name : name + " " + ToUtf8(argument));
  if (name == failing) throw std::runtime_error("Permission denied");
}

void FakeView::applySkin(const Text& programFolder) { call("skin", programFolder); }
void FakeView::setCaption(const Text& caption) { call("caption", caption); }
void FakeView::setIcon() { call("icon", u""); }
void FakeView::setApplicationTitle(const Text& title) { call("title", title); }
void FakeView::loadHandPointer(const Text& file) { call("hand", file); }
void FakeView::loadDragPointer(const Text& file) { call("drag", file); }

void FakeView::addListColumn(const Text& caption) {
  call("column", caption);
  columnCaption = caption;
}

void FakeView::setListColumnWidth(int twips) {
  call("width", u"");
  columnWidth = twips;
}

void FakeView::focus(Control control) {
  calls.push_back("focus " + std::string(LayoutOf(control).objectName));
}

void FakeView::removeRow(std::size_t row) { rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(row)); }

void FakeView::clearRows() {
  if (failing == "clear") throw std::runtime_error("Permission denied");
  rows.clear();
}

void FakeView::showRow(std::size_t row) { calls.push_back("show row " + std::to_string(row)); }

void FakeView::processEvents() {
  ++eventTurns;
  if (whileEventsProcessed) whileEventsProcessed();
}

}  // namespace brevant::test
