#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "support/text/text.h"

namespace brevant {

// Paths and command-line texts are UTF-8 bytes on disk. Bytes that are not valid
// UTF-8 become the lone surrogates U+DC80..U+DCFF and turn back into the same
// bytes, so every file name survives the round trip.
Text FromUtf8(std::string_view bytes);
std::string ToUtf8(TextView text);

// Writes the UTF-8 bytes of a code point at `out` (room for four) and returns
// the place after them: for writers that fill a buffer of their own (inline:
// decoders and writers call it per character).
inline char* PutUtf8(char* out, char32_t cp) {
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

// Appends the UTF-8 bytes of one code point (inline: decoders call it per character).
inline void AppendUtf8(std::string& out, char32_t cp) {
  char bytes[4];
  out.append(bytes, PutUtf8(bytes, cp));
}

// The length of the valid UTF-8 sequence of two to four bytes at i, with its
// code point; 0 when there is none: a byte that cannot lead (a continuation
// byte, C0, C1, F5 and above), a sequence cut short, an overlong form (a
// character written in more bytes than it needs), a surrogate, or past
// U+10FFFF. Inline: decoders call it for every character beyond ASCII.
inline std::size_t Utf8SequenceAt(std::string_view text, std::size_t i, char32_t& codePoint) {
  const auto at = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
  const auto more = [&](std::size_t k) { return i + k < text.size() && (at(k) & 0xC0) == 0x80; };
  const unsigned lead = at(0);
  if (lead >= 0xC2 && lead <= 0xDF && more(1)) {
    codePoint = (lead & 0x1F) << 6 | (at(1) & 0x3F);
    return 2;
  }
  if (lead >= 0xE0 && lead <= 0xEF && more(1) && more(2)) {
    codePoint = (lead & 0x0F) << 12 | (at(1) & 0x3F) << 6 | (at(2) & 0x3F);
    // Not overlong, not a surrogate.
    if (codePoint >= 0x800 && (codePoint < 0xD800 || codePoint > 0xDFFF)) return 3;
  }
  if (lead >= 0xF0 && lead <= 0xF4 && more(1) && more(2) && more(3)) {
    codePoint = (lead & 0x07) << 18 | (at(1) & 0x3F) << 12 | (at(2) & 0x3F) << 6 | (at(3) & 0x3F);
    if (codePoint >= 0x10000 && codePoint <= 0x10FFFF) return 4;
  }
  return 0;
}

// True when the bytes are well-formed UTF-8.
bool IsValidUtf8(std::string_view bytes);

}  // namespace brevant
