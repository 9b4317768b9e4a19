#pragma once

#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/scan/captions.h"
#include "engine/statement_reporter.h"
#include "engine/text/text_encodings.h"
#include "engine/turn_and_colour.h"
#include "engine/write/beside_file.h"
#include "engine/write/document_output.h"
#include "engine/write/xlsx_cell.h"
#include "engine/write/xlsx_texts.h"
#include "engine/write/zip_writer.h"

namespace brevant {

// The table of a document once more, as an Office Open XML workbook (.xlsx)
// beside it, written while the document is written: the same header row and
// rows in one worksheet, every cell a text cell (a shared string: Apple's
// Numbers shows no other kind of text), so that no spreadsheet reads a
// telephone number, a postal code or a date as a number and no value can
// become a formula. The header row is bold and frozen, the columns are as wide
// as the first rows need (within reason), a text with line breaks or too long
// for its column wraps within its cell, and its row is as high as its lines.
//
// The sheet goes through deflate into the zip file as it is made, a megabyte
// of whole rows at a time; only its first rows wait, until their widths are
// known. Its texts are deflated as they come and wait compressed in memory,
// to follow the sheet into the file. Like a document it goes into a new file
// and replaces the one at its path only when complete. A table larger than a
// spreadsheet holds (16,384 columns, 1,048,576 rows) is not written: commit()
// reports it. A text longer than a cell holds (32,767 characters) is cut
// there, and counted for the run to say so; the document and the CSV file keep it whole.
class XlsxDocument final : public BesideFile {
 public:
  // `look` is the caller's look at the path, when it took one.
  XlsxDocument(const Text& path, ExistingTarget existing, Turn turn, const TargetLook* look = nullptr);
  ~XlsxDocument() override;

  const Text& path() const override { return path_; }

  void caption(CaptionKey caption) override;
  // A caption of one row per contact, in UTF-8: it may hold a label a person typed.
  // Its first column holds the names (pictures stay out), which stay in view.
  void caption(std::string_view text) override {
    if (failure_) return;
    if (row_ == 1 && column_ == 0) nameColumn_ = true;
    if (IsPlainSheetText(text)) [[likely]]
      return plainCell(text, true);
    escapedCell(text, ByteEncoding::Utf8, true);
  }
  // A value of the line scanner: bytes read one a character (taken as UTF-8
  // when they all are, else as Windows-1252) or UTF-16 text. The carriage
  // return that ends a vCard line is no part of the text.
  void lineValue(std::string_view bytes) override {
    if (!bytes.empty() && bytes.back() == '\r') bytes.remove_suffix(1);
    bytesCell(bytes, std::nullopt);
  }
  void lineValue(std::u16string_view chars) override;
  // A decoded value of one row per contact.
  void value(std::string_view bytes, ByteEncoding encoding) override { bytesCell(bytes, encoding); }
  void emptyValue() override { ++column_; }
  // The next cell starts a new row.
  void endRow() override;

  // Puts the file in place. A failure is reported at `statement`, naming the
  // file, and the file at the path stays as it was. Gives whether it was written.
  bool commit(const StatementReporter& errors, int statement);
  // Completes the archive: its file is then ready to be put in place with its
  // document (CommitTogether). A workbook that could not be made (more than a
  // spreadsheet holds, say) is reported at `statement` and gives null. Throws
  // when the file cannot be written.
  DocumentOutput* finished(const StatementReporter& errors, int statement) override;
  bool written() const { return written_; }
  std::uint64_t size() const override { return size_; }
  std::uint64_t valuesCut() const override { return valuesCut_; }

 private:
  // Room for `bytes` more at the end of the buffer.
  char* room(std::size_t bytes) {
    if (used_ + bytes <= capacity_) [[likely]]
      return buffer_.get() + used_;
    return grow(bytes);
  }
  char* grow(std::size_t bytes);
  void taken(char* end) {
    used_ = static_cast<std::size_t>(end - buffer_.get());
    if (used_ >= kPieceSize) passOn();
  }
  // Writes the whole rows of the buffer on into the archive, once the widths
  // are known; a row that fills a piece on its own goes too, unfinished.
  void passOn();
  void startSheet();

  // The characters the current column holds on one line.
  std::size_t wrapAt() const;
  // Writes the next cell, of `lines` lines, its text the one of that number
  // in the table of texts.
  void putCell(std::uint64_t text, std::size_t lines, bool header);
  void bytesCell(std::string_view bytes, std::optional<ByteEncoding> encoding) {
    if (failure_) return;
    if (IsPlainSheetText(bytes)) [[likely]]
      return plainCell(bytes);
    escapedCell(bytes, encoding ? *encoding : EncodingOfValue(bytes));
  }
  // ASCII that goes in as it is.
  void plainCell(std::string_view text, bool header = false);
  template <class Ch>
  void escapedCell(std::basic_string_view<Ch> value, ByteEncoding encoding, bool header = false);
  void measure(std::size_t width);
  // The workbook cannot be written; commit() reports why.
  void fail(std::exception_ptr why);

  // The buffer goes into the archive once it holds this much.
  static constexpr std::size_t kPieceSize = std::size_t{1} << 20;
  // The column widths fit the rows seen until this many rows or bytes came.
  static constexpr std::uint64_t kFittingRows = 1000;
  static constexpr std::size_t kFittingBytes = std::size_t{4} << 20;

  Turn turn_;
  Text path_;
  std::optional<DocumentOutput> output_;
  std::optional<ZipWriter> zip_;
  std::exception_ptr failure_;
  // The sheet's text on its way into the archive; it grows as needed.
  std::unique_ptr<char[]> buffer_;
  std::size_t capacity_ = 0;
  std::size_t used_ = 0;
  std::unique_ptr<char[]> text_;  // an escaped text, before it goes into the table
  std::size_t textRoom_ = 0;
  std::optional<SharedTexts> texts_;
  std::uint64_t row_ = 1;
  std::size_t column_ = 0;
  bool rowStarted_ = false;
  char rowNumber_[24] = "1";
  std::size_t rowNumberSize_ = 1;
  // Where the room for the open row's height is in the buffer, while it is.
  static constexpr std::size_t kNoRoom = static_cast<std::size_t>(-1);
  std::size_t heightRoom_ = kNoRoom;
  std::size_t rowLines_ = 1;  // of its tallest cell so far
  // The widest line of each column: while fitting_, of the rows so far; then as written.
  bool fitting_ = true;
  bool nameColumn_ = false;  // the first column is frozen with the header row
  std::vector<std::uint16_t> widths_;
  std::uint64_t size_ = 0;
  std::uint64_t valuesCut_ = 0;  // texts longer than a cell holds, cut at its limit
  bool written_ = false;
};

}  // namespace brevant
