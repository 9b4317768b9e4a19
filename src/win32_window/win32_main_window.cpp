#include "win32_window/win32_main_window.h"

#include <windows.h>
// (the headers below need windows.h first)
#include <commctrl.h>
#include <oleacc.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "form/screen_fit.h"
#include "win32_window/accessible_name.h"
#include "win32_window/dpi_scale.h"
#include "win32_window/progress_caption_bar.h"
#include "win32_window/resource_ids.h"
#include "win32_window/wide_text.h"

namespace brevant {

namespace {

// The window class, as tools that look at windows see it (the installer finds a
// running window by it); it keeps its first spelling.
constexpr wchar_t kWindowClass[] = L"BrevantForm1";
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kWindowExtendedStyle = WS_EX_CONTROLPARENT;
// Control identifiers: the layout's own numbers, clear of IDOK and IDCANCEL.
constexpr int kFirstControlId = 100;
// A text box (wParam: its control) was left; the form hears of it once the focus has settled.
constexpr UINT kTextBoxLeft = WM_APP + 1;

int ControlId(Control control) { return kFirstControlId + static_cast<int>(control); }

struct WindowClassOf {
  const wchar_t* name;
  DWORD style;
};

WindowClassOf ClassOf(const ControlLayout& layout) {
  switch (layout.kind) {
    case ControlKind::List:
      return {WC_LISTVIEWW, WS_BORDER | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_OWNERDATA |
                                LVS_NOSORTHEADER | WS_TABSTOP};
    case ControlKind::Button:
      return {L"Button", BS_PUSHBUTTON | WS_TABSTOP};
    case ControlKind::Frame:
      return {L"Button", BS_GROUPBOX};
    case ControlKind::Option:
      return {L"Button", BS_AUTORADIOBUTTON};
    case ControlKind::CheckBox:
      return {L"Button", BS_AUTOCHECKBOX | WS_TABSTOP};
    case ControlKind::Label:
      return {L"Static", SS_LEFT | SS_NOPREFIX};
    case ControlKind::TextBox:
      return {L"Edit", WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP};
    case ControlKind::Swatch:
      return {L"Static", WS_BORDER | SS_NOTIFY | SS_OWNERDRAW};  // its text is its name, never drawn
    case ControlKind::ProgressBar:
      return {kProgressCaptionBarClass, 0};
  }
  return {L"Static", 0};
}

// What a screen reader calls a control: its caption, unless the layout names it.
TextView AccessibleNameOf(const ControlLayout& layout) {
  return layout.accessibleName.empty() ? layout.caption : layout.accessibleName;
}

long AccessibleRoleOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::List:
      return ROLE_SYSTEM_LIST;
    case ControlKind::Button:
      return ROLE_SYSTEM_PUSHBUTTON;
    case ControlKind::Frame:
      return ROLE_SYSTEM_GROUPING;
    case ControlKind::Option:
      return ROLE_SYSTEM_RADIOBUTTON;
    case ControlKind::CheckBox:
      return ROLE_SYSTEM_CHECKBUTTON;
    case ControlKind::Label:
      return ROLE_SYSTEM_STATICTEXT;
    case ControlKind::TextBox:
      return ROLE_SYSTEM_TEXT;
    case ControlKind::Swatch:
      return ROLE_SYSTEM_GRAPHIC;
    case ControlKind::ProgressBar:
      return ROLE_SYSTEM_PROGRESSBAR;
  }
  return ROLE_SYSTEM_CLIENT;
}

HFONT MakeFont(double points, UINT dpi) {
  const int height = -static_cast<int>(std::lround(points * dpi / 72.0));
  return CreateFontW(height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_SWISS, Wide(Text(kFontName)));
}

HCURSOR LoadPointerFile(const Text& file) {
  return static_cast<HCURSOR>(
      LoadImageW(nullptr, Wide(file), IMAGE_CURSOR, 0, 0, LR_LOADFROMFILE | LR_DEFAULTSIZE));
}

}  // namespace

Win32MainWindow::Win32MainWindow(HINSTANCE instance, Win32Dialogs* dialogs)
    : instance_(instance), dialogs_(dialogs) {}

