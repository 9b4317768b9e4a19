#pragma once

#include <map>
#include <string>
#include <vector>

#include "test_support/csv_table.h"

namespace brevant::test {

struct XlsxCell {
  std::string text;  // as a spreadsheet shows it: references and "_xHHHH_" escapes decoded
  std::string type;  // the t attribute ("s": a shared string); empty for a cell that is not there
  int style = 0;     // the s attribute
  bool operator==(const XlsxCell&) const = default;
};

// An .xlsx file read back: its zip archive entry by entry (each inflated with
// zlib and checked against its size and CRC-32), its parts, and the cells of
// its one worksheet by their references, a shared string's text in its cell.
struct XlsxText {
  bool zipWhole = false;                     // every entry read back whole, headers and directory agreeing
  bool xmlWellFormed = false;                // every part read by the XML parser (where the build has one)
  std::string problem;                       // the first thing that was wrong
  std::vector<std::string> entries;          // names, in the archive's order
  std::map<std::string, std::string> parts;  // name to content
  std::vector<std::vector<XlsxCell>> rows;   // a missing cell is an empty XlsxCell
  std::vector<double> widths;                // a column's width, 0 where none is given
  std::vector<double> heights;               // a row's height in points, 0 where none is given
  bool headerFrozen = false;                 // the view's pane is frozen below row 1
  bool firstColumnFrozen = false;            // and right of column A

  // The texts of the cells, each row up to its last cell.
  Cells texts() const;
};

// Reads with libxml2 where the build has it (every Linux build); elsewhere
// reads the worksheet with patterns and leaves xmlWellFormed false.
XlsxText ReadXlsx(const std::string& bytes);

}  // namespace brevant::test
