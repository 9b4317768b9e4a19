#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include "engine/scan/captions.h"
#include "engine/statement_reporter.h"
#include "engine/text/text_encodings.h"
#include "engine/turn_and_colour.h"
#include "engine/write/beside_file.h"
#include "engine/write/csv_field.h"
#include "engine/write/document_output.h"

namespace brevant {

// The table of a document once more, as CSV for spreadsheets, written beside it
// while the document is written: the same header row and rows, in UTF-8 with a
// byte-order mark (so that spreadsheets read every name right), records ending
// in CR LF, the values as read (no escaping for HTML, no leading space). Like a
// document it goes into a new file and replaces the one at its path only when
// complete; it is put in place together with its document (CommitTogether),
// never without it.
class CsvDocument final : public BesideFile {
 public:
  // `look` is the caller's look at the path, when it took one.
  CsvDocument(const Text& path, ExistingTarget existing, Turn turn, const TargetLook* look = nullptr);

  const Text& path() const override { return path_; }

  void caption(CaptionKey caption) override;
  // A caption of one row per contact, in UTF-8.
  void caption(std::string_view text) override { bytesField(text, ByteEncoding::Utf8); }
  // A value of the line scanner: bytes read one a character (taken as UTF-8
  // when they all are, else as Windows-1252) or UTF-16 text. The carriage
  // return that ends a vCard line is no part of the text.
  void lineValue(std::string_view bytes) override {
    if (!bytes.empty() && bytes.back() == '\r') bytes.remove_suffix(1);
    bytesField(bytes, std::nullopt);
  }
  void lineValue(std::u16string_view chars) override;
  // A decoded value of one row per contact.
  void value(std::string_view bytes, ByteEncoding encoding) override { bytesField(bytes, encoding); }
  void emptyValue() override;
  // The next field starts a new record.
  void endRow() override;

  // Puts the file in place. A failure is reported at `statement`, naming the
  // file, and the file at the path stays as it was. Gives whether it was written.
  bool commit(const StatementReporter& errors, int statement);
  // Writes what it still holds: its file is then ready to be put in place with
  // its document (CommitTogether).
  DocumentOutput& finished();
  DocumentOutput* finished(const StatementReporter&, int) override { return &finished(); }
  bool written() const { return written_; }
  std::uint64_t size() const override { return output_.size(); }

 private:
  // Room for `bytes` more at the end of the buffer, which goes to the file
  // first when it cannot take them; then taken() says how much was used.
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
  void passOn();
  // Writes what goes before a field; room for `valueBytes` follows it.
  char* startField(std::size_t valueBytes) {
    char* out = room(valueBytes + kFieldFrame);
    if (fieldsInRow_++ > 0) {
      *out++ = ',';
    } else if (!firstRecord_) {
      *out++ = '\r';
      *out++ = '\n';
    }
    firstRecord_ = false;
    return out;
  }
  // Without an encoding, it is UTF-8 when all the bytes are, else Windows-1252.
  // Nearly every value is plain, and written here.
  void bytesField(std::string_view bytes, std::optional<ByteEncoding> encoding) {
    char* out = startField(std::min(bytes.size(), kSliceUnits));
    if (bytes.size() < kSliceUnits) [[likely]] {
      if (char* end = PutPlainField(out, bytes)) {
        lastFieldEmpty_ = bytes.empty();
        return taken(end);
      }
    }
    fieldAt(out, bytes, encoding ? *encoding : EncodingOfValue(bytes));
  }
  // The field's text at `out`, where startField() left it.
  template <class Ch>
  void fieldAt(char* out, std::basic_string_view<Ch> value, ByteEncoding encoding);

  // The buffer goes to the file once it holds this much. Values longer than
  // kSliceUnits are written in slices of it, so no value stands twice in memory.
  static constexpr std::size_t kPieceSize = std::size_t{1} << 20;
  static constexpr std::size_t kSliceUnits = std::size_t{1} << 16;
  // A field's separator, line break, quotes and apostrophe.
  static constexpr std::size_t kFieldFrame = 6;

  DocumentOutput output_;
  Turn turn_;
  Text path_;
  // The text on its way to the file, a megabyte at a time; it grows as needed.
  std::unique_ptr<char[]> buffer_;
  std::size_t capacity_ = 0;
  std::size_t used_ = 0;
  std::size_t fieldsInRow_ = 0;
  bool lastFieldEmpty_ = false;
  bool firstRecord_ = true;
  bool written_ = false;
};

}  // namespace brevant
