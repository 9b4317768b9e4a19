#pragma once

#include <string>
#include <vector>

namespace brevant::test {

using Cells = std::vector<std::vector<std::string>>;  // rows of cells, the header row first

// A CSV file read as RFC 4180 has it: fields separated by commas, records
// ending in CR LF, a field in quotes holding commas, quotes (doubled) and line
// breaks. Anything else (a quote inside an unquoted field, a bare line feed
// between records, text after a closing quote) makes it not well-formed.
struct CsvText {
  bool byteOrderMark = false;  // starts with the UTF-8 mark
  bool wellFormed = false;
  std::string problem;  // where it stopped being well-formed
  Cells records;
};
CsvText ReadCsv(const std::string& bytes);

// The cells of a table document as a browser shows them, every cell in order:
// a document of the line scanner (escapes and the leading "&nbsp;" undone) or
// one with one row per contact (a "<br/>" as a line feed).
Cells DocumentCells(const std::string& document);

}  // namespace brevant::test
