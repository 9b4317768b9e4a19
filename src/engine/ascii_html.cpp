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
            // A byte that starts no valid sequence is one Windows-1252 character.
            char32_t cp = 0;
            const std::size_t length = encoding == ByteEncoding::Utf8 ? Utf8SequenceAt(text, i, cp) : 0;
            AppendReference(out, length > 0 ? cp : AnsiByteToChar(static_cast<std::uint8_t>(c)));
            i += length > 0 ? length : 1;
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