Win32MainWindow::~Win32MainWindow() {
  // The form may be gone already: what the controls say while they are destroyed goes nowhere.
  form_ = nullptr;
  list_.detach();
  if (window_ != nullptr) DestroyWindow(window_);
  for (HGDIOBJ object :
       {static_cast<HGDIOBJ>(font_), static_cast<HGDIOBJ>(buttonFont_), static_cast<HGDIOBJ>(background_)})
    if (object != nullptr) DeleteObject(object);
  for (HBRUSH brush : swatchBrushes_)
    if (brush != nullptr) DeleteObject(brush);
  for (HICON icon : {bigIcon_, smallIcon_})
    if (icon != nullptr) DestroyIcon(icon);
}

void Win32MainWindow::create(MainForm& form) {
  form_ = &form;
  RegisterProgressCaptionBar(instance_);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = Procedure;
  windowClass.hInstance = instance_;
  windowClass.hCursor = nullptr;        // the window sets its pointer itself
  windowClass.hbrBackground = nullptr;  // painted in the colours of the moment (WM_ERASEBKGND)
  windowClass.lpszClassName = kWindowClass;
  windowClass.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(kApplicationIcon));
  RegisterClassExW(&windowClass);
  followSystemColours();

  // Centred on the work area of the monitor under the pointer, at that monitor's dots per inch.
  POINT pointer{};
  GetCursorPos(&pointer);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromPoint(pointer, MONITOR_DEFAULTTOPRIMARY), &monitor);
  window_ = CreateWindowExW(kWindowExtendedStyle, kWindowClass, L"", kWindowStyle, monitor.rcWork.left,
                            monitor.rcWork.top, 100, 100, nullptr, nullptr, instance_, this);
  if (window_ == nullptr) throw std::runtime_error("The window cannot be made.");
  dpi_ = WindowDpi(window_);
  fitTo(monitor.rcWork);
  turns_.setWindow(window_);
  if (dialogs_ != nullptr) dialogs_->setOwner(window_);
  createControls();
  makeFonts();
  placeControls();
  addToolTips();
  form.load();
}

void Win32MainWindow::show(int showCommand) {
  ShowWindow(window_, showCommand);
  UpdateWindow(window_);
  SetFocus(control(Control::InputList));
}

void Win32MainWindow::createControls() {
  // Made in the order Tab visits them, then the rest, then the frames, which lie beneath. The option
  // buttons of one frame are made one after another, at the place of the first: as a group, Tab
  // visits the chosen one and the arrow keys choose among them.
  std::vector<Control> order;
  for (Control each : TabOrder()) {
    if (std::find(order.begin(), order.end(), each) != order.end()) continue;
    order.push_back(each);
    if (LayoutOf(each).kind != ControlKind::Option) continue;
    for (Control other : TabOrder())
      if (other != each && LayoutOf(other).kind == ControlKind::Option &&
          LayoutOf(other).container == LayoutOf(each).container)
        order.push_back(other);
  }
  for (const ControlLayout& layout : FormLayout())
    if (std::find(order.begin(), order.end(), layout.control) == order.end() &&
        layout.kind != ControlKind::Frame)
      order.push_back(layout.control);
  for (const ControlLayout& layout : FormLayout())
    if (layout.kind == ControlKind::Frame) order.push_back(layout.control);

  Control previous = Control::Window;
  for (Control each : order) {
    const ControlLayout& layout = LayoutOf(each);
    WindowClassOf kind = ClassOf(layout);
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | kind.style;
    // A group of option buttons starts a new tab stop; so does every other control of the tab order.
    const bool startsGroup = layout.kind != ControlKind::Option || previous == Control::Window ||
                             LayoutOf(previous).kind != ControlKind::Option ||
                             LayoutOf(previous).container != layout.container;
    if (startsGroup && layout.kind != ControlKind::Frame) style |= WS_GROUP;
    if (layout.kind == ControlKind::Option && startsGroup) style |= WS_TABSTOP;
    // A swatch's and the list's text is what a screen reader calls them; neither shows it. A text box's
    // caption is its first text, which the form shows.
    const bool textIsName = layout.kind == ControlKind::Swatch || layout.kind == ControlKind::List;
    const Text caption(layout.kind == ControlKind::TextBox ? TextView()
                       : textIsName                        ? layout.accessibleName
                                                           : layout.caption);
    const HWND handle = CreateWindowExW(
        layout.kind == ControlKind::TextBox ? WS_EX_CLIENTEDGE : 0, kind.name, Wide(caption), style, 0, 0, 0,
        0, window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(each))), instance_, nullptr);
    controls_[IndexOf(each)] = handle;
    if (layout.kind == ControlKind::TextBox) SendMessageW(handle, EM_SETLIMITTEXT, 0, 0);
    previous = each;
  }
  for (const ControlLayout& layout : FormLayout())
    if (layout.kind == ControlKind::Frame)
      SetWindowPos(control(layout.control), HWND_BOTTOM, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  list_.attach(control(Control::InputList), *form_);
  for (const ControlLayout& layout : FormLayout())
    GiveAccessibleName(control(layout.control), Text(AccessibleNameOf(layout)), AccessibleRoleOf(layout.kind),
                       layout.kind == ControlKind::ProgressBar ? ProgressValueText : nullptr);
  controls_[IndexOf(Control::Window)] = window_;
}

