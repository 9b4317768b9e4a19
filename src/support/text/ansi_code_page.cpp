#include "support/text/ansi_code_page.h"

#include "support/text/html_escape.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace brevant {

namespace {

// Characters of the bytes 0x80..0x9F; the other bytes are their own character.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// Flags of the characters below U+0100.
constexpr std::uint8_t kNotInCodePage = 1;
constexpr std::uint8_t kHtmlSpecial = 2;

constexpr std::array<std::uint8_t, 256> MakeFlags() {
  std::array<std::uint8_t, 256> flags{};
  for (int b = 0x80; b < 0xA0; ++b) {
    if (kHighControls[b - 0x80] != b) flags[b] = kNotInCodePage;
  }
  for (const HtmlEntityOf& entry : kHtmlEntities) {
    if (!entry.onlyInAttributes) flags[static_cast<unsigned char>(entry.byte)] = kHtmlSpecial;
  }
  return flags;
}

constexpr std::array<std::uint8_t, 256> kFlags = MakeFlags();

int RemappedByte(char16_t ch) {
  // All remapped characters lie in U+0152..U+2122; everything else is quickly out.
  if (ch < 0x0152 || ch > 0x2122) return -1;
  for (std::size_t i = 0; i < kHighControls.size(); ++i) {
    if (kHighControls[i] == ch) return static_cast<int>(0x80 + i);
  }
  return -1;
}

bool IsHighSurrogate(char16_t ch) { return ch >= 0xD800 && ch <= 0xDBFF; }
bool IsLowSurrogate(char16_t ch) { return ch >= 0xDC00 && ch <= 0xDFFF; }

// Writes "&#N;" into `to` (room for 10 bytes) and gives its length.
std::size_t FormatReference(char* to, char32_t codePoint) {
  char digits[8];
  std::size_t count = 0;
  do {
    digits[count++] = static_cast<char>('0' + codePoint % 10);
    codePoint /= 10;
  } while (codePoint != 0);
  std::size_t length = 0;
  to[length++] = '&';
  to[length++] = '#';
  while (count > 0) to[length++] = digits[--count];
  to[length++] = ';';
  return length;
}

std::size_t FormatEntity(char* to, char ch) {
  const std::string_view entity = HtmlEntity(ch);
  std::memcpy(to, entity.data(), entity.size());
  return entity.size();
}

constexpr std::uint64_t kLanes = 0x0001000100010001;

// True when one of the four 16-bit lanes is zero.
bool HasZeroLane(std::uint64_t word) { return ((word - kLanes) & ~word & (kLanes << 15)) != 0; }

// Copies the leading run of ASCII characters (markup excepted when escaping)
// four at a time, the bulk of every document; gives how many it copied.
std::size_t CopyAsciiRun(const char16_t* from, std::size_t count, char* to, bool escape) {
  std::size_t i = 0;
  for (; i + 4 <= count; i += 4) {
    std::uint64_t word;
    std::memcpy(&word, from + i, sizeof word);
    if (word & (kLanes * 0xFF80)) break;
    // '<' and '>' differ only in bit 1.
    if (escape &&
        (HasZeroLane(word ^ (kLanes * '&')) || HasZeroLane((word | (kLanes * 2)) ^ (kLanes * '>')))) {
      break;
    }
    for (std::size_t k = 0; k < 4; ++k) to[i + k] = static_cast<char>(from[i + k]);
  }
  return i;
}

// The replacement for one character that is not written as itself; gives its
// length and how many characters it stands for (2 for a surrogate pair).
std::size_t Replacement(TextView text, std::size_t i, char* piece, std::size_t& consumed) {
  const char16_t ch = text[i];
  consumed = 1;
  if (ch < 0x100 && (kFlags[ch] & kHtmlSpecial)) return FormatEntity(piece, static_cast<char>(ch));
  if (const int byte = ch < 0x100 ? -1 : RemappedByte(ch); byte >= 0) {
    piece[0] = static_cast<char>(byte);
    return 1;
  }
  if (IsHighSurrogate(ch) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
    consumed = 2;
    return FormatReference(piece, 0x10000 + ((ch - 0xD800) << 10) + (text[i + 1] - 0xDC00));
  }
  if (IsHighSurrogate(ch) || IsLowSurrogate(ch)) return FormatReference(piece, 0xFFFD);
  return FormatReference(piece, ch);
}

// One pass over the text with one output byte reserved per character, the common
// case; a character that needs more grows the string.
void AppendText(std::string& out, TextView text, std::uint8_t specialMask) {
  const bool escape = (specialMask & kHtmlSpecial) != 0;
  const std::size_t start = out.size();
  const std::size_t count = text.size();
  out.resize(start + count);
  char* data = out.data();
  std::size_t at = start;
  std::size_t i = 0;
  while (i < count) {
    const std::size_t run = CopyAsciiRun(text.data() + i, count - i, data + at, escape);
    i += run;
    at += run;
    // The characters of the block that stopped the run, one by one.
    const std::size_t stop = std::min(count, i + 4);
    while (i < stop) {
      const char16_t ch = text[i];
      if (ch < 0x100 && (kFlags[ch] & specialMask) == 0) {
        data[at++] = static_cast<char>(ch);
        ++i;
        continue;
      }
      char piece[12];
      std::size_t consumed;
      const std::size_t length = Replacement(text, i, piece, consumed);
      // Room left is one byte for each character not yet written.
      const std::size_t room = out.size() - at - (count - i - consumed);
      if (length > room) {
        out.resize(out.size() + (length - room));
        data = out.data();
      }
      std::memcpy(data + at, piece, length);
      at += length;
      i += consumed;
    }
  }
  out.resize(at);
}

}  // namespace

char16_t AnsiByteToChar(std::uint8_t byte) {
  return (byte >= 0x80 && byte < 0xA0) ? kHighControls[byte - 0x80] : static_cast<char16_t>(byte);
}

int CharToAnsiByte(char16_t ch) {
  if (ch < 0x100) return (kFlags[ch] & kNotInCodePage) ? -1 : ch;
  return RemappedByte(ch);
}

void AppendAnsi(std::string& out, TextView text) { AppendText(out, text, kNotInCodePage); }

void AppendAnsiEscaped(std::string& out, TextView text) {
  AppendText(out, text, kNotInCodePage | kHtmlSpecial);
}

}  // namespace brevant
