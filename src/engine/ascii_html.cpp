#include "engine/ascii_html.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "support/ansi_code_page.h"

namespace brevant {

namespace {

constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

constexpr std::uint64_t HasZeroByte(std::uint64_t v) { return (v - kOnes) & ~v & kHighBits; }

// True when one of eight bytes needs more than copying.
bool NeedsWork(std::uint64_t eight) {
  return ((eight & kHighBits) | HasZeroByte(eight ^ ('&' * kOnes)) | HasZeroByte(eight ^ ('<' * kOnes)) |
          HasZeroByte(eight ^ ('>' * kOnes)) | HasZeroByte(eight ^ ('\r' * kOnes)) |
          HasZeroByte(eight ^ ('\n' * kOnes))) != 0;
}

void AppendReference(std::string& out, char32_t codePoint) {
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

// Decodes the UTF-8 sequence at i and gives its length; a byte that starts no
// valid sequence is one Windows-1252 character.
std::size_t DecodeAt(std::string_view text, std::size_t i, char32_t& cp) {
  const auto at = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
  const auto more = [&](std::size_t k) { return i + k < text.size() && (at(k) & 0xC0) == 0x80; };
  const unsigned lead = at(0);
  if (lead >= 0xC2 && lead <= 0xDF && more(1)) {
    cp = (lead & 0x1F) << 6 | (at(1) & 0x3F);
    return 2;
  }
  if (lead >= 0xE0 && lead <= 0xEF && more(1) && more(2)) {
    cp = (lead & 0x0F) << 12 | (at(1) & 0x3F) << 6 | (at(2) & 0x3F);
    if (cp >= 0x800 && (cp < 0xD800 || cp > 0xDFFF)) return 3;
  }
  if (lead >= 0xF0 && lead <= 0xF4 && more(1) && more(2) && more(3)) {
    cp = (lead & 0x07) << 18 | (at(1) & 0x3F) << 12 | (at(2) & 0x3F) << 6 | (at(3) & 0x3F);
    if (cp >= 0x10000 && cp <= 0x10FFFF) return 4;
  }
  cp = AnsiByteToChar(static_cast<std::uint8_t>(lead));
  return 1;
}

}  // namespace

void AppendAsciiHtml(std::string& out, std::string_view text, ByteEncoding encoding) {
  std::size_t i = 0;
  const std::size_t size = text.size();
  while (i < size) {
    std::size_t run = i;
    for (std::uint64_t eight; run + 8 <= size; run += 8) {
      std::memcpy(&eight, text.data() + run, 8);
      if (NeedsWork(eight)) break;
    }
    out.append(text.data() + i, run - i);
    i = run;
    const std::size_t blockEnd = std::min(size, i + 8);
    while (i < blockEnd) {
      const char c = text[i];
      switch (c) {
        case '&':
          out += "&amp;";
          break;
        case '<':
          out += "&lt;";
          break;
        case '>':
          out += "&gt;";
          break;
        case '\r':
          if (i + 1 < size && text[i + 1] == '\n') ++i;
          [[fallthrough]];
        case '\n':
          out += "<br>";
          break;
        default:
          if (static_cast<unsigned char>(c) < 0x80) {
            out += c;
          } else {
            char32_t cp = AnsiByteToChar(static_cast<std::uint8_t>(c));
            const std::size_t length = encoding == ByteEncoding::Utf8 ? DecodeAt(text, i, cp) : 1;
            AppendReference(out, cp);
            i += length;
            continue;
          }
      }
      ++i;
    }
  }
}

std::string AnsiToAsciiHtml(std::string_view ansi) {
  std::string out;
  for (const char c : ansi) {
    const auto byte = static_cast<std::uint8_t>(c);
    if (byte < 0x80) {
      out += c;
    } else {
      AppendReference(out, AnsiByteToChar(byte));
    }
  }
  return out;
}

}  // namespace brevant