// At 144 or 192 DPI a small screen (1024 x 768) cannot hold the layout: it is
// drawn at fewer dots per inch until the window with its frame fits, as the Qt
// window shrinks; the frame keeps the monitor's DPI.
void Win32MainWindow::fitTo(const RECT& work) {
  const int width = LayoutPixels(kFormWidthTwips, dpi_);
  const int height = LayoutPixels(kFormHeightTwips, dpi_);
  const SIZE outer = OuterSize(kWindowStyle, kWindowExtendedStyle, width, height, dpi_);
  const WindowFit fit = FitWindow(
      width, height, ScreenRect{work.left, work.top, work.right - work.left, work.bottom - work.top},
      FrameRoom{outer.cx - width, outer.cy - height});
  layoutDpi_ = std::max<UINT>(1, static_cast<UINT>(dpi_ * fit.zoom));  // rounded down: it fits
  const SIZE fitted = OuterSize(kWindowStyle, kWindowExtendedStyle, LayoutPixels(kFormWidthTwips, layoutDpi_),
                                LayoutPixels(kFormHeightTwips, layoutDpi_), dpi_);
  SetWindowPos(window_, nullptr, fit.x, fit.y, fitted.cx, fitted.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT Win32MainWindow::placeOf(Control each) const {
  int left = 0;
  int top = 0;
  const ControlLayout& layout = LayoutOf(each);
  for (Control container = layout.container; container != Control::Window;
       container = LayoutOf(container).container) {
    left += LayoutOf(container).left;
    top += LayoutOf(container).top;
  }
  left += layout.left;
  top += layout.top;
  const int x = LayoutPixels(left, layoutDpi_);
  const int y = LayoutPixels(top, layoutDpi_);
  return RECT{x, y, x + LayoutPixels(layout.width, layoutDpi_), y + LayoutPixels(layout.height, layoutDpi_)};
}

void Win32MainWindow::makeFonts() {
  for (HFONT font : {font_, buttonFont_})
    if (font != nullptr) DeleteObject(font);
  font_ = MakeFont(kFontPoints, layoutDpi_);
  buttonFont_ = MakeFont(kButtonFontPoints, layoutDpi_);
}

void Win32MainWindow::placeControls() {
  SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  for (const ControlLayout& layout : FormLayout()) {
    const HWND handle = control(layout.control);
    RECT place = placeOf(layout.control);
    // A caption never comes out cut: an option button, check box or label is as wide as its caption
    // needs, and grows as much up as down where its box is taller than the layout's line.
    if (layout.kind == ControlKind::Option || layout.kind == ControlKind::CheckBox ||
        layout.kind == ControlKind::Label) {
      SIZE ideal{};
      if (layout.kind == ControlKind::Label) {
        const HDC context = GetDC(handle);
        const HGDIOBJ old = SelectObject(context, font_);
        GetTextExtentPoint32W(context, Wide(Text(layout.caption)), static_cast<int>(layout.caption.size()),
                              &ideal);
        SelectObject(context, old);
        ReleaseDC(handle, context);
      } else {
        SendMessageW(handle, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        SendMessageW(handle, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal));
      }
      // As wide as its caption: a wider box would lie over its neighbour (the option of all
      // inputs in one document reaches under the check box of the CSV file).
      if (ideal.cx > 0) place.right = place.left + ideal.cx + 2;
      if (ideal.cy > place.bottom - place.top) {
        const LONG more = ideal.cy - (place.bottom - place.top);
        place.top -= more / 2;
        place.bottom = place.top + ideal.cy;
      }
    }
    SetWindowPos(handle, nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    const HFONT font = layout.kind == ControlKind::Button ? buttonFont_ : font_;
    SendMessageW(handle, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  }
  if (listColumnTwips_ > 0) setListColumnWidth(listColumnTwips_);
}

void Win32MainWindow::addToolTips() {
  toolTips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                              WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, instance_, nullptr);
  SendMessageW(toolTips_, TTM_SETMAXTIPWIDTH, 0, LayoutPixels(6000, layoutDpi_));
  for (const ControlLayout& layout : FormLayout()) {
    // A "..." button's tip says what it chooses; other controls show only their own tips.
    const TextView tip = !layout.toolTip.empty() || layout.kind != ControlKind::Button
                             ? layout.toolTip
                             : layout.accessibleName;
    if (tip.empty()) continue;
    Text text(tip);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(control(layout.control));
    tool.lpszText = const_cast<wchar_t*>(Wide(text));
    SendMessageW(toolTips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

// FormView: start-up.

void Win32MainWindow::applySkin(const Text&) {
  // The skin file is a style sheet of the Linux window; this window keeps its own look.
}

void Win32MainWindow::setCaption(const Text& caption) { SetWindowTextW(window_, Wide(caption)); }

void Win32MainWindow::setIcon() {
  const UINT dpi = dpi_;
  bigIcon_ = static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(kApplicationIcon), IMAGE_ICON,
                                           MulDiv(GetSystemMetrics(SM_CXICON), dpi, 96),
                                           MulDiv(GetSystemMetrics(SM_CYICON), dpi, 96), 0));
  smallIcon_ = static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(kApplicationIcon), IMAGE_ICON,
                                             MulDiv(GetSystemMetrics(SM_CXSMICON), dpi, 96),
                                             MulDiv(GetSystemMetrics(SM_CYSMICON), dpi, 96), 0));
  if (bigIcon_ != nullptr) SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_));
  if (smallIcon_ != nullptr)
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
}

