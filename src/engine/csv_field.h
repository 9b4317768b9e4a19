#pragma once

#include <cstddef>
#include <string_view>

#include "engine/contact_text.h"

namespace brevant {

// The fields of a CSV file (RFC 4180) in UTF-8. A field is quoted when it holds
// a comma, a quote or a line break, with its quotes doubled. A value that a
// spreadsheet would run as a formula gets an apostrophe in front, so that a
// contact file cannot plant one: those starting with "=", "@", a tab or a
// carriage return, and those starting with "+" or "-" unless the rest is a
// telephone number (digits, blanks, dots, dashes and parentheses only), so that
// "+1 555-0100" stays as it is.

// Whether the value, in any ASCII-compatible encoding or UTF-16, needs the apostrophe.
template <class Ch>
bool RunsAsFormula(std::basic_string_view<Ch> value) {
  if (value.empty()) return false;
  switch (value.front()) {
    case Ch('='):
    case Ch('@'):
    case Ch('\t'):
    case Ch('\r'):
      return true;
    case Ch('+'):
    case Ch('-'):
      for (const Ch c : value.substr(1)) {
        const bool phone = (c >= Ch('0') && c <= Ch('9')) || c == Ch(' ') || c == Ch('.') || c == Ch('-') ||
                           c == Ch('(') || c == Ch(')');
        if (!phone) return true;
      }
      return false;
    default:
      return false;
  }
}

// Most values go into the file as they are: ASCII without anything to quote,
// and not taken for a formula. Copies such a value to `out` and gives the end
// of the copy; gives nullptr for any other value, whose field is then still to
// be written at `out`.
char* PutPlainField(char* out, std::string_view value);

// Whether the field must stand in quotes: it holds a comma, a quote, a carriage return or a line feed.
bool NeedsQuotes(std::string_view value);
bool NeedsQuotes(std::u16string_view value);

// Writing text into a field at `out`, with its quotes doubled, takes at most
// this many bytes a byte or UTF-16 unit of the text.
inline constexpr std::size_t kMostFieldBytesPerUnit = 3;

// Writes text into a field and gives the end of what it wrote: UTF-8 bytes as
// they are, or bytes read as Windows-1252 turned into UTF-8.
char* PutCsvText(char* out, std::string_view bytes, ByteEncoding encoding);
// UTF-16 text turned into UTF-8; a lone surrogate becomes U+FFFD.
char* PutCsvText(char* out, std::u16string_view chars);

}  // namespace brevant
