#include "support/text/utf8.h"

namespace brevant {

namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr char16_t kEscapeBase = 0xDC00;  // byte b (0x80..0xFF) escapes to U+DC00 + b

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Decodes one well-formed sequence at bytes[i]; gives its length (0 when the
// sequence is not well-formed) and the code point.
std::size_t DecodeSequence(std::string_view bytes, std::size_t i, char32_t& codePoint) {
  const auto lead = static_cast<unsigned char>(bytes[i]);
  std::size_t length;
  char32_t minimum;
  if (lead < 0x80) {
    codePoint = lead;
    return 1;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, minimum = 0x80, codePoint = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, minimum = 0x800, codePoint = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, minimum = 0x10000, codePoint = lead & 0x07;
  } else {
    return 0;
  }
  if (bytes.size() - i < length) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    const auto next = static_cast<unsigned char>(bytes[i + k]);
    if (!IsContinuation(next)) return 0;
    codePoint = (codePoint << 6) | (next & 0x3F);
  }
  if (codePoint < minimum || codePoint > 0x10FFFF) return 0;
  if (codePoint >= 0xD800 && codePoint <= 0xDFFF) return 0;
  return length;
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
