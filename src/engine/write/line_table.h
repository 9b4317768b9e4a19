#pragma once

#include <string_view>

#include "engine/scan/captions.h"
#include "engine/write/beside_files.h"
#include "engine/write/document_pieces.h"

namespace brevant {

// The table of a document of one row per input, on its way to the document
// and to every file beside it (`beside` may be null): each header cell, value
// and row end goes to all of them at once.
class LineTable {
 public:
  LineTable(DocumentPieces& pieces, BesideFiles* beside) : pieces_(pieces), beside_(beside) {}

  void headerCell(CaptionKey caption) {
    pieces_.appendHeaderCell(caption);
    pieces_.passOnWhenFull();
    if (beside_ != nullptr) beside_->caption(caption);
  }
  template <class Ch>
  void dataCell(std::basic_string_view<Ch> value) {
    pieces_.appendDataCell(value);
    if (beside_ != nullptr) beside_->lineValue(value);
  }
  // Ends a row; `joint` is the document's markup between it and what follows.
  void endRow(std::string_view joint) {
    pieces_.append(joint);
    if (beside_ != nullptr) beside_->endRow();
  }

  DocumentPieces& pieces() { return pieces_; }

 private:
  DocumentPieces& pieces_;
  BesideFiles* beside_;
};

}  // namespace brevant
