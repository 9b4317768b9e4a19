#include "engine/write/csv_field.h"

#include <cstdint>
#include <cstring>

#include "support/ansi_code_page.h"
#include "support/utf8.h"

namespace brevant {

namespace {

using csv_detail::HasByte;

bool IsQuoted(char16_t c) { return c == u',' || c == u'"' || c == u'\r' || c == u'\n'; }

}  // namespace

bool NeedsQuotes(std::string_view value) {
  std::size_t i = 0;
  for (std::uint64_t eight; i + 8 <= value.size(); i += 8) {
    std::memcpy(&eight, value.data() + i, 8);
    if (HasByte(eight, ',') | HasByte(eight, '"') | HasByte(eight, '\r') | HasByte(eight, '\n')) return true;
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
  if (encoding == ByteEncoding::Utf8) {
    for (const char* quote;
         (quote = static_cast<const char*>(std::memchr(bytes.data(), '"', bytes.size())));) {
      const std::size_t through = static_cast<std::size_t>(quote - bytes.data()) + 1;
      std::memcpy(out, bytes.data(), through);
      out += through;
      *out++ = '"';
      bytes.remove_prefix(through);
    }
    std::memcpy(out, bytes.data(), bytes.size());
    return out + bytes.size();
  }
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
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
    if (c == U'"') *out++ = '"';
    out = PutUtf8(out, c);
  }
  return out;
}

}  // namespace brevant
