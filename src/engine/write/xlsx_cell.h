#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "engine/text/text_encodings.h"
#include "support/text/byte_search.h"

namespace brevant {

// What a worksheet holds at most, as spreadsheets count: beyond these Excel
// calls the file damaged.
inline constexpr std::size_t kSheetColumns = 16384;
inline constexpr std::uint64_t kSheetRows = 1048576;
inline constexpr std::size_t kCellUnits = 32767;  // UTF-16 units of one cell's text

// A column is at most this many characters wide; longer lines wrap.
inline constexpr std::size_t kWidestColumn = 60;

// Writes the letters of a column (0 is "A", 26 is "AA", 16383 "XFD") and gives their end.
inline char* PutColumnName(char* out, std::size_t column) {
  if (column >= 26 * 27) {
    const std::size_t rest = column - 26 * 27;
    *out++ = static_cast<char>('A' + rest / (26 * 26));
    *out++ = static_cast<char>('A' + rest / 26 % 26);
    *out++ = static_cast<char>('A' + rest % 26);
  } else if (column >= 26) {
    *out++ = static_cast<char>('A' + column / 26 - 1);
    *out++ = static_cast<char>('A' + column % 26);
  } else {
    *out++ = static_cast<char>('A' + column);
  }
  return out;
}

// What writing a cell's text found out.
struct CellText {
  std::size_t wrapAt = kWidestColumn;  // given: the characters its column holds on one line
  bool cut = false;                    // longer than a cell holds: its first kCellUnits were written
  std::size_t widest = 0;              // its longest line in the widths of a monospaced font (CJK counts two)
  std::size_t lines = 0;  // the lines it takes in its column, its own line breaks and the wrapped ones
};

// The lines a line of `width` characters takes in a column that holds `wrapAt`.
inline std::size_t WrappedLines(std::size_t width, std::size_t wrapAt) {
  return width <= wrapAt ? 1 : (width + wrapAt - 1) / wrapAt;
}

// Writing a cell's text takes at most this many bytes for each unit
// (character, byte or UTF-16 unit) of it, and for at most kCellUnits units.
inline constexpr std::size_t kMostSheetBytesPerUnit = 7;
inline constexpr std::size_t kMostSheetTextBytes = kCellUnits * kMostSheetBytesPerUnit;

// Writes a value as the text of an inline string in UTF-8: "&", "<" and ">"
// escaped, a line break as one line feed (LF, CR LF or CR alike), the control
// characters XML cannot hold left out (as the XHTML document leaves them out),
// and an underscore that would start one of the spreadsheet's own escapes
// ("_x0041_" for "A") escaped itself, so that the text comes back as written.
// Bytes are read in their encoding (a byte that is no part of a valid UTF-8
// sequence as Windows-1252). Gives the end.
char* PutSheetText(char* out, std::string_view bytes, ByteEncoding encoding, CellText& text);
char* PutSheetText(char* out, std::u16string_view chars, CellText& text);

namespace sheet_detail {
// Bytes a text cannot simply hold: beyond ASCII, controls (a line break among
// them) and the three XML escapes.
constexpr std::uint64_t Special(std::uint64_t eight) {
  return byte_words::HighByte(eight) | byte_words::ControlByte(eight) | byte_words::Byte(eight, '&') |
         byte_words::Byte(eight, '<') | byte_words::Byte(eight, '>');
}
}  // namespace sheet_detail

// Whether the text holds "_xHHHH_", which a spreadsheet would read as one character.
bool HoldsSheetEscape(std::string_view text);

// Whether the value goes into a cell as it is: printable ASCII without an
// escape, short enough for a cell. Inline: it runs for nearly every cell.
inline bool IsPlainSheetText(std::string_view value) {
  const std::size_t size = value.size();
  if (size > kCellUnits) return false;
  const char* in = value.data();
  std::uint64_t special = 0;
  std::uint64_t underscore = 0;
  std::uint64_t eight;
  if (size >= 8) {
    // The last eight may overlap the ones before.
    for (std::size_t i = 0;; i += 8) {
      if (i + 8 > size) i = size - 8;
      eight = byte_words::Load(in + i);
      special |= sheet_detail::Special(eight);
      underscore |= byte_words::Byte(eight, '_');
      if (i + 8 == size) break;
    }
  } else {
    for (std::size_t i = 0; i < size; ++i) {
      const auto byte = static_cast<unsigned char>(in[i]);
      special |= byte < 0x20 || byte >= 0x80 || byte == '&' || byte == '<' || byte == '>';
      underscore |= byte == '_';
    }
  }
  return special == 0 && (underscore == 0 || !HoldsSheetEscape(value));
}

}  // namespace brevant
