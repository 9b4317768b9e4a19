#pragma once

#include <optional>
#include <string_view>

#include "engine/host.h"
#include "engine/write/csv_document.h"
#include "engine/write/xlsx_document.h"

namespace brevant {

// Which files for spreadsheets a conversion writes beside its document, read
// from the host once, when it starts.
struct SpreadsheetChoice {
  bool csv = false;
  bool xlsx = false;
  static SpreadsheetChoice Of(Host& host) { return {host.saveCsv(), host.saveXlsx()}; }
  bool any() const { return csv || xlsx; }
};

// The table of a document once more for spreadsheets, beside it: as a CSV file
// and as an .xlsx workbook, each when chosen. Every header cell, value and row
// end goes to each of them as the document is written.
class SpreadsheetFiles {
 public:
  std::optional<CsvDocument> csv;
  std::optional<XlsxDocument> xlsx;

  // Opens the chosen files beside the document at `documentPath`.
  void openBeside(const Text& documentPath, SpreadsheetChoice choice, const Turn& turn,
                  ExistingTarget existing) {
    if (choice.csv) csv.emplace(CsvPathBeside(documentPath), existing, turn);
    if (choice.xlsx) xlsx.emplace(XlsxPathBeside(documentPath), existing, turn);
  }
  bool any() const { return csv || xlsx; }

  void caption(CaptionKey caption) {
    if (csv) csv->caption(caption);
    if (xlsx) xlsx->caption(caption);
  }
  // A caption of one row per contact, in UTF-8.
  void caption(std::string_view text) {
    if (csv) csv->caption(text);
    if (xlsx) xlsx->caption(text);
  }
  // A value of the line scanner: bytes or UTF-16 text.
  template <class Ch>
  void lineValue(std::basic_string_view<Ch> value) {
    if (csv) csv->lineValue(value);
    if (xlsx) xlsx->lineValue(value);
  }
  // A decoded value of one row per contact.
  void value(std::string_view bytes, ByteEncoding encoding) {
    if (csv) csv->value(bytes, encoding);
    if (xlsx) xlsx->value(bytes, encoding);
  }
  void emptyValue() {
    if (csv) csv->emptyValue();
    if (xlsx) xlsx->emptyValue();
  }
  void endRow() {
    if (csv) csv->endRow();
    if (xlsx) xlsx->endRow();
  }

  // Puts the document and these files in place together, or none of them (a
  // failure is reported at `statement`). A workbook that could not be made is
  // reported and left out: the document comes without it. Gives whether the
  // document was placed; csvWritten and xlsxWritten say what went with it.
  bool commitWith(DocumentOutput& document, const StatementReporter& errors, int statement) {
    DocumentOutput* const csvOutput = csv ? &csv->finished() : nullptr;
    DocumentOutput* const xlsxOutput = xlsx ? xlsx->finished(errors, statement) : nullptr;
    if (!CommitTogether({&document, csvOutput, xlsxOutput}, errors, statement)) return false;
    csvWritten = csvOutput != nullptr;
    xlsxWritten = xlsxOutput != nullptr;
    return true;
  }
  bool csvWritten = false;
  bool xlsxWritten = false;
};

// The document with its files for spreadsheets, when it has any (`spreadsheets`
// may be null), in place together (SpreadsheetFiles::commitWith).
inline bool CommitWithSpreadsheets(DocumentOutput& document, SpreadsheetFiles* spreadsheets,
                                   const StatementReporter& errors, int statement) {
  return spreadsheets != nullptr ? spreadsheets->commitWith(document, errors, statement)
                                 : CommitTogether({&document}, errors, statement);
}

}  // namespace brevant
