#include "support/text/utf8.h"

namespace brevant {

namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr char16_t kEscapeBase = 0xDC00;  // byte b (0x80..0xFF) escapes to U+DC00 + b

// Decodes one well-formed sequence at bytes[i], ASCII among them; gives its
// length (0 when the sequence is not well-formed) and the code point.
std::size_t DecodeSequence(std::string_view bytes, std::size_t i, char32_t& codePoint) {
  codePoint = static_cast<unsigned char>(bytes[i]);
  return codePoint < 0x80 ? 1 : Utf8SequenceAt(bytes, i, codePoint);
}

}  // namespace

Text FromUtf8(std::string_view bytes) {
  Text text;
  text.reserve(bytes.size());
  std::size_t i = 0;
  while (i < bytes.size()) {
    char32_t cp;
    const std::size_t length = DecodeSequence(bytes, i, cp);
    if (length == 0) {
      // Only the first byte is escaped: the bytes after it may start a valid sequence.
      text += static_cast<char16_t>(kEscapeBase + static_cast<unsigned char>(bytes[i]));
      ++i;
    } else if (cp < 0x10000) {
      text += static_cast<char16_t>(cp);
      i += length;
    } else {
      cp -= 0x10000;
      text += static_cast<char16_t>(0xD800 + (cp >> 10));
      text += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
      i += length;
    }
  }
  return text;
}

std::string ToUtf8(TextView text) {
  // Paths and names are mostly ASCII: those characters go in one by one
  // without growing the text.
  std::string out(text.size(), '\0');
  std::size_t i = 0;
  for (; i < text.size() && text[i] < 0x80; ++i) out[i] = static_cast<char>(text[i]);
  out.resize(i);
  for (; i < text.size(); ++i) {
    const char16_t ch = text[i];
    if (ch < 0xD800 || ch > 0xDFFF) {
      AppendUtf8(out, ch);
    } else if (ch <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      AppendUtf8(out, 0x10000 + ((ch - 0xD800) << 10) + (text[i + 1] - 0xDC00));
      ++i;
    } else if (ch >= 0xDC80 && ch <= 0xDCFF) {
      out += static_cast<char>(ch - kEscapeBase);
    } else {
      AppendUtf8(out, kReplacement);
    }
  }
  return out;
}

bool IsValidUtf8(std::string_view bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    char32_t cp;
    const std::size_t length = DecodeSequence(bytes, i, cp);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

}  // namespace brevant
