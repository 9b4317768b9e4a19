#include "win32_window/message_turns.h"

#include <algorithm>

namespace brevant {

namespace {

bool IsPushButton(HWND control) {
  wchar_t className[16] = {};
  if (GetClassNameW(control, className, 16) == 0 || lstrcmpiW(className, L"Button") != 0) return false;
  const LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK;
  return style == BS_PUSHBUTTON || style == BS_DEFPUSHBUTTON;
}

}  // namespace

std::int64_t NowMicroseconds() {
  static const std::int64_t frequency = [] {
    LARGE_INTEGER value;
    QueryPerformanceFrequency(&value);
    return value.QuadPart;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart / frequency * 1'000'000 + now.QuadPart % frequency * 1'000'000 / frequency;
}

void MessageTurns::dispatch(MSG& message) {
  if (window_ != nullptr && message.message == WM_KEYDOWN && message.wParam == VK_RETURN &&
      IsChild(window_, message.hwnd) && IsPushButton(message.hwnd)) {
    SendMessageW(message.hwnd, BM_CLICK, 0, 0);
    return;
  }
  if (window_ != nullptr && IsDialogMessageW(window_, &message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

int MessageTurns::run() {
  MSG message{};
  BOOL got = 0;
  while ((got = GetMessageW(&message, nullptr, 0, 0)) > 0) dispatch(message);
  return got == 0 ? static_cast<int>(message.wParam) : 1;
}

void MessageTurns::processPending() {
  noteTurn();
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));  // for the outer loop
      break;
    }
    dispatch(message);
  }
}

void MessageTurns::beginBusySpan() {
  busy_ = true;
  spanStart_ = NowMicroseconds();
  lastTurn_ = spanStart_;
  current_ = {};
  if (begun_) begun_();
}

void MessageTurns::endBusySpan() {
  if (!busy_) return;
  noteTurn();  // the span's end counts as its last turn
  busy_ = false;
  current_.duration = NowMicroseconds() - spanStart_;
  last_ = current_;
  if (observer_) observer_(last_);
}

void MessageTurns::noteTurn() {
  if (!busy_) return;
  const std::int64_t now = NowMicroseconds();
  current_.longestGap = std::max(current_.longestGap, now - lastTurn_);
  lastTurn_ = now;
  ++current_.turns;
}

}  // namespace brevant
