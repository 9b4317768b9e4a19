#include "support/table_printer.h"

#include <algorithm>
#include <utility>

namespace brevant::bench {

namespace {

// Widths count bytes; the cells are ASCII, so a byte is a column on the screen.
void AppendCell(std::string& line, const std::string& text, std::size_t width, TablePrinter::Align align) {
  const std::size_t padding = width > text.size() ? width - text.size() : 0;
  if (align == TablePrinter::Align::Right) line.append(padding, ' ');
  line += text;
  if (align == TablePrinter::Align::Left) line.append(padding, ' ');
}

}  // namespace

void TablePrinter::addColumn(std::string header, Align align) {
  columns_.push_back({std::move(header), align});
}

void TablePrinter::addRow(std::vector<std::string> cells) {
  cells.resize(columns_.size());
  rows_.push_back(std::move(cells));
}

void TablePrinter::print(std::FILE* to) const {
  std::vector<std::size_t> widths;
  for (const Column& column : columns_) widths.push_back(column.header.size());
  for (const auto& row : rows_) {
    for (std::size_t i = 0; i < row.size(); ++i) widths[i] = std::max(widths[i], row[i].size());
  }
  auto printLine = [&](auto cellText) {
    std::string line;
    for (std::size_t i = 0; i < columns_.size(); ++i) {
      if (i > 0) line += "  ";
      AppendCell(line, cellText(i), widths[i], columns_[i].align);
    }
    line.erase(line.find_last_not_of(' ') + 1);  // no trailing blanks
    std::fprintf(to, "%s\n", line.c_str());
  };
  printLine([&](std::size_t i) { return columns_[i].header; });
  std::size_t total = 0;
  for (std::size_t width : widths) total += width;
  total += 2 * (widths.empty() ? 0 : widths.size() - 1);
  std::fprintf(to, "%s\n", std::string(total, '-').c_str());
  for (const auto& row : rows_) printLine([&](std::size_t i) { return row[i]; });
}

std::string Fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

}  // namespace brevant::bench
