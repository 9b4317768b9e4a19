#include "win32_window/progress_caption_bar.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "win32_window/wide_text.h"

namespace brevant {

namespace {

struct BarState {
  double position = 0;
  Text caption;
  HFONT font = nullptr;
};

BarState* StateOf(HWND bar) { return reinterpret_cast<BarState*>(GetWindowLongPtrW(bar, GWLP_USERDATA)); }

long WholePercent(double position) { return std::lround(std::clamp(position, 0.0, 100.0)); }

int DonePixels(double position, int width) {
  return static_cast<int>(std::lround(std::clamp(position, 0.0, 100.0) * width / 100.0));
}

// Drawn off screen first, so that a bar that changes many times a second never flickers.
void Paint(HWND bar, const BarState& state) {
  PAINTSTRUCT paint;
  const HDC target = BeginPaint(bar, &paint);
  RECT area;
  GetClientRect(bar, &area);
  const HDC canvas = CreateCompatibleDC(target);
  const HBITMAP picture =
      CreateCompatibleBitmap(target, std::max<LONG>(area.right, 1), std::max<LONG>(area.bottom, 1));
  const HGDIOBJ oldPicture = SelectObject(canvas, picture);

  FillRect(canvas, &area, GetSysColorBrush(COLOR_WINDOW));
  RECT done = area;
  InflateRect(&done, -1, -1);
  done.right = done.left + DonePixels(state.position, done.right - done.left);
  const HBRUSH fill = CreateSolidBrush(RGB(0x9D, 0xC8, 0xF0));
  FillRect(canvas, &done, fill);
  DeleteObject(fill);
  const HBRUSH line = CreateSolidBrush(GetSysColor(COLOR_BTNSHADOW));
  FrameRect(canvas, &area, line);
  DeleteObject(line);

  const HGDIOBJ oldFont =
      SelectObject(canvas, state.font != nullptr ? state.font : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(canvas, TRANSPARENT);
  SetTextColor(canvas, GetSysColor(COLOR_WINDOWTEXT));
  RECT text = area;
  InflateRect(&text, -4, 0);
  DrawTextW(canvas, Wide(state.caption), static_cast<int>(state.caption.size()), &text,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  SelectObject(canvas, oldFont);

  BitBlt(target, 0, 0, area.right, area.bottom, canvas, 0, 0, SRCCOPY);
  SelectObject(canvas, oldPicture);
  DeleteObject(picture);
  DeleteDC(canvas);
  EndPaint(bar, &paint);
}

LRESULT CALLBACK BarProcedure(HWND bar, UINT message, WPARAM wParam, LPARAM lParam) {
  BarState* state = StateOf(bar);
  switch (message) {
    case WM_NCCREATE: {
      auto* created = new BarState;
      const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
      if (create->lpszName != nullptr) created->caption = FromWide(create->lpszName);
      SetWindowLongPtrW(bar, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
      break;
    }
    case WM_NCDESTROY:
      delete state;
      SetWindowLongPtrW(bar, GWLP_USERDATA, 0);
      break;
    case WM_SETFONT:
      if (state != nullptr) state->font = reinterpret_cast<HFONT>(wParam);
      if (LOWORD(lParam) != 0) InvalidateRect(bar, nullptr, FALSE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(state != nullptr ? state->font : nullptr);
    case WM_GETTEXTLENGTH:
      return state != nullptr ? static_cast<LRESULT>(state->caption.size()) : 0;
    case WM_GETTEXT: {
      if (state == nullptr || wParam == 0) return 0;
      const std::size_t count = std::min<std::size_t>(state->caption.size(), wParam - 1);
      std::copy_n(state->caption.data(), count, reinterpret_cast<char16_t*>(lParam));
      reinterpret_cast<wchar_t*>(lParam)[count] = L'\0';
      return static_cast<LRESULT>(count);
    }
    case WM_ERASEBKGND:
      return 1;  // the paint covers everything
    case WM_PAINT:
      if (state != nullptr) {
        Paint(bar, *state);
        return 0;
      }
      break;
    default:
      break;
  }
  return DefWindowProcW(bar, message, wParam, lParam);
}

}  // namespace

void RegisterProgressCaptionBar(HINSTANCE instance) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = BarProcedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kProgressCaptionBarClass;
  RegisterClassExW(&windowClass);
}

void SetProgressPosition(HWND bar, double position) {
  BarState* state = StateOf(bar);
  if (state == nullptr) return;
  position = std::clamp(position, 0.0, 100.0);
  RECT area;
  GetClientRect(bar, &area);
  const int width = area.right - 2;
  const bool repaint = DonePixels(position, width) != DonePixels(state->position, width);
  const bool valueChanged = WholePercent(position) != WholePercent(state->position);
  state->position = position;
  if (repaint) InvalidateRect(bar, nullptr, FALSE);
  if (valueChanged) NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, bar, OBJID_CLIENT, CHILDID_SELF);
}

void SetProgressCaption(HWND bar, const Text& caption) {
  BarState* state = StateOf(bar);
  if (state == nullptr || state->caption == caption) return;
  state->caption = caption;
  InvalidateRect(bar, nullptr, FALSE);
}

Text ProgressCaption(HWND bar) {
  const BarState* state = StateOf(bar);
  return state != nullptr ? state->caption : Text();
}

Text ProgressValueText(HWND bar) {
  const BarState* state = StateOf(bar);
  const std::string percent = std::to_string(WholePercent(state != nullptr ? state->position : 0)) + "%";
  return Text(percent.begin(), percent.end());
}

}  // namespace brevant
