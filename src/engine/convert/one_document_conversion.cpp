#include "engine/convert/one_document_conversion.h"

#include <algorithm>
#include <string>

#include "engine/convert/contact_conversion.h"
#include "engine/convert/one_document_inputs.h"
#include "engine/convert/table_options.h"
#include "engine/progress.h"
#include "engine/scan/column_index.h"
#include "engine/scan/input_cells.h"
#include "engine/scan/kept_values.h"
#include "engine/statement_reporter.h"
#include "engine/write/beside_files.h"
#include "engine/write/document_output.h"
#include "engine/write/document_pieces.h"
#include "engine/write/html_document.h"
#include "engine/write/line_table.h"
#include "support/files/file_helpers.h"
#include "support/files/path_helpers.h"

namespace brevant {

namespace {

ColumnIndex CollectColumns(Host& host, const std::vector<Text>& inputs, const StatementReporter& errors,
                           InputSweeps& sweeps, RunSummary& summary) {
  ColumnIndex columns;
  for (std::size_t f = 1; f <= inputs.size(); ++f) {
    host.setProgressPosition(WholePercent(f, inputs.size()));
    host.yield();  // a hundred thousand small files take a while too
    const InputText& input = sweeps.read(f - 1, inputs[f - 1], errors, kFirstSweepRead);
    bool anyCell = false;
    try {
      const std::uint64_t blocks = ForEachCell(
          input, Acceptance::EveryTypeName, CellValues::Omitted,
          [&](CaptionKey caption, auto) {
            anyCell = true;
            columns.addIfAbsent(caption);
          },
          [&host] { host.yield(); });
      // Nothing read: a missing file, or one whose read failure was reported.
      if (!input.ansi().empty()) host.noteVcardBlocks(inputs[f - 1], blocks);
    } catch (...) {
      errors.reportCurrentException(kFirstSweepScan, inputs[f - 1]);
      sweeps.failed(f - 1);
    }
    if (!anyCell && !sweeps.lost(f - 1)) summary.foundNothingIn(inputs[f - 1]);
  }
  return columns;
}

// Writes a row of many cells in pieces, with a turn for the host now and then.
class RowCells {
 public:
  explicit RowCells(Host& host) : host_(host) {}
  void next() {
    if (++cells_ % kCellsBetweenYields == 0) host_.yield();
  }

 private:
  Host& host_;
  std::size_t cells_ = 0;
};

void WriteHeaderRow(LineTable& table, Host& host, const ColumnIndex& columns) {
  RowCells cells(host);
  table.pieces().append(kRowStart);
  for (std::size_t i = 0; i < columns.size(); ++i) {
    cells.next();
    table.headerCell(columns.at(i));
  }
  table.endRow(kRowEnd);
}

// One value per column for the file at hand; a caption met again in the file
// overwrites its entry, so the last value stands. An entry takes eight bytes,
// and a value stays where the file's text holds it.
class RowBuffer {
 public:
  explicit RowBuffer(std::size_t columns) : entries_(columns, 0) {}

  void startFile(const InputText& input) {
    std::fill(entries_.begin(), entries_.end(), 0);
    utf16_ = input.utf16();
    if (utf16_) {
      chars_.startFile(input.chars());
    } else {
      bytes_.startFile(input.ansi());
    }
  }
  void set(std::int32_t position, std::string_view value) { set(position, value, bytes_); }
  void set(std::int32_t position, std::u16string_view value) { set(position, value, chars_); }

  void appendRow(LineTable& table, Host& host) const {
    if (utf16_) {
      appendRow(table, host, chars_);
    } else {
      appendRow(table, host, bytes_);
    }
  }

 private:
  template <class Ch>
  void appendRow(LineTable& table, Host& host, const KeptValues<Ch>& values) const {
    RowCells cells(host);
    table.pieces().append(kRowStart);
    for (std::size_t i = 0; i < entries_.size(); ++i) {
      cells.next();
      table.dataCell(values.value(entries_[i]));
    }
    table.endRow(kRowEnd);
    table.pieces().passOnWhenFull();
  }

  template <class Ch>
  void set(std::int32_t position, std::basic_string_view<Ch> value, KeptValues<Ch>& values) {
    if (position < 0) return;  // a caption that was not there in the first sweep
    entries_[static_cast<std::size_t>(position)] = values.keep(value);
  }

  std::vector<std::uint64_t> entries_;
  bool utf16_ = false;
  KeptValues<char> bytes_;
  KeptValues<char16_t> chars_;
};

}  // namespace

void ConvertToOneDocument(Host& host, const Text& outputPath) {
  RunSummary summary;
  ConvertToOneDocument(host, outputPath, summary);
}

void ConvertToOneDocument(Host& host, const Text& outputPath, RunSummary& summary) {
  const StatementReporter errors(host, Procedure::OneDocumentConversion);
  const std::string opening = OpeningPiece(host, DocumentMarkup::Xhtml);
  // Rows added or removed while the conversion yields do not shift what it converts.
  const std::vector<Text> inputs = host.inputPaths();
  const FormatChoice chosen = FormatChoice::Of(host);
  if (host.oneRowPerContact())
    return ConvertContactsToOneDocument(host, errors, inputs, outputPath, chosen, summary);

  summary.inputs = inputs.size();
  InputSweeps sweeps(host, summary);
  const ColumnIndex columns = CollectColumns(host, inputs, errors, sweeps, summary);
  if (columns.empty()) return;  // no document, and an earlier one stays as it is

  // Memory may run out while a row of huge values is written; the earlier
  // document then stays, and the box names the write.
  try {
    DocumentOutput document(outputPath);
    BesideFiles beside;
    beside.openBeside(outputPath, chosen, TurnsOf(host), ExistingTarget::KeepReadOnly);
    DocumentPieces pieces(document, TurnsOf(host), DocumentMarkup::Xhtml);
    LineTable table(pieces, beside.any() ? &beside : nullptr);
    pieces.append(opening);
    WriteHeaderRow(table, host, columns);

    RowBuffer row(columns.size());
    sweeps.secondSweep(
        inputs, errors,
        [&](const InputText& input) {
          row.startFile(input);
          ForEachCell(
              input, Acceptance::EveryTypeName, CellValues::Cleaned,
              [&](CaptionKey caption, auto value) { row.set(columns.find(caption), value); },
              [&host] { host.yield(); });
        },
        [&] { row.appendRow(table, host); });
    pieces.passOn();
    CommitOneDocument(document, beside, outputPath, inputs, errors, kWriteOneDocument, summary);
  } catch (...) {
    if (errors.reportCurrentException(kWriteOneDocument, outputPath)) sweeps.allFailed(inputs.size());
  }
}

std::int32_t isHeaderExists(TextView caption, const std::vector<Text>& columns) {
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (columns[i] == caption) return static_cast<std::int32_t>(i);
  }
  return -1;
}

}  // namespace brevant