void Win32MainWindow::setApplicationTitle(const Text& title) {
  if (dialogs_ != nullptr) dialogs_->setTitle(title);
}

void Win32MainWindow::loadHandPointer(const Text& file) {
  if (const HCURSOR pointer = LoadPointerFile(file)) handPointer_ = pointer;
}

void Win32MainWindow::loadDragPointer(const Text& file) {
  if (const HCURSOR pointer = LoadPointerFile(file)) dragPointer_ = pointer;
  list_.setDragPointer(dragPointer_ != nullptr ? dragPointer_ : LoadCursorW(nullptr, IDC_SIZEALL));
}

void Win32MainWindow::addListColumn(const Text& caption) {
  list_.setColumn(caption, LayoutPixels(kListColumnWidthTwips, layoutDpi_));
}

void Win32MainWindow::setListColumnWidth(int twips) {
  listColumnTwips_ = twips;
  ListView_SetColumnWidth(control(Control::InputList), 0, LayoutPixels(twips, layoutDpi_));
}

// FormView: the controls.

void Win32MainWindow::showChecked(Control each, bool checked) {
  showing_ = true;
  SendMessageW(control(each), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  showing_ = false;
}

void Win32MainWindow::showText(Control each, const Text& text) {
  if (WindowText(control(each)) == text) return;
  showing_ = true;
  SetWindowTextW(control(each), Wide(text));
  showing_ = false;
}

void Win32MainWindow::showColour(Control each, Colour colour) {
  HBRUSH& brush = swatchBrushes_[IndexOf(each)];
  if (brush != nullptr) DeleteObject(brush);
  brush = CreateSolidBrush(static_cast<COLORREF>(colour) & 0xFFFFFF);
  InvalidateRect(control(each), nullptr, TRUE);
}

void Win32MainWindow::enable(Control container, bool enabled) {
  for (const ControlLayout& layout : FormLayout())
    if (Contains(container, layout.control)) EnableWindow(control(layout.control), enabled ? TRUE : FALSE);
}

void Win32MainWindow::focus(Control each) { SetFocus(control(each)); }

HCURSOR Win32MainWindow::cursorFor(Pointer pointer) const {
  switch (pointer) {
    case Pointer::Busy:
      return LoadCursorW(nullptr, IDC_WAIT);
    case Pointer::Hand:
      return handPointer_ != nullptr ? handPointer_ : LoadCursorW(nullptr, IDC_HAND);
    case Pointer::Arrow:
      break;
  }
  return LoadCursorW(nullptr, IDC_ARROW);
}

void Win32MainWindow::setPointer(Pointer pointer) {
  if (pointer == Pointer::Busy && pointer_ != Pointer::Busy) turns_.beginBusySpan();
  if (pointer != Pointer::Busy && pointer_ == Pointer::Busy) turns_.endBusySpan();
  pointer_ = pointer;
  // Shown at once where the pointer is over the window; elsewhere at its next move.
  POINT at{};
  GetCursorPos(&at);
  const HWND under = WindowFromPoint(at);
  if (under == window_ || IsChild(window_, under)) SetCursor(cursorFor(pointer));
}

void Win32MainWindow::setListDragPointer(bool dragging) { list_.showDragPointer(dragging); }

// FormView: the rows.

void Win32MainWindow::appendRows(std::span<const Text> paths) {
  rowCount_ += paths.size();
  list_.showRowCount(rowCount_);
}

void Win32MainWindow::removeRow(std::size_t) {
  if (rowCount_ > 0) --rowCount_;
  list_.showRowCount(rowCount_);
}

void Win32MainWindow::clearRows() {
  rowCount_ = 0;
  list_.showRowCount(0);
}

void Win32MainWindow::setRowText(std::size_t row, const Text&) { list_.repaintRow(row); }

void Win32MainWindow::selectRow(std::size_t row) { list_.selectRow(row); }

void Win32MainWindow::showRow(std::size_t row) { list_.showRow(row); }

void Win32MainWindow::setProgressPosition(double position) {
  SetProgressPosition(control(Control::Progress), position);
}

void Win32MainWindow::setProgressCaption(const Text& caption) {
  SetProgressCaption(control(Control::Progress), caption);
}

void Win32MainWindow::processEvents() { turns_.processPending(); }

// Messages.

std::optional<Control> Win32MainWindow::controlOf(HWND handle) const {
  for (std::size_t i = 0; i < controls_.size(); ++i)
    if (controls_[i] == handle && handle != nullptr) return static_cast<Control>(i);
  return std::nullopt;
}

std::optional<std::size_t> Win32MainWindow::selectedRow() const { return list_.selectedRow(); }

LRESULT CALLBACK Win32MainWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* view = reinterpret_cast<Win32MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (view == nullptr || view->window_ == nullptr || view->form_ == nullptr)
    return DefWindowProcW(window, message, wParam, lParam);
  return view->handle(message, wParam, lParam);
}

