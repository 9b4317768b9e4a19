#include "engine/csv_field.h"

#include <cstdint>
#include <cstring>

#include "support/ansi_code_page.h"
#include "support/utf8.h"

namespace brevant {

namespace {

constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

constexpr std::uint64_t HasByte(std::uint64_t eight, char byte) {
  const std::uint64_t v = eight ^ (static_cast<unsigned char>(byte) * kOnes);
  return (v - kOnes) & ~v & kHighBits;
}

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

void AppendCsvText(std::string& out, std::string_view bytes, ByteEncoding encoding) {
  if (encoding == ByteEncoding::Utf8) {
    for (std::size_t quote; (quote = bytes.find('"')) != std::string_view::npos;) {
      out.append(bytes.data(), quote + 1).push_back('"');
      bytes.remove_prefix(quote + 1);
    }
    out.append(bytes);
    return;
  }
  std::size_t from = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    if (byte < 0x80 && byte != '"') continue;
    out.append(bytes.data() + from, i - from);
    if (byte == '"') {
      out += "\"\"";
    } else {
      AppendUtf8(out, AnsiByteToChar(byte));
    }
    from = i + 1;
  }
  out.append(bytes.data() + from, bytes.size() - from);
}

void AppendCsvText(std::string& out, std::u16string_view chars) {
  for (std::size_t i = 0; i < chars.size();) {
    const char32_t c = NextCodePoint(chars, i);
    if (c == U'"') out += '"';
    AppendUtf8(out, c);
  }
}

}  // namespace brevant
