#include "engine/convert/per_input_conversion.h"

#include <optional>
#include <vector>

#include "engine/convert/contact_conversion.h"
#include "engine/convert/table_options.h"
#include "engine/progress.h"
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

// Numbers of the statements that error boxes quote.
enum Statement : int {
  kRemoveEarlierResult = 110,
  kReadInput = 112,
  kScanLines = 128,
  kWriteDocument = 546,
};

// Every cell of the file becomes a column of its own, in file order. Each cell
// is kept in eight bytes: its caption, and where its value is kept. The numbers
// of numbered captions are not kept: each is one more than the cells of its
// kind before it.
template <class Ch>
class FileCells {
 public:
  explicit FileCells(std::basic_string_view<Ch> text) : text_(text) { values_.startFile(text); }

  // Room for a cell every 16 characters, more than vCards give; pages of room
  // that stay unused cost nothing.
  void reserve() { cells_.reserve(text_.size() / 16); }

  static_assert(kCaptionCount <= KeptValues<Ch>::kUserMask + 1);

  void add(CaptionKey caption, std::basic_string_view<Ch> value) {
    cells_.push_back(values_.keep(value) | static_cast<std::uint64_t>(caption.caption));
  }

  std::size_t size() const { return cells_.size(); }
  Caption caption(std::size_t i) const { return static_cast<Caption>(cells_[i] & KeptValues<Ch>::kUserMask); }
  std::basic_string_view<Ch> value(std::size_t i) const {
    return values_.value(cells_[i] & ~KeptValues<Ch>::kUserMask);
  }

 private:
  std::basic_string_view<Ch> text_;
  std::vector<std::uint64_t> cells_;
  KeptValues<Ch> values_;
};

// Numbers the captions of a file's cells again, in order, as the line rules did:
// e-mail, web-site, business and home telephone captions count up from 1.
class CaptionNumbering {
 public:
  CaptionKey next(Caption caption) {
    switch (caption) {
      case Caption::EmailAddress:
        return {caption, counters_.email++};
      case Caption::Website:
        return {caption, counters_.website++};
      case Caption::BusinessPhone:
        return {caption, counters_.businessPhone++};
      case Caption::HomePhone:
        return {caption, counters_.homePhone++};
      default:
        return {caption, 1};
    }
  }

 private:
  OccurrenceCounters counters_;
};

// Writes the cells of a row one after the other: before every cell the window
// system gets its turn and the bar moves on, from 0 at the first cell to 100 at
// the last (a row of one cell leaves the bar alone).
class CellWriter {
 public:
  CellWriter(Host& host, LineTable& table, std::size_t cellsPerRow)
      : host_(host), table_(table), last_(cellsPerRow - 1) {}

  // Before the next cell.
  void next() {
    host_.yield();
    if (last_ > 0 && steps_.changesAt(index_)) host_.setProgressPosition(steps_.at(index_));
    ++index_;
  }

  void endRow(std::string_view joint) {
    table_.endRow(joint);
    table_.pieces().passOn();
    index_ = 0;
    steps_ = PercentSteps(last_);
  }

 private:
  Host& host_;
  LineTable& table_;
  std::size_t last_;
  std::size_t index_ = 0;
  PercentSteps steps_{last_};
};

// Reads the cells of the text and writes the document: a header row and a data
// row with a column for every cell, and the same rows to the files beside it. The document at the path is
// replaced only by a complete new one.
template <class Ch>
DocumentOutcome ConvertText(Host& host, const StatementReporter& errors, std::basic_string_view<Ch> text,
                            const std::string& opening, const Text& inputPath, const Text& outputPath,
                            const TargetLook& target, BesideFiles* beside) {
  FileCells<Ch> cells(text);
  try {
    cells.reserve();
    // Reading a large file takes a while: the window gets its turns meanwhile too.
    const std::uint64_t blocks = ForEachCellOfText(
        text, Acceptance::ParametersOnly, CellValues::Cleaned,
        [&cells](CaptionKey caption, std::basic_string_view<Ch> value) { cells.add(caption, value); },
        [&host] { host.yield(); });
    if (!text.empty()) host.noteVcardBlocks(inputPath, blocks);  // empty: a missing file
  } catch (...) {
    errors.reportCurrentException(kScanLines, inputPath);
    return DocumentOutcome::Failed;
  }
  if (cells.size() == 0) return DocumentOutcome::NoCells;

  // Memory may run out while a row of huge values is written; the earlier
  // document then stays, and the box names the write.
  try {
    DocumentOutput document(outputPath, ExistingTarget::Replace, &target);
    DocumentPieces pieces(document, TurnsOf(host));
    pieces.append(opening);
    pieces.append(kRowStart);
    LineTable table(pieces, beside);
    CellWriter row(host, table, cells.size());
    CaptionNumbering numbering;
    for (std::size_t i = 0; i < cells.size(); ++i) {
      row.next();
      table.headerCell(numbering.next(cells.caption(i)));
    }
    row.endRow(kHeaderToDataJoint);
    for (std::size_t i = 0; i < cells.size(); ++i) {
      row.next();
      table.dataCell(cells.value(i));
    }
    row.endRow(kRowEnd);
    pieces.append(kClosing);
    pieces.passOn();
    // The document and the files beside it go in place together, or none does.
    if (!CommitWithBesideFiles(document, beside, errors, kWriteDocument)) return DocumentOutcome::Failed;
    return DocumentOutcome::Written;
  } catch (...) {
    errors.reportCurrentException(kWriteDocument, outputPath);
    return DocumentOutcome::Failed;
  }
}

}  // namespace

