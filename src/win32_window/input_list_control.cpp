#include "win32_window/input_list_control.h"

#include <windows.h>
// (the headers below need windows.h first)
#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <vector>

#include "win32_window/wide_text.h"

namespace brevant {

void InputListControl::attach(HWND list, MainForm& form) {
  list_ = list;
  form_ = &form;
  ListView_SetExtendedListViewStyle(list_, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
  DragAcceptFiles(list_, TRUE);
  SetWindowSubclass(list_, Subclass, 1, reinterpret_cast<DWORD_PTR>(this));
}

void InputListControl::detach() {
  if (list_ != nullptr) RemoveWindowSubclass(list_, Subclass, 1);
  form_ = nullptr;
}

void InputListControl::setColumn(const Text& header, int width) {
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
  column.pszText = const_cast<wchar_t*>(Wide(header));
  column.cx = width;
  if (Header_GetItemCount(ListView_GetHeader(list_)) == 0) {
    ListView_InsertColumn(list_, 0, &column);
  } else {
    ListView_SetColumn(list_, 0, &column);
  }
}

void InputListControl::showRowCount(std::size_t count) {
  ListView_SetItemCountEx(list_, static_cast<int>(count), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
  InvalidateRect(list_, nullptr, FALSE);
}

void InputListControl::repaintRow(std::size_t row) {
  ListView_RedrawItems(list_, static_cast<int>(row), static_cast<int>(row));
}

std::optional<std::size_t> InputListControl::selectedRow() const {
  const int row = ListView_GetNextItem(list_, -1, LVNI_SELECTED);
  if (row < 0) return std::nullopt;
  return static_cast<std::size_t>(row);
}

void InputListControl::selectRow(std::size_t row) {
  ListView_SetItemState(list_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_SetItemState(list_, static_cast<int>(row), LVIS_SELECTED | LVIS_FOCUSED,
                        LVIS_SELECTED | LVIS_FOCUSED);
}

void InputListControl::showRow(std::size_t row) {
  ListView_EnsureVisible(list_, static_cast<int>(row), FALSE);
}

void InputListControl::showDragPointer(bool dragging) {
  dragging_ = dragging;
  if (dragging && dragPointer_ != nullptr) SetCursor(dragPointer_);
  if (!dragging) SetCursor(LoadCursorW(nullptr, IDC_ARROW));
}

LRESULT InputListControl::notify(const NMHDR& header) {
  switch (header.code) {
    case LVN_GETDISPINFOW: {
      auto& info = const_cast<NMLVDISPINFOW&>(reinterpret_cast<const NMLVDISPINFOW&>(header));
      const auto row = static_cast<std::size_t>(info.item.iItem);
      if ((info.item.mask & LVIF_TEXT) != 0 && info.item.iItem >= 0 && info.item.cchTextMax > 0) {
        const std::vector<Text>& rows = form_->rows();
        const TextView text = row < rows.size() ? TextView(rows[row]) : TextView();
        const std::size_t count =
            std::min<std::size_t>(text.size(), static_cast<std::size_t>(info.item.cchTextMax) - 1);
        std::copy_n(text.data(), count, reinterpret_cast<char16_t*>(info.item.pszText));
        info.item.pszText[count] = L'\0';
      }
      return 0;
    }
    case LVN_KEYDOWN:
      form_->listKeyPressed(reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey, selectedRow());
      return 0;
    default:
      return 0;
  }
}

LRESULT CALLBACK InputListControl::Subclass(HWND, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                            DWORD_PTR self) {
  return reinterpret_cast<InputListControl*>(self)->handle(message, wParam, lParam);
}

LRESULT InputListControl::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  switch (message) {
    case WM_DROPFILES:
      dropped(reinterpret_cast<HDROP>(wParam));
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      // The list's own press waits for a drag out of the list; rows only travel inside it.
      pressed(point);
      return 0;
    case WM_LBUTTONDBLCLK:
      pressed(point);
      released();
      form_->listDoubleClicked(selectedRow());
      return 0;
    case WM_MOUSEMOVE:
      moved(point);
      if (captured_) return 0;
      break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
      released();
      return 0;
    case WM_CAPTURECHANGED:
      if (captured_) {
        captured_ = false;
        form_->listButtonReleased();
      }
      break;
    case WM_SETCURSOR:
      if (dragging_ && dragPointer_ != nullptr) {
        SetCursor(dragPointer_);
        return TRUE;
      }
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(list_, Subclass, 1);
      break;
    default:
      break;
  }
  return DefSubclassProc(list_, message, wParam, lParam);
}

RECT InputListControl::rowsArea() const {
  RECT rows;
  GetClientRect(list_, &rows);
  RECT header{};
  if (GetWindowRect(ListView_GetHeader(list_), &header) && IsWindowVisible(ListView_GetHeader(list_)))
    rows.top = std::min<LONG>(rows.top + (header.bottom - header.top), rows.bottom);
  return rows;
}

std::optional<std::size_t> InputListControl::rowAt(POINT point) const {
  LVHITTESTINFO hit{};
  hit.pt = point;
  const int row = ListView_HitTest(list_, &hit);
  if (row < 0) return std::nullopt;
  return static_cast<std::size_t>(row);
}

void InputListControl::pressed(POINT point) {
  SetFocus(list_);
  const std::optional<std::size_t> row = rowAt(point);
  if (row) selectRow(*row);
  captured_ = true;
  SetCapture(list_);
  form_->listButtonPressed(row);
}

void InputListControl::moved(POINT point) {
  const RECT rows = rowsArea();
  // A pointer above or below the rows reaches the row at that edge.
  const POINT inside{std::clamp<LONG>(point.x, rows.left, std::max<LONG>(rows.right - 1, rows.left)),
                     std::clamp<LONG>(point.y, rows.top, std::max<LONG>(rows.bottom - 1, rows.top))};
  form_->listPointerMoved(rowAt(inside), point.y - rows.top, rows.bottom - rows.top);
  if (dragging_ && dragPointer_ != nullptr) SetCursor(dragPointer_);
}

void InputListControl::released() {
  if (!captured_) return;
  captured_ = false;
  if (GetCapture() == list_) ReleaseCapture();
  form_->listButtonReleased();
}

void InputListControl::dropped(HDROP drop) {
  std::vector<Text> paths;
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    const UINT length = DragQueryFileW(drop, i, nullptr, 0);
    if (length == 0) continue;
    Text path(length + 1, u'\0');
    const UINT got = DragQueryFileW(drop, i, reinterpret_cast<wchar_t*>(path.data()), length + 1);
    path.resize(got);
    if (!path.empty()) paths.push_back(std::move(path));
  }
  DragFinish(drop);
  if (!paths.empty()) form_->filesDropped(paths);
}

}  // namespace brevant
