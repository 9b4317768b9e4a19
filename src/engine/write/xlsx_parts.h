#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/write/xlsx_cell.h"
#include "engine/write/zip_writer.h"

namespace brevant {

// A part the same in every workbook, compressed once.
struct FixedPart {
  std::string_view name;
  DeflatedText text;
};
// The parts of a workbook of one worksheet, "Contacts", besides the sheet and
// its strings: content types, relationships, the workbook (its header row
// printed on every page) and the styles.
const std::vector<FixedPart>& WorkbookParts();

inline constexpr std::string_view kSheetPartName = "xl/worksheets/sheet1.xml";
// The sheet's texts: its cells hold their numbers in this table, as
// spreadsheets do (some show no text that a cell holds itself).
inline constexpr std::string_view kSharedStringsPartName = "xl/sharedStrings.xml";
// The table's start, once it is known how many cells name a text and how many texts it holds.
std::string SharedStringsOpening(std::uint64_t uses, std::uint64_t texts);
inline constexpr std::string_view kSharedStringsClosing = "</sst>";

// The one style of a cell in styles.xml: every cell aligned to the top of its
// row, the header row in bold, a long or broken text wrapped within its column,
// a header cell that wraps both (a cell with two s attributes is no XML).
inline std::string_view CellStyle(bool header, bool wrapped) {
  if (header) return wrapped ? " s=\"3\"" : " s=\"1\"";
  return wrapped ? " s=\"2\"" : "";
}

// The characters a column holds on one line, given the widest line seen in it.
inline std::size_t ColumnCharacters(std::size_t widest) {
  return std::clamp<std::size_t>(widest, 6, kWidestColumn);
}

// The worksheet up to its first row: the header row frozen (it stays in view
// while the rows scroll), the first column too when it holds the names (it
// stays in view while the columns scroll), and the columns' widths from the
// widest line seen in each, in characters.
std::string SheetOpening(const std::vector<std::uint16_t>& widths, bool nameColumn = false);
// After the last row; the sheet prints in landscape, as the document does.
inline constexpr std::string_view kSheetClosing =
    "</sheetData><pageSetup orientation=\"landscape\"/></worksheet>";

}  // namespace brevant
