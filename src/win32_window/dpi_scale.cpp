#include "win32_window/dpi_scale.h"

namespace brevant {

namespace {

// Functions that only newer systems have, looked up when first needed.
template <class Function>
Function UserFunction(const char* name) {
  const HMODULE user = GetModuleHandleW(L"user32.dll");
  return user == nullptr ? nullptr
                         : reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user, name)));
}

}  // namespace

UINT WindowDpi(HWND window) {
  using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = UserFunction<GetDpiForWindowFunction>("GetDpiForWindow");
  if (getDpiForWindow != nullptr && window != nullptr) {
    const UINT dpi = getDpiForWindow(window);
    if (dpi != 0) return dpi;
  }
  const HDC screen = GetDC(nullptr);
  const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

SIZE OuterSize(DWORD style, DWORD extendedStyle, int clientWidth, int clientHeight, UINT dpi) {
  using AdjustForDpiFunction = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
  static const auto adjustForDpi = UserFunction<AdjustForDpiFunction>("AdjustWindowRectExForDpi");
  RECT rect{0, 0, clientWidth, clientHeight};
  if (adjustForDpi == nullptr || !adjustForDpi(&rect, style, FALSE, extendedStyle, dpi))
    AdjustWindowRectEx(&rect, style, FALSE, extendedStyle);
  return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

void DeclareDpiAwareness() {
  using SetContextFunction = BOOL(WINAPI*)(HANDLE);
  static const auto setContext = UserFunction<SetContextFunction>("SetProcessDpiAwarenessContext");
  // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2; refused when the manifest already said so.
  if (setContext != nullptr && setContext(reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-4)))) return;
  SetProcessDPIAware();
}

}  // namespace brevant
