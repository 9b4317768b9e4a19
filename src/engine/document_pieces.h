#pragma once

#include <string>
#include <string_view>

#include "engine/document_output.h"
#include "engine/host.h"
#include "engine/html_document.h"

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

  // A data cell's value, escaped (see AppendCellValue); a long one in slices.
  template <class Ch>
  void appendValue(std::basic_string_view<Ch> value) {
    if (value.size() > kSliceSize) return appendSlices(value);
    AppendCellValue(pending_, value);
    passOnWhenFull();
  }

  // Writes the gathered text once a piece is full.
  void passOnWhenFull() {
    if (pending_.size() >= kPieceSize) passOn();
  }
  // Writes whatever is gathered.
  void passOn();

 private:
  static constexpr std::size_t kPieceSize = std::size_t{1} << 20;
  // Characters of a value escaped at once: escaping at most quintuples them, so
  // a slice never makes a piece much larger than a megabyte.
  static constexpr std::size_t kSliceSize = std::size_t{1} << 17;
  template <class Ch>
  void appendSlices(std::basic_string_view<Ch> value);

  DocumentOutput& document_;
  Host& host_;
  std::string pending_;
};

}  // namespace brevant
