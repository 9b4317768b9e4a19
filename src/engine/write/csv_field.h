#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <type_traits>

#include "engine/text/text_encodings.h"
#include "support/text/byte_search.h"

namespace brevant {

// The fields of a CSV file (RFC 4180) in UTF-8. A field is quoted when it holds
// a comma, a quote or a line break, with its quotes doubled. The control
// characters that the documents leave out (all below U+0020 but tab, carriage
// return and line feed) are left out here too, so both files hold the same
// values. A value that a spreadsheet would run as a formula gets an apostrophe
// in front, so that a contact file cannot plant one: those starting with "=",
// "@", a tab or a carriage return, and those starting with "+" or "-" unless the
// rest is a telephone number (digits, blanks, dots, dashes and parentheses
// only), so that "+1 555-0100" stays as it is. What starts the value is judged
// once the control characters are gone: NUL then "=1+1" is a formula.

// A control character that no field holds.
template <class Ch>
constexpr bool IsLeftOutControl(Ch c) {
  const auto code = static_cast<std::make_unsigned_t<Ch>>(c);
  return code < 0x20 && code != '\t' && code != '\r' && code != '\n';
}

// Whether the value, in any ASCII-compatible encoding or UTF-16, needs the apostrophe.
template <class Ch>
bool RunsAsFormula(std::basic_string_view<Ch> value) {
  std::size_t first = 0;
  while (first < value.size() && IsLeftOutControl(value[first])) ++first;
  if (first == value.size()) return false;
  switch (value[first]) {
    case Ch('='):
    case Ch('@'):
    case Ch('\t'):
    case Ch('\r'):
      return true;
    case Ch('+'):
    case Ch('-'):
      for (const Ch c : value.substr(first + 1)) {
        // Digits, blank, ".", "-", "(" and ")" as bits of one mask.
        constexpr std::uint64_t kPhone = 0x03FF'6301'0000'0000ULL;
        const auto code = static_cast<std::make_unsigned_t<Ch>>(c);
        if (IsLeftOutControl(c)) continue;
        if (code >= 64 || ((kPhone >> code) & 1) == 0) return true;
      }
      return false;
    default:
      return false;
  }
}

namespace csv_detail {
// Bytes that a field cannot simply hold: beyond ASCII, to be quoted, or control characters.
constexpr std::uint64_t Special(std::uint64_t eight) {
  return byte_words::HighByte(eight) | byte_words::Byte(eight, ',') | byte_words::Byte(eight, '"') |
         byte_words::ControlByte(eight);
}
}  // namespace csv_detail

// Most values go into the file as they are: ASCII without anything to quote,
// no control character, and not taken for a formula. Copies such a value to `out` and gives the end
// of the copy; gives nullptr for any other value, whose field is then still to
// be written at `out`. Inline: it runs for nearly every cell.
inline char* PutPlainField(char* out, std::string_view value) {
  const std::size_t size = value.size();
  const char* in = value.data();
  std::uint64_t special = 0;
  std::uint64_t eight;
  if (size >= 8) {
    // Eight bytes at a time; the last eight may overlap the ones before.
    for (std::size_t i = 0;; i += 8) {
      if (i + 8 > size) i = size - 8;
      eight = byte_words::Load(in + i);
      std::memcpy(out + i, &eight, 8);
      special |= csv_detail::Special(eight);
      if (i + 8 == size) break;
    }
  } else {
    for (std::size_t i = 0; i < size; ++i) {
      out[i] = in[i];
      const auto byte = static_cast<unsigned char>(in[i]);
      special |= byte >= 0x80 || byte < 0x20 || byte == ',' || byte == '"';
    }
  }
  if (special != 0) return nullptr;
  if (size > 0) {
    const char first = in[0];
    if (first == '=' || first == '@' || ((first == '+' || first == '-') && RunsAsFormula(value)))
      return nullptr;
  }
  return out + size;
}

// Whether the field must stand in quotes: it holds a comma, a quote, a carriage return or a line feed.
bool NeedsQuotes(std::string_view value);
bool NeedsQuotes(std::u16string_view value);

// Writing text into a field at `out`, with its quotes doubled, takes at most
// this many bytes a byte or UTF-16 unit of the text.
inline constexpr std::size_t kMostFieldBytesPerUnit = 3;

// Writes text into a field and gives the end of what it wrote: UTF-8 bytes as
// they are (a bad byte as U+FFFD), or bytes read as Windows-1252 turned into
// UTF-8, without the control characters that no field holds. Text in UTF-8
// must not be cut inside a sequence.
char* PutCsvText(char* out, std::string_view bytes, ByteEncoding encoding);
// UTF-16 text turned into UTF-8; a lone surrogate becomes U+FFFD.
char* PutCsvText(char* out, std::u16string_view chars);

}  // namespace brevant
