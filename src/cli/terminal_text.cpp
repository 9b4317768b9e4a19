#include "cli/terminal_text.h"

#include "support/text/utf8.h"

namespace brevant {

namespace {

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
bool IsControl(char16_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

}  // namespace

// Replaces what the terminal must not see.
std::string TerminalLine(TextView text) {
  Text safe;
  safe.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      safe += c;
      safe += text[++i];
    } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
      safe += u'\uFFFD';
    } else if (IsControl(c)) {
      safe += u'?';
    } else {
      safe += c;
    }
  }
  return ToUtf8(safe);
}

}  // namespace brevant
