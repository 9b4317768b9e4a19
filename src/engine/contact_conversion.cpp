#include "engine/contact_conversion.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <stdexcept>

#include "engine/ascii_html.h"
#include "engine/column_index.h"
#include "engine/contact_reader.h"
#include "engine/conversion_run.h"
#include "engine/document_output.h"
#include "engine/html_document.h"
#include "engine/progress.h"
#include "engine/single_document_inputs.h"
#include "support/file_helpers.h"
#include "support/path_helpers.h"

namespace brevant {

namespace {

// Numbers of the statements that error boxes quote, as in the two conversions.
enum Statement : int {
  kSeparateScan = 128,
  kSeparateWrite = 546,
  kFirstSweepRead = 110,
  kFirstSweepScan = 122,
  kSecondSweepRead = 482,
  kSecondSweepScan = 494,
  kSingleWrite = 842,
};

// Pieces of about this size go to the document at once.
constexpr std::size_t kPieceSize = std::size_t{1} << 20;

// The values of one row by column; an entry counts only when it was set for
// this row, so starting a row costs nothing however many columns there are.
class RowSlots {
 public:
  void startRow(std::size_t columns) {
    if (values_.size() < columns) {
      values_.resize(columns);
      rows_.resize(columns, 0);
    }
    ++row_;
  }
  void set(std::size_t column, std::string_view value) {
    values_[column] = value;
    rows_[column] = row_;
  }
  // Sized first and then copied, as a row of every column is written for
  // every contact.
  void appendRow(std::string& out, std::size_t columns) const {
    static constexpr std::string_view kCellStart = "<td>&nbsp;";
    static constexpr std::string_view kCellEnd = "</td>";
    std::size_t size = kRowStart.size() + columns * (kCellStart.size() + kCellEnd.size()) + kRowEnd.size();
    for (std::size_t column = 0; column < columns; ++column) {
      if (rows_[column] == row_) size += values_[column].size();
    }
    std::size_t at = out.size();
    out.resize(at + size);
    const auto put = [&out, &at](std::string_view piece) {
      std::memcpy(out.data() + at, piece.data(), piece.size());
      at += piece.size();
    };
    put(kRowStart);
    for (std::size_t column = 0; column < columns; ++column) {
      put(kCellStart);
      if (rows_[column] == row_) put(values_[column]);
      put(kCellEnd);
    }
    put(kRowEnd);
  }

 private:
  std::vector<std::string_view> values_;
  std::vector<std::uint64_t> rows_;
  std::uint64_t row_ = 0;
};

std::string HeaderRow(const std::string& opening, const ColumnIndex& columns) {
  std::string piece = AnsiToAsciiHtml(opening);
  piece += kRowStart;
  for (std::size_t i = 0; i < columns.size(); ++i) AppendHeaderCell(piece, columns.at(i));
  piece += kRowEnd;
  return piece;
}

// All contacts of one input, kept until the document is written: their values
// in one text, and per cell its column and place in that text.
class ContactTable final : public ContactSink {
 public:
  explicit ContactTable(std::size_t inputBytes) {
    // Room that stays unused costs no memory; growing would briefly cost twice.
    text_.reserve(inputBytes);
    cells_.reserve(inputBytes / 32);
  }

  std::string& values() override { return text_; }
  void contact(const Contact& contact) override {
    const std::size_t start = text_.size() - contact.text.size();
    for (const ContactCell& cell : contact.cells) {
      columns_.addIfAbsent(cell.caption);
      if (cell.length > UINT32_MAX) throw std::length_error("A value of 4 GB or more");
      cells_.push_back({static_cast<std::uint32_t>(columns_.find(cell.caption)),
                        static_cast<std::uint32_t>(cell.length), start + cell.offset});
    }
    rowEnds_.push_back(cells_.size());
  }

  const ColumnIndex& columns() const { return columns_; }
  std::size_t rows() const { return rowEnds_.size(); }

  void appendRow(std::size_t row, RowSlots& slots, std::string& out) const {
    slots.startRow(columns_.size());
    for (std::size_t i = row == 0 ? 0 : rowEnds_[row - 1]; i < rowEnds_[row]; ++i) {
      slots.set(cells_[i].column, std::string_view(text_).substr(cells_[i].offset, cells_[i].length));
    }
    slots.appendRow(out, columns_.size());
  }

 private:
  struct Cell {
    std::uint32_t column;
    std::uint32_t length;
    std::uint64_t offset;
  };
  ColumnIndex columns_;
  std::string text_;
  std::vector<Cell> cells_;
  std::vector<std::size_t> rowEnds_;
};

class ColumnCollector final : public ContactSink {
 public:
  explicit ColumnCollector(ColumnIndex& columns) : columns_(columns) {}
  std::string& values() override { return values_; }
  void contact(const Contact& contact) override {
    for (const ContactCell& cell : contact.cells) columns_.addIfAbsent(cell.caption);
    cells_ += contact.cells.size();
    values_.clear();
  }
  std::size_t cells() const { return cells_; }

