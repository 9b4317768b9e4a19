#include "win32_window/text_prompt.h"

#include <vector>

#include "win32_window/wide_text.h"

namespace brevant {

namespace {

constexpr WORD kPromptId = 100;
constexpr WORD kEntryId = 101;
constexpr WORD kStaticClass = 0x0082;
constexpr WORD kEditClass = 0x0081;
constexpr WORD kButtonClass = 0x0080;

// A dialog template in memory: a header, then one item after another, each
// starting on a 32-bit boundary.
class DialogTemplate {
 public:
  DialogTemplate(const Text& title, short width, short height) {
    const DWORD style =
        DS_MODALFRAME | DS_SETFONT | DS_SHELLFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    addDword(style);
    addDword(0);  // extended style
    countAt_ = words_.size();
    addWord(0);  // item count, counted below
    addWord(0);
    addWord(0);
    addWord(static_cast<WORD>(width));
    addWord(static_cast<WORD>(height));
    addWord(0);  // no menu
    addWord(0);  // the standard dialog class
    addText(title);
    addWord(8);
    addText(u"MS Shell Dlg");
  }

  void add(WORD kind, WORD id, DWORD style, short x, short y, short width, short height, const Text& text) {
    while (words_.size() % 2 != 0) addWord(0);
    addDword(WS_CHILD | WS_VISIBLE | style);
    addDword(0);
    addWord(static_cast<WORD>(x));
    addWord(static_cast<WORD>(y));
    addWord(static_cast<WORD>(width));
    addWord(static_cast<WORD>(height));
    addWord(id);
    addWord(0xFFFF);
    addWord(kind);
    addText(text);
    addWord(0);  // no creation data
    ++words_[countAt_];
  }

  const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  void addWord(WORD word) { words_.push_back(word); }
  void addDword(DWORD value) {
    addWord(LOWORD(value));
    addWord(HIWORD(value));
  }
  void addText(TextView text) {
    for (char16_t unit : text) addWord(unit);
    addWord(0);
  }

  std::vector<WORD> words_;
  std::size_t countAt_ = 0;
};

struct PromptState {
  const Text* defaultText;
  Text answer;
};

INT_PTR CALLBACK PromptProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<PromptState*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      state = reinterpret_cast<PromptState*>(lParam);
      const HWND entry = GetDlgItem(dialog, kEntryId);
      SetWindowTextW(entry, Wide(*state->defaultText));
      SendMessageW(entry, EM_SETSEL, 0, -1);
      SetFocus(entry);
      return FALSE;  // the focus is set
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        state->answer = WindowText(GetDlgItem(dialog, kEntryId));
        EndDialog(dialog, IDOK);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      break;
    default:
      break;
  }
  return FALSE;
}

}  // namespace

std::optional<Text> AskForText(HWND owner, const Text& title, const Text& prompt, const Text& defaultText) {
  // Prompt at the left, the buttons at the right, the entry across the bottom.
  DialogTemplate layout(title, 280, 96);
  layout.add(kStaticClass, kPromptId, SS_LEFT | SS_NOPREFIX, 7, 7, 206, 58, WithBoxLineBreaks(prompt));
  layout.add(kButtonClass, IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 223, 7, 50, 14, u"OK");
  layout.add(kButtonClass, IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 223, 25, 50, 14, u"Cancel");
  layout.add(kEditClass, kEntryId, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 7, 72, 266, 13, Text());
  PromptState state{&defaultText, {}};
  const INT_PTR result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), layout.get(), owner,
                                                 PromptProcedure, reinterpret_cast<LPARAM>(&state));
  if (result != IDOK) return std::nullopt;
  return state.answer;
}

}  // namespace brevant
