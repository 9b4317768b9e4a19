#include "engine/separate_conversion.h"

#include <vector>

#include "engine/document_output.h"
#include "engine/engine_errors.h"
#include "engine/html_document.h"
#include "engine/input_cells.h"
#include "engine/progress.h"
#include "support/file_helpers.h"
#include "support/path_helpers.h"

namespace brevant {

namespace {

// Numbers of the statements that error boxes quote.
enum Statement : int {
  kRemoveEarlierResult = 110,
  kReadInput = 112,
  kScanLines = 128,
  kWriteDocument = 546,
};

// Every cell of the file becomes a column of its own, in file order. The data
// row is kept as the bytes it is written as; each cell remembers where its
// data cell ends.
class CellColumns {
 public:
  template <class Ch>
  void add(CaptionKey caption, std::basic_string_view<Ch> value) {
    AppendDataCellStart(dataRow_);
    AppendCellValue(dataRow_, value);
    AppendDataCellEnd(dataRow_);
    cells_.push_back(Column{caption, dataRow_.size()});
  }

  std::size_t size() const { return cells_.size(); }
  CaptionKey caption(std::size_t i) const { return cells_[i].caption; }
  std::string_view dataCell(std::size_t i) const {
    const std::size_t begin = i == 0 ? 0 : cells_[i - 1].dataEnd;
    return std::string_view(dataRow_).substr(begin, cells_[i].dataEnd - begin);
  }

 private:
  struct Column {
    CaptionKey caption;
    std::size_t dataEnd;
  };
  std::vector<Column> cells_;
  std::string dataRow_;
};

}  // namespace

Text SeparateOutputPath(Host& host, const Text& inputPath) {
  const Text baseName = StripExtension(GetFileName(inputPath));
  const Text separator(1, Separator());
  if (host.saveToChosenFolder()) return CollapseBackslashes(host.chosenFolder() + separator + baseName + u".htm");
  if (host.saveBesideInput()) return CollapseBackslashes(GetFolderPath(inputPath) + separator + baseName + u".htm");
  return Text();
}

void ConvertVCFToSeparateHTML(Host& host, const Text& inputPath) {
  const StatementReporter errors(host, EngineTag(u"ConvertVCFToSeparateHTML"), false);
  const std::string opening = OpeningPiece(host);
  const Text outputPath = SeparateOutputPath(host, inputPath);

  // Removing the earlier result first would destroy an input that is its own output.
  if (!outputPath.empty() && IsSameFile(outputPath, inputPath)) {
    errors.report(kRemoveEarlierResult, kOutputWouldOverwriteInput);
    return;
  }
  host.yield();
  DeleteFileSafe(outputPath);

  CellColumns columns;
  {
    InputText input;
    try {
      input = ReadInput(inputPath);
    } catch (...) {
      errors.reportCurrentException(kReadInput);
    }
    try {
      ForEachCell(input, Acceptance::ParametersOnly,
                  [&columns](CaptionKey caption, auto value) { columns.add(caption, value); });
    } catch (...) {
      errors.reportCurrentException(kScanLines);
    }
  }  // the input text is dropped before the document is written
  if (columns.size() == 0) return;

  DocumentOutput document(outputPath);
  document.write(opening);
  document.write(kRowStart);
  const std::size_t last = columns.size() - 1;
  std::string header;
  for (std::size_t i = 0; i <= last; ++i) {
    host.yield();
    if (last > 0) host.setProgressPosition(WholePercent(i, last));
    header.clear();
    AppendHeaderCell(header, columns.caption(i));
    document.write(header);
  }
  document.write(kHeaderToDataJoint);
  for (std::size_t i = 0; i <= last; ++i) {
    host.yield();
    if (last > 0) host.setProgressPosition(WholePercent(i, last));
    document.write(columns.dataCell(i));
  }
  document.write(kRowEnd);
  document.write(kClosing);
  try {
    document.commit();
  } catch (...) {
    errors.reportCurrentException(kWriteDocument);
  }
}

}  // namespace brevant
