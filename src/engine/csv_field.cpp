#include "engine/csv_field.h"

#include <cstdint>
#include <cstring>

#include "support/ansi_code_page.h"

namespace brevant {

namespace {

constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

constexpr std::uint64_t HasByte(std::uint64_t eight, char byte) {
  const std::uint64_t v = eight ^ (static_cast<unsigned char>(byte) * kOnes);
  return (v - kOnes) & ~v & kHighBits;
}

// Bytes that a field cannot simply hold: beyond ASCII, or to be quoted. A zero
// byte is none of them, so a short tail may be padded with zeros.
constexpr std::uint64_t Special(std::uint64_t eight) {
  return (eight & kHighBits) | HasByte(eight, ',') | HasByte(eight, '"') | HasByte(eight, '\r') |
         HasByte(eight, '\n');
}

bool IsQuoted(char16_t c) { return c == u',' || c == u'"' || c == u'\r' || c == u'\n'; }

char* PutUtf8(char* out, char32_t cp) {
  if (cp < 0x80) {
    *out++ = static_cast<char>(cp);
  } else if (cp < 0x800) {
    *out++ = static_cast<char>(0xC0 | (cp >> 6));
    *out++ = static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    *out++ = static_cast<char>(0xE0 | (cp >> 12));
    *out++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    *out++ = static_cast<char>(0xF0 | (cp >> 18));
    *out++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    *out++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (cp & 0x3F));
  }
  return out;
}

}  // namespace

char* PutPlainField(char* out, std::string_view value) {
  const std::size_t size = value.size();
  const char* in = value.data();
  std::uint64_t special = 0;
  std::uint64_t eight;
  if (size >= 8) {
    // Eight bytes at a time; the last eight may overlap the ones before.
    for (std::size_t i = 0;; i += 8) {
      if (i + 8 > size) i = size - 8;
      std::memcpy(&eight, in + i, 8);
      std::memcpy(out + i, &eight, 8);
      special |= Special(eight);
      if (i + 8 == size) break;
    }
  } else {
    for (std::size_t i = 0; i < size; ++i) {
      out[i] = in[i];
      const auto byte = static_cast<unsigned char>(in[i]);
      special |= byte >= 0x80 || IsQuoted(byte);
    }
  }
  if (special != 0) return nullptr;
  if (size > 0) {
    const char first = in[0];
    if (first == '=' || first == '@' || first == '\t' ||
        ((first == '+' || first == '-') && RunsAsFormula(value)))
      return nullptr;
  }
  return out + size;
}

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
