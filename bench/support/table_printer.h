#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace brevant::bench {

// A plain-text table with aligned columns: numbers to the right, words to the
// left. Cells are given as finished texts; a missing cell prints empty.
class TablePrinter {
 public:
  enum class Align { Left, Right };

  void addColumn(std::string header, Align align);
  void addRow(std::vector<std::string> cells);
  void print(std::FILE* to) const;

 private:
  struct Column {
    std::string header;
    Align align;
  };
  std::vector<Column> columns_;
  std::vector<std::vector<std::string>> rows_;
};

// A number with a fixed count of decimals ("12.35").
std::string Fixed(double value, int decimals);

}  // namespace brevant::bench
