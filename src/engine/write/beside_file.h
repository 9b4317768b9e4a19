#pragma once

#include <cstdint>
#include <string_view>

#include "engine/scan/captions.h"
#include "engine/statement_reporter.h"
#include "engine/text/text_encodings.h"
#include "engine/write/document_output.h"
#include "support/text/text.h"

namespace brevant {

// A file that holds a document's table once more, beside it, for other
// programs (a CSV file, a workbook): written cell by cell while the document
// is written, and put in place together with it (CommitTogether), never
// without it.
class BesideFile {
 public:
  virtual ~BesideFile() = default;

  virtual const Text& path() const = 0;
  virtual void caption(CaptionKey caption) = 0;
  // A caption of one row per contact, in UTF-8.
  virtual void caption(std::string_view text) = 0;
  // A value of the line scanner: bytes read one a character (taken as UTF-8
  // when they all are, else as Windows-1252) or UTF-16 text, with the carriage
  // return that may end a vCard line.
  virtual void lineValue(std::string_view bytes) = 0;
  virtual void lineValue(std::u16string_view chars) = 0;
  // A decoded value of one row per contact.
  virtual void value(std::string_view bytes, ByteEncoding encoding) = 0;
  virtual void emptyValue() = 0;
  // The next cell starts a new row.
  virtual void endRow() = 0;
  // Ready to be put in place with its document. A file that could not be
  // made is reported at `statement` and gives null; the document then comes
  // without it. Throws when the file cannot be written.
  virtual DocumentOutput* finished(const StatementReporter& errors, int statement) = 0;
  // The file's size once in place.
  virtual std::uint64_t size() const = 0;
  // How many values were longer than the file holds in a cell, and were cut.
  virtual std::uint64_t valuesCut() const { return 0; }
};

}  // namespace brevant