void Win32MainWindow::command(Control each, WORD code) {
  const HWND handle = control(each);
  switch (LayoutOf(each).kind) {
    case ControlKind::Button:
      if (code == BN_CLICKED) form_->clicked(each);
      return;
    case ControlKind::Option:
    case ControlKind::CheckBox:
      if (code == BN_CLICKED) form_->toggled(each, SendMessageW(handle, BM_GETCHECK, 0, 0) == BST_CHECKED);
      return;
    case ControlKind::TextBox:
      if (code == EN_CHANGE) form_->edited(each, WindowText(handle));
      if (code == EN_KILLFOCUS) PostMessageW(window_, kTextBoxLeft, IndexOf(each), 0);
      return;
    default:
      return;
  }
}

void Win32MainWindow::followSystemColours() {
  // High contrast on, or a dark scheme of system colours (which Wine's users choose, as Wine has no
  // high contrast switch): white would hide the scheme's light captions.
  HIGHCONTRASTW contrast{};
  contrast.cbSize = sizeof contrast;
  const bool highContrast = SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
                            (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
  const auto lightness = [](COLORREF colour) {
    return GetRValue(colour) + GetGValue(colour) + GetBValue(colour);
  };
  systemColours_ =
      highContrast || lightness(GetSysColor(COLOR_WINDOW)) < lightness(GetSysColor(COLOR_WINDOWTEXT));
  if (background_ != nullptr) DeleteObject(background_);
  background_ = CreateSolidBrush(backgroundColour());
}

COLORREF Win32MainWindow::backgroundColour() const {
  return systemColours_ ? GetSysColor(COLOR_WINDOW) : RGB(255, 255, 255);
}

LRESULT Win32MainWindow::colourStatic(HDC context, HWND handle) {
  const std::optional<Control> each = controlOf(handle);
  if (each && LayoutOf(*each).kind == ControlKind::Swatch)
    return reinterpret_cast<LRESULT>(swatchBrushes_[IndexOf(*each)]);
  if (each && LayoutOf(*each).kind == ControlKind::TextBox)
    return DefWindowProcW(window_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(context),
                          reinterpret_cast<LPARAM>(handle));
  SetBkColor(context, backgroundColour());
  if (systemColours_) SetTextColor(context, GetSysColor(COLOR_WINDOWTEXT));
  return reinterpret_cast<LRESULT>(background_);
}

LRESULT Win32MainWindow::setCursor(HWND over, WORD hitTest) {
  if (hitTest != HTCLIENT)
    return DefWindowProcW(window_, WM_SETCURSOR, reinterpret_cast<WPARAM>(over), hitTest);
  const std::optional<Control> each = controlOf(over);
  const ControlKind kind = each ? LayoutOf(*each).kind : ControlKind::Frame;
  // A button, the window's background, a frame or a caption; the list and the
  // text boxes show their own pointers.
  if (kind != ControlKind::List && kind != ControlKind::TextBox)
    form_->pointerMoved(each.value_or(Control::Window));
  if (pointer_ != Pointer::Busy && (kind == ControlKind::TextBox || kind == ControlKind::List)) {
    SetCursor(LoadCursorW(nullptr, kind == ControlKind::TextBox ? IDC_IBEAM : IDC_ARROW));
    return TRUE;
  }
  SetCursor(cursorFor(pointer_));
  return TRUE;
}

LRESULT Win32MainWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      if (showing_ || id < kFirstControlId || id >= kFirstControlId + static_cast<int>(kControlCount))
        return 0;
      command(static_cast<Control>(id - kFirstControlId), HIWORD(wParam));
      return 0;
    }
    case WM_NOTIFY: {
      const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
      if (header.hwndFrom == control(Control::InputList)) return list_.notify(header);
      break;
    }
    case kTextBoxLeft: {
      // Leaving for another window (a box, another program) is no leaving of the field.
      const auto left = static_cast<Control>(wParam);
      const HWND now = GetFocus();
      if (now != nullptr && now != control(left) && IsChild(window_, now)) form_->focusLeft(left);
      return 0;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      return colourStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      const std::optional<Control> each = controlOf(item.hwndItem);
      if (!each || LayoutOf(*each).kind != ControlKind::Swatch) break;
      FillRect(item.hDC, &item.rcItem, swatchBrushes_[IndexOf(*each)]);
      return TRUE;
    }
    case WM_ERASEBKGND: {
      RECT area{};
      GetClientRect(window_, &area);
      FillRect(reinterpret_cast<HDC>(wParam), &area, background_);
      return 1;
    }
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
      // High contrast switched on or off, or the scheme's colours changed: every control is drawn anew.
      followSystemColours();
      if (message == WM_SYSCOLORCHANGE)
        SendMessageW(control(Control::InputList), WM_SYSCOLORCHANGE, 0, 0);  // common controls need telling
      RedrawWindow(window_, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
      break;
    case WM_SETCURSOR:
      return setCursor(reinterpret_cast<HWND>(wParam), LOWORD(lParam));
    case WM_MOUSEMOVE:
      form_->pointerMoved(Control::Window);
      return 0;
    case WM_DPICHANGED: {
      // Moved to a monitor of another DPI: fitted to that monitor's work area.
      dpi_ = HIWORD(wParam);
      const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
      MONITORINFO monitor{};
      monitor.cbSize = sizeof monitor;
      GetMonitorInfoW(MonitorFromRect(&suggested, MONITOR_DEFAULTTONEAREST), &monitor);
      fitTo(monitor.rcWork);
      makeFonts();
      placeControls();
      return 0;
    }
    case WM_CLOSE:
      // A run or scan in progress ends at its next turn; the message loop then ends the program.
      if (closeAskedAt_ == 0) closeAskedAt_ = NowMicroseconds();
      form_->close();
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

}  // namespace brevant
