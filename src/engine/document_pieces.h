#pragma once

#include <string>
#include <string_view>

#include "engine/document_output.h"
#include "engine/host.h"

namespace brevant {

// The text of a document on its way into the file: gathered into pieces of
// about a megabyte, each written as it fills, so that no row and no value ever
// stands whole in memory. A long value is escaped a slice at a time, and the
// host gets a turn between slices.
class DocumentPieces {
 public:
  DocumentPieces(DocumentOutput& document, Host& host) : document_(document), host_(host) {}

  // Short texts are appended here; full() then says when to pass them on.
  std::string& text() { return pending_; }
  void append(std::string_view text) { pending_ += text; }

  // A data cell's value, escaped (see AppendCellValue).
  void appendValue(std::string_view ansiValue);
  void appendValue(std::u16string_view value);

  // Writes the gathered text once a piece is full.
  void passOnWhenFull() {
    if (pending_.size() >= kPieceSize) passOn();
  }
  // Writes whatever is gathered.
  void passOn();

 private:
  static constexpr std::size_t kPieceSize = std::size_t{1} << 20;
  template <class Ch>
  void appendSlices(std::basic_string_view<Ch> value);

  DocumentOutput& document_;
  Host& host_;
  std::string pending_;
};

}  // namespace brevant
