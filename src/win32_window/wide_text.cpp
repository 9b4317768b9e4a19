#include "win32_window/wide_text.h"

namespace brevant {

Text WindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  Text text(static_cast<std::size_t>(length) + 1, u'\0');
  const int got = GetWindowTextW(window, reinterpret_cast<wchar_t*>(text.data()), length + 1);
  text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
  return text;
}

Text WithBoxLineBreaks(TextView text) {
  Text shown;
  shown.reserve(text.size() + 8);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r' || text[i] == u'\n') {
      shown += u"\r\n";
      if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    } else {
      shown += text[i];
    }
  }
  return shown;
}

}  // namespace brevant
