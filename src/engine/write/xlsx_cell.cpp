#include "engine/write/xlsx_cell.h"

#include "support/text/ansi_code_page.h"
#include "support/text/html_escape.h"
#include "support/text/utf8.h"

namespace brevant {

namespace {

bool IsHex(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

// Characters that take two columns of a monospaced font: CJK, Hangul, full-width forms, emoji.
bool IsWide(char32_t c) {
  return c >= 0x1100 &&
         (c <= 0x115F || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3) ||
          (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
          (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x1F300 && c <= 0x1FAFF) || (c >= 0x20000 && c <= 0x3FFFD));
}

// Writes the characters of one cell's text one at a time.
class SheetTextWriter {
 public:
  SheetTextWriter(char* out, CellText& text) : start_(out), out_(out), text_(text) {}

  // False once the cell is full: the rest of the value is left out.
  bool put(char32_t c) {
    if (c == U'\n' && afterCarriageReturn_) {
      afterCarriageReturn_ = false;
      return true;  // the second half of CR LF
    }
    afterCarriageReturn_ = c == U'\r';
    if (c == U'\r') c = U'\n';
    // Left out: what XML 1.0 cannot hold.
    if ((c < 0x20 && c != U'\t' && c != U'\n') || c == 0xFFFE || c == 0xFFFF) return true;
    const std::size_t units = c >= 0x10000 ? 2 : 1;
    if (units_ + units > kCellUnits) {
      text_.cut = true;
      return false;
    }
    units_ += units;
    switch (c) {
      case U'\n':
        text_.lines += WrappedLines(line_, text_.wrapAt);
        line_ = 0;
        *out_++ = '\n';
        return true;
      case U'&':
      case U'<':
      case U'>':
        out_ = Put(out_, HtmlEntity(static_cast<char>(c)));
        break;
      case U'_':
        escapeOpeningUnderscore();
        *out_++ = '_';
        break;
      default:
        out_ = PutUtf8(out_, c);
    }
    line_ += IsWide(c) ? 2 : 1;
    if (line_ > text_.widest) text_.widest = line_;
    return true;
  }

  // The end of the text; its last line is counted then.
  char* end() {
    text_.lines += WrappedLines(line_, text_.wrapAt);
    return out_;
  }

 private:
  static char* Put(char* out, std::string_view text) {
    std::memcpy(out, text.data(), text.size());
    return out + text.size();
  }

  // An underscore ends "_xHHHH_", which a spreadsheet reads as the character
  // HHHH: its first underscore becomes "_x005F_", the escape of an underscore.
  void escapeOpeningUnderscore() {
    if (out_ - start_ < 6) return;
    char* const opening = out_ - 6;
    if (opening[0] != '_' || opening[1] != 'x' || !IsHex(opening[2]) || !IsHex(opening[3]) ||
        !IsHex(opening[4]) || !IsHex(opening[5]))
      return;
    std::memmove(opening + 7, opening + 1, 5);
    std::memcpy(opening + 1, "x005F_", 6);
    out_ += 6;
  }

  char* start_;
  char* out_;
  CellText& text_;
  std::size_t units_ = 0;
  std::size_t line_ = 0;
  bool afterCarriageReturn_ = false;
};

}  // namespace

bool HoldsSheetEscape(std::string_view text) {
  for (std::size_t at = text.find("_x"); at != std::string_view::npos; at = text.find("_x", at + 1)) {
    if (at + 6 < text.size() && IsHex(text[at + 2]) && IsHex(text[at + 3]) && IsHex(text[at + 4]) &&
        IsHex(text[at + 5]) && text[at + 6] == '_')
      return true;
  }
  return false;
}

char* PutSheetText(char* out, std::string_view bytes, ByteEncoding encoding, CellText& text) {
  SheetTextWriter writer(out, text);
  for (std::size_t i = 0; i < bytes.size();) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    char32_t c = byte;
    std::size_t length = 1;
    if (byte >= 0x80) {
      length = encoding == ByteEncoding::Utf8 ? Utf8SequenceAt(bytes, i, c) : 0;
      if (length == 0) {
        c = AnsiByteToChar(byte);
        length = 1;
      }
    }
    if (!writer.put(c)) break;
    i += length;
  }
  return writer.end();
}

char* PutSheetText(char* out, std::u16string_view chars, CellText& text) {
  SheetTextWriter writer(out, text);
  for (std::size_t i = 0; i < chars.size();) {
    if (!writer.put(NextCodePoint(chars, i))) break;
  }
  return writer.end();
}

}  // namespace brevant
