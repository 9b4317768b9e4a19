#pragma once

#include <array>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>

#include "engine/scan/captions.h"
#include "engine/turn_and_colour.h"
#include "engine/write/document_output.h"
#include "engine/write/html_document.h"

namespace brevant {

// The text of a document on its way into the file: gathered into pieces of
// about a megabyte, each written as it fills, so that no row and no value ever
// stands whole in memory. A long value is escaped a slice at a time, with a
// turn between slices. Cells are put straight into the piece, which
// has room for the longest cell at once: most cells are a few bytes, and
// documents have millions of them.
class DocumentPieces {
 public:
  DocumentPieces(DocumentOutput& document, Turn turn, DocumentMarkup markup = DocumentMarkup::Html)
      : document_(document), turn_(std::move(turn)), xhtml_(markup == DocumentMarkup::Xhtml) {}

  void append(std::string_view text) {
    if (text.empty()) return;  // an empty text may point nowhere
    char* at = room(text.size());
    std::memcpy(at, text.data(), text.size());
    used_ += text.size();
  }

  // A header cell of the caption.
  void appendHeaderCell(CaptionKey caption) {
    if (caption.number < 2) return append(plainHeaderCells_[static_cast<std::size_t>(caption.caption)]);
    appendNumberedHeaderCell(caption);
  }

  // A data cell's value, escaped (see AppendCellValue); a long one in slices.
  template <class Ch>
  void appendValue(std::basic_string_view<Ch> value) {
    if (value.size() > kSliceSize) return appendSlices(value);
    appendEscaped(value);
    passOnWhenFull();
  }

  // A whole data cell: its start, the value escaped, its end.
  template <class Ch>
  void appendDataCell(std::basic_string_view<Ch> value) {
    if (value.size() > kSliceSize) {
      append(dataCellStart_);
      appendSlices(value);
      append(kDataCellEnd);
      return;
    }
    append(dataCellStart_);
    appendEscaped(value);
    append(kDataCellEnd);
    passOnWhenFull();
  }

  // Writes the gathered text once a piece is full.
  void passOnWhenFull() {
    if (used_ >= kPieceSize) passOn();
  }
  // Writes whatever is gathered.
  void passOn();

 private:
  static constexpr std::size_t kPieceSize = std::size_t{1} << 20;
  // Characters of a value escaped at once: escaping at most quintuples them, so
  // a slice never makes a piece much larger than a megabyte.
  static constexpr std::size_t kSliceSize = std::size_t{1} << 17;
  static constexpr std::string_view kDataCellEnd = "</td>";

  // Room for `bytes` more bytes after the gathered ones.
  char* room(std::size_t bytes) {
    if (bytes > buffer_.size() - used_) grow(bytes);
    return buffer_.data() + used_;
  }
  void grow(std::size_t bytes);
  void appendNumberedHeaderCell(CaptionKey caption);
  void appendEscaped(std::string_view value);
  void appendEscaped(std::u16string_view value);
  template <class Ch>
  void appendSlices(std::basic_string_view<Ch> value);

  DocumentOutput& document_;
  Turn turn_;
  bool xhtml_;
  std::string_view dataCellStart_ = DataCellStart(xhtml_ ? DocumentMarkup::Xhtml : DocumentMarkup::Html);
  const std::array<std::string, kCaptionCount>& plainHeaderCells_ = PlainHeaderCells();
  std::string buffer_;  // its first used_ bytes are the gathered text
  std::size_t used_ = 0;
  std::string scratch_;  // a cell made elsewhere before it is copied in
};

}  // namespace brevant