 private:
  ColumnIndex& columns_;
  std::string values_;
  std::size_t cells_ = 0;
};

// Writes each contact's row as it is read. A caption that was not there in the
// first sweep (the file changed meanwhile) is dropped.
class RowWriter final : public ContactSink {
 public:
  RowWriter(const ColumnIndex& columns, DocumentOutput& document) : columns_(columns), document_(document) {}

  void contact(const Contact& contact) override {
    slots_.startRow(columns_.size());
    for (const ContactCell& cell : contact.cells) {
      const std::int32_t column = columns_.find(cell.caption);
      if (column >= 0) slots_.set(static_cast<std::size_t>(column), contact.value(cell));
    }
    slots_.appendRow(piece_, columns_.size());
    values_.clear();
    if (piece_.size() >= kPieceSize) flush();
  }
  std::string& values() override { return values_; }

  void flush() {
    document_.write(piece_);
    piece_.clear();
  }

 private:
  const ColumnIndex& columns_;
  DocumentOutput& document_;
  RowSlots slots_;
  std::string values_;
  std::string piece_;
};

}  // namespace

DocumentOutcome ConvertContactsToSeparateHTML(Host& host, const StatementReporter& errors,
                                              const InputText& input, const std::string& opening,
                                              const Text& inputPath, const Text& outputPath) {
  const std::size_t inputBytes = input.utf16() ? input.chars().size() * 3 : input.ansi().size();
  ContactTable table(inputBytes);
  try {
    ReadContacts(input, table);
  } catch (...) {
    errors.reportCurrentException(kSeparateScan, inputPath);
    return DocumentOutcome::Failed;
  }
  if (table.columns().empty()) return DocumentOutcome::NoCells;

  try {
    DocumentOutput document(outputPath, ExistingTarget::Replace);
    std::string piece = HeaderRow(opening, table.columns());
    RowSlots slots;
    // The window gets its turn before every row, and the bar runs from 0 to 100 over the rows.
    const std::size_t last = table.rows() - 1;
    PercentSteps steps(last);
    for (std::size_t row = 0; row < table.rows(); ++row) {
      host.yield();
      if (last > 0 && steps.changesAt(row)) host.setProgressPosition(steps.at(row));
      table.appendRow(row, slots, piece);
      if (piece.size() >= kPieceSize) {
        document.write(piece);
        piece.clear();
      }
    }
    piece += kClosing;
    document.write(piece);
    document.commit();
    return DocumentOutcome::Written;
  } catch (...) {
    errors.reportCurrentException(kSeparateWrite, outputPath);
    return DocumentOutcome::Failed;
  }
}

void ConvertContactsToSingleHTML(Host& host, const StatementReporter& errors, const std::string& opening,
                                 const std::vector<Text>& inputs, const Text& outputPath,
                                 RunSummary& summary) {
  summary.inputs = inputs.size();
  ColumnIndex columns;
  ColumnCollector collector(columns);
  InputSweeps sweeps;
  for (std::size_t f = 1; f <= inputs.size(); ++f) {
    host.setProgressPosition(WholePercent(f, inputs.size()));
    const InputText& input = sweeps.read(f - 1, inputs[f - 1], errors, kFirstSweepRead);
    const std::size_t cellsBefore = collector.cells();
    try {
      ReadContacts(input, collector);
    } catch (...) {
      errors.reportCurrentException(kFirstSweepScan, inputs[f - 1]);
    }
    if (collector.cells() == cellsBefore) ++summary.nothingToConvert;
  }
  if (columns.empty()) return;  // no document, and an earlier one stays as it is

  try {
    DocumentOutput document(outputPath);
    document.write(HeaderRow(opening, columns));
    RowWriter rows(columns, document);
    for (std::size_t f = 1; f <= inputs.size(); ++f) {
      const Text& path = inputs[f - 1];
      host.setProgressPosition(WholePercent(f, inputs.size()));
      host.setProgressCaption(kProcessingPrefix + GetFileName(path));
      host.yield();
      const InputText& input = sweeps.read(f - 1, path, errors, kSecondSweepRead);
      try {
        ReadContacts(input, rows);
      } catch (...) {
        errors.reportCurrentException(kSecondSweepScan, path);
      }
    }
    rows.flush();
    CommitSingleDocument(document, outputPath, inputs, errors, kSingleWrite, summary);
  } catch (...) {
    errors.reportCurrentException(kSingleWrite, outputPath);
  }
}

}  // namespace brevant
