#include "engine/write/csv_field.h"

#include <cstdint>
#include <cstring>

#include "support/text/ansi_code_page.h"
#include "support/text/utf8.h"

namespace brevant {

namespace {

using byte_words::Byte;
using byte_words::ControlByte;
using byte_words::Load;

// Where the next quote or control character stands, from `from` on; the size when there is none.
std::size_t NextQuoteOrControl(std::string_view bytes, std::size_t from) {
  std::size_t i = from;
  for (std::uint64_t eight; i + 8 <= bytes.size(); i += 8) {
    eight = Load(bytes.data() + i);
    if ((Byte(eight, '"') | ControlByte(eight)) != 0) break;
  }
  for (; i < bytes.size(); ++i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    if (byte == '"' || byte < 0x20) return i;
  }
  return i;
}

bool IsQuoted(char16_t c) { return c == u',' || c == u'"' || c == u'\r' || c == u'\n'; }

}  // namespace

bool NeedsQuotes(std::string_view value) {
  std::size_t i = 0;
  for (std::uint64_t eight; i + 8 <= value.size(); i += 8) {
    eight = Load(value.data() + i);
    if (Byte(eight, ',') | Byte(eight, '"') | Byte(eight, '\r') | Byte(eight, '\n')) return true;
  }
  for (; i < value.size(); ++i) {
    if (IsQuoted(static_cast<unsigned char>(value[i]))) return true;
  }
  return false;
}

bool NeedsQuotes(std::u16string_view value) {
  for (const char16_t c : value) {
    if (IsQuoted(c)) return true;
  }
  return false;
}

char* PutCsvText(char* out, std::string_view bytes, ByteEncoding encoding) {
  if (encoding == ByteEncoding::Utf8 && !IsUtf8(bytes)) {
    // UTF-8 with a few bad bytes: each reads as U+FFFD.
    for (std::size_t i = 0; i < bytes.size();) {
      char32_t c = static_cast<unsigned char>(bytes[i]);
      const std::size_t length = c < 0x80 ? 1 : Utf8SequenceAt(bytes, i, c);
      if (length == 0) c = 0xFFFD;
      i += length == 0 ? 1 : length;
      if (IsLeftOutControl(c)) continue;
      if (c == U'"') *out++ = '"';
      out = PutUtf8(out, c);
    }
    return out;
  }
  if (encoding == ByteEncoding::Utf8) {
    for (std::size_t from = 0; from < bytes.size();) {
      const std::size_t at = NextQuoteOrControl(bytes, from);
      std::memcpy(out, bytes.data() + from, at - from);
      out += at - from;
      if (at == bytes.size()) break;
      if (bytes[at] == '"') *out++ = '"';
      if (!IsLeftOutControl(bytes[at])) *out++ = bytes[at];
      from = at + 1;
    }
    return out;
  }
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      if (IsLeftOutControl(c)) continue;
      if (c == '"') *out++ = '"';
      *out++ = c;
    } else {
      out = PutUtf8(out, AnsiByteToChar(byte));
    }
  }
  return out;
}

char* PutCsvText(char* out, std::u16string_view chars) {
  for (std::size_t i = 0; i < chars.size();) {
    const char32_t c = NextCodePoint(chars, i);
    if (IsLeftOutControl(c)) continue;
    if (c == U'"') *out++ = '"';
    out = PutUtf8(out, c);
  }
  return out;
}

}  // namespace brevant
