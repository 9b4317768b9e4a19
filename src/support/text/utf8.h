#pragma once

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

// True when the bytes are well-formed UTF-8.
bool IsValidUtf8(std::string_view bytes);

}  // namespace brevant
