#include "engine/single_conversion.h"

#include <algorithm>
#include <string>

#include "engine/column_index.h"
#include "engine/contact_conversion.h"
#include "engine/conversion_run.h"
#include "engine/document_output.h"
#include "engine/engine_errors.h"
#include "engine/html_document.h"
#include "engine/input_cells.h"
#include "engine/progress.h"
#include "engine/single_document_inputs.h"
#include "support/file_helpers.h"
#include "support/path_helpers.h"

namespace brevant {

namespace {

// Numbers of the statements that error boxes quote.
enum Statement : int {
  kFirstSweepRead = 110,
  kFirstSweepScan = 122,
  kSecondSweepRead = 482,
  kSecondSweepScan = 494,
  kWriteDocument = 842,
};

ColumnIndex CollectColumns(Host& host, const std::vector<Text>& inputs, const StatementReporter& errors,
                           InputSweeps& sweeps, RunSummary& summary) {
  ColumnIndex columns;
  for (std::size_t f = 1; f <= inputs.size(); ++f) {
    host.setProgressPosition(WholePercent(f, inputs.size()));
    const InputText& input = sweeps.read(f - 1, inputs[f - 1], errors, kFirstSweepRead);
    bool anyCell = false;
    try {
      const std::uint64_t blocks =
          ForEachCell(input, Acceptance::EveryTypeName, CellValues::Omitted, [&](CaptionKey caption, auto) {
            anyCell = true;
            columns.addIfAbsent(caption);
          });
      // Nothing read: a missing file, or one whose read failure was reported.
      if (!input.ansi().empty()) host.noteVcardBlocks(inputs[f - 1], blocks);
    } catch (...) {
      errors.reportCurrentException(kFirstSweepScan, inputs[f - 1]);
    }
    if (!anyCell) ++summary.nothingToConvert;
  }
  return columns;
}

// One text per column; a caption met again in the file overwrites its entry,
// so the last value stands.
class RowBuffer {
 public:
  explicit RowBuffer(std::size_t columns) : entries_(columns) {}

  void clear() {
    for (std::string& entry : entries_) entry.clear();
  }
  template <class Ch>
  void set(std::int32_t position, std::basic_string_view<Ch> value) {
    if (position < 0) return;  // a caption that was not there in the first sweep
    std::string& entry = entries_[static_cast<std::size_t>(position)];
    entry.clear();
    AppendCellValue(entry, value);
  }
  void appendRow(std::string& out) const {
    out += kRowStart;
    for (const std::string& entry : entries_) {
      AppendDataCellStart(out);
      out += entry;
      AppendDataCellEnd(out);
    }
    out += kRowEnd;
  }

 private:
  std::vector<std::string> entries_;
};

}  // namespace

void ConvertVCFToSingleHTML(Host& host, const Text& outputPath) {
  RunSummary summary;
  ConvertVCFToSingleHTML(host, outputPath, summary);
}

void ConvertVCFToSingleHTML(Host& host, const Text& outputPath, RunSummary& summary) {
  const StatementReporter errors(host, EngineTag(u"ConvertVCFToSingleHTML"), true);
  const std::string opening = OpeningPiece(host);
  // Rows added or removed while the conversion yields do not shift what it converts.
  const std::vector<Text> inputs = host.inputPaths();
  if (host.oneRowPerContact()) return ConvertContactsToSingleHTML(host, errors, inputs, outputPath, summary);

  summary.inputs = inputs.size();
  InputSweeps sweeps;
  const ColumnIndex columns = CollectColumns(host, inputs, errors, sweeps, summary);
  if (columns.empty()) return;  // no document, and an earlier one stays as it is

  // Memory may run out while a row of huge values is written; the earlier
  // document then stays, and the box names the write.
  try {
    DocumentOutput document(outputPath);
    std::string piece = opening;
    piece += kRowStart;
    for (std::size_t i = 0; i < columns.size(); ++i) AppendHeaderCell(piece, columns.at(i));
    piece += kRowEnd;
    document.write(piece);

    RowBuffer row(columns.size());
    for (std::size_t f = 1; f <= inputs.size(); ++f) {
      const Text& path = inputs[f - 1];
      host.setProgressPosition(WholePercent(f, inputs.size()));
      host.setProgressCaption(kProcessingPrefix + GetFileName(path));
      host.yield();
      const InputText& input = sweeps.read(f - 1, path, errors, kSecondSweepRead);
      row.clear();
      try {
        ForEachCell(input, Acceptance::EveryTypeName, CellValues::Cleaned,
                    [&](CaptionKey caption, auto value) { row.set(columns.find(caption), value); });
      } catch (...) {
        errors.reportCurrentException(kSecondSweepScan, path);
      }
      piece.clear();
      row.appendRow(piece);
      document.write(piece);
    }
    CommitSingleDocument(document, outputPath, inputs, errors, kWriteDocument, summary);
  } catch (...) {
    errors.reportCurrentException(kWriteDocument, outputPath);
  }
}

std::int32_t isHeaderExists(TextView caption, const std::vector<Text>& columns) {
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (columns[i] == caption) return static_cast<std::int32_t>(i);
  }
  return -1;
}

}  // namespace brevant
