#include "engine/text/ascii_html.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "support/text/ansi_code_page.h"
#include "support/text/byte_search.h"
#include "support/text/html_escape.h"

namespace brevant {

namespace {

// True when one of eight bytes needs more than copying: markup, a control
// character, DEL or a byte beyond ASCII; in an attribute, quotes as well.
template <bool kAttribute>
bool NeedsWork(std::uint64_t eight) {
  using namespace byte_words;
  std::uint64_t found = HighByte(eight) | ControlByte(eight) | Byte(eight, '&') | Byte(eight, '<') |
                        Byte(eight, '>') | Byte(eight, 0x7F);
  if constexpr (kAttribute) found |= Byte(eight, '\'') | Byte(eight, '"');
  return found != 0;
}

void AppendReference(std::string& out, char32_t codePoint) {
  if ((codePoint >= 0xD800 && codePoint <= 0xDFFF) || codePoint == 0xFFFE || codePoint == 0xFFFF ||
      codePoint > 0x10FFFF) {
    codePoint = 0xFFFD;
  }
  char digits[12];
  std::size_t count = 0;
  do {
    digits[count++] = static_cast<char>('0' + codePoint % 10);
    codePoint /= 10;
  } while (codePoint != 0);
  out += "&#";
  while (count > 0) out += digits[--count];
  out += ';';
}

}  // namespace

namespace {

template <bool kAttribute>
void AppendEscaped(std::string& out, std::string_view text, ByteEncoding encoding) {
  constexpr bool cell = !kAttribute;
  std::size_t i = 0;
  const std::size_t size = text.size();
  while (i < size) {
    std::size_t run = i;
    for (; run + 8 <= size; run += 8) {
      if (NeedsWork<kAttribute>(byte_words::Load(text.data() + run))) break;
    }
    out.append(text.data() + i, run - i);
    i = run;
    const std::size_t blockEnd = std::min(size, i + 8);
    while (i < blockEnd) {
      const char c = text[i];
      switch (c) {
        case '&':
        case '<':
        case '>':
        case '"':
        case '\'':
          if (const std::string_view entity = HtmlEntity(c, kAttribute); !entity.empty()) {
            out += entity;
          } else {
            out += c;
          }
          break;
        case '\r':
          if (i + 1 < size && text[i + 1] == '\n') ++i;
          [[fallthrough]];
        case '\n':
          out += cell ? "<br/>" : " ";
          break;
        case '\t':
          out += cell ? '\t' : ' ';
          break;
        default: {
          const auto byte = static_cast<unsigned char>(c);
          if (byte < 0x20) break;  // a control character XML cannot hold
          if (byte < 0x7F) {
            out += c;
            break;
          }
          // A byte that starts no valid sequence is U+FFFD in UTF-8 text, else one Windows-1252 character.
          char32_t cp = 0;
          const bool utf8 = encoding == ByteEncoding::Utf8;
          const std::size_t length = byte >= 0x80 && utf8 ? Utf8SequenceAt(text, i, cp) : 0;
          AppendReference(out, length > 0 ? cp : utf8 && byte >= 0x80 ? 0xFFFD : AnsiByteToChar(byte));
          i += length > 0 ? length : 1;
          continue;
        }
      }
      ++i;
    }
  }
}

}  // namespace

void AppendAsciiHtml(std::string& out, std::string_view text, ByteEncoding encoding, HtmlPlace place) {
  if (place == HtmlPlace::Cell) {
    AppendEscaped<false>(out, text, encoding);
  } else {
    AppendEscaped<true>(out, text, encoding);
  }
}

std::size_t EscapeSliceEnd(std::string_view text, std::size_t from, std::size_t at) {
  if (at >= text.size()) return text.size();
  std::size_t end = at;
  // Back over continuation bytes to the start of their sequence (at most three).
  while (end > from + 1 && end + 3 > at && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  if ((static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) end = at;  // no sequence start near: any cut
  if (text[end - 1] == '\r' && text[end] == '\n') ++end;
  return end;
}

}  // namespace brevant