Text PerInputDocumentPath(Host& host, const Text& inputPath) {
  const Text folder =
      host.destination() == Destination::ChosenFolder ? host.chosenFolder() : GetFolderPath(inputPath);
  return CollapseBackslashes(folder + Separator() + StripExtension(GetFileName(inputPath)) + u".htm");
}

void ConvertPerInput(Host& host, const Text& inputPath) {
  PerInputRun run({inputPath});
  ConvertPerInput(host, inputPath, run);
}

void ConvertPerInput(Host& host, const Text& inputPath, PerInputRun& run) {
  const StatementReporter errors(host, Procedure::PerInputConversion);
  const std::string opening = OpeningPiece(host);
  Text outputPath = PerInputDocumentPath(host, inputPath);
  // One look at what stands there answers every question before the write.
  TargetLook target = LookAtTarget(outputPath);
  outputPath = run.unwrittenPath(outputPath, target);

  // An input of the run, this one or another, is never deleted or replaced.
  if (run.isInput(outputPath, target)) {
    errors.report(kRemoveEarlierResult, kOutputWouldOverwriteInput, outputPath);
    run.failedInput();
    return;
  }
  // Nor by a file beside the document, then the document comes without it;
  // one look at its path answers this and the write's questions.
  BesideFiles beside;
  const FormatChoice chosen = FormatChoice::Of(host);
  for (const OutputFormatInfo& format : kOutputFormats) {
    if (!chosen[format.format]) continue;
    const Text path = PathBeside(outputPath, format.format);
    const TargetLook look = LookAtTarget(path);
    if (run.isInput(path, look)) {
      errors.report(kRemoveEarlierResult, kOutputWouldOverwriteInput, path);
    } else {
      beside.openAt(format.format, path, TurnsOf(host), ExistingTarget::Replace, &look);
    }
  }
  host.yield();

  // A failed read leaves the earlier document as it was.
  InputText input;
  try {
    input = ReadInput(inputPath,
                      {.betweenPieces = [&host] { host.yield(); }, .knownSize = run.knownSize(inputPath)});
  } catch (...) {
    errors.reportCurrentException(kReadInput, inputPath);
    run.failedInput();
    return;
  }
  const std::uint64_t committedBefore = CommittedDocumentBytes();
  BesideFiles* const files = beside.any() ? &beside : nullptr;
  const DocumentOutcome outcome =
      host.oneRowPerContact()
          ? ConvertContactsPerInput(host, errors, input, inputPath, outputPath, files, run.leftOut(), &target)
      : input.utf16()
          ? ConvertText(host, errors, input.chars(), opening, inputPath, outputPath, target, files)
          : ConvertText(host, errors, input.ansi(), opening, inputPath, outputPath, target, files);
  if (outcome == DocumentOutcome::Written) {
    run.wrote(outputPath, CommittedDocumentBytes() - committedBefore);
    for (const BesideFiles::Entry* file : beside.written())
      run.wroteBeside(file->format, file->file->path(), file->file->valuesCut());
  }
  if (outcome == DocumentOutcome::Failed) run.failedInput();
  // An input with nothing to convert, a missing one too, leaves no earlier
  // result of its name behind.
  if (outcome == DocumentOutcome::NoCells) {
    if (input.missing()) {
      run.foundMissing(inputPath);
    } else {
      run.foundNothing(inputPath);
    }
    DeleteFileSafe(outputPath);
    for (const BesideFiles::Entry& file : beside.files()) DeleteFileSafe(file.file->path());
  }
}

}  // namespace brevant
