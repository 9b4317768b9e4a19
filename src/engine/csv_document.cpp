#include "engine/csv_document.h"

#include <algorithm>

#include "engine/csv_field.h"
#include "support/path_helpers.h"

namespace brevant {

namespace {

// Pieces of about this size go to the file at once; longer values are written
// in slices of this size, so no value stands twice in memory.
constexpr std::size_t kPieceSize = std::size_t{1} << 20;
constexpr std::size_t kSliceSize = std::size_t{1} << 20;

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

template <class Ch>
std::basic_string_view<Ch> WithoutLineEnd(std::basic_string_view<Ch> value) {
  if (!value.empty() && value.back() == Ch('\r')) value.remove_suffix(1);
  return value;
}

}  // namespace

Text CsvPathBeside(const Text& documentPath) {
  return GetFolderPath(documentPath) + StripExtension(GetFileName(documentPath)) + u".csv";
}

CsvDocument::CsvDocument(const Text& path, ExistingTarget existing, Host& host)
    : output_(path, existing), host_(host), path_(path), pending_(kByteOrderMark) {}

void CsvDocument::startField() {
  if (fieldsInRow_++ > 0) {
    pending_ += ',';
  } else if (!firstRecord_) {
    pending_ += "\r\n";
  }
  firstRecord_ = false;
}

void CsvDocument::endRow() {
  // A record of one empty field would be an empty line, which readers skip.
  if (fieldsInRow_ == 1 && lastFieldEmpty_) pending_ += "\"\"";
  fieldsInRow_ = 0;
}

void CsvDocument::passOnWhenFull() {
  if (pending_.size() < kPieceSize) return;
  output_.write(pending_);
  pending_.clear();
  host_.yield();
}

template <class Ch, class Append>
void CsvDocument::field(std::basic_string_view<Ch> value, Append&& append) {
  startField();
  lastFieldEmpty_ = value.empty();
  const bool quoted = NeedsQuotes(value);
  if (quoted) pending_ += '"';
  if (RunsAsFormula(value)) pending_ += '\'';
  for (std::size_t from = 0; from < value.size();) {
    std::size_t to = std::min(value.size(), from + kSliceSize);
    // A surrogate pair stays in one slice.
    if constexpr (sizeof(Ch) == 2) {
      if (to < value.size() && value[to - 1] >= 0xD800 && value[to - 1] <= 0xDBFF) ++to;
    }
    append(value.substr(from, to - from));
    from = to;
    passOnWhenFull();
  }
  if (quoted) pending_ += '"';
  passOnWhenFull();
}

void CsvDocument::caption(CaptionKey caption) {
  startField();
  lastFieldEmpty_ = false;
  AppendCaptionText(pending_, caption);
}

void CsvDocument::lineValue(std::string_view bytes) { value(WithoutLineEnd(bytes), EncodingOfValue(bytes)); }

void CsvDocument::lineValue(std::u16string_view chars) {
  field(WithoutLineEnd(chars), [this](std::u16string_view slice) { AppendCsvText(pending_, slice); });
}

void CsvDocument::value(std::string_view bytes, ByteEncoding encoding) {
  field(bytes, [this, encoding](std::string_view slice) { AppendCsvText(pending_, slice, encoding); });
}

void CsvDocument::emptyValue() {
  startField();
  lastFieldEmpty_ = true;
}

bool CsvDocument::commit(const StatementReporter& errors, int statement) {
  try {
    output_.write(pending_);
    pending_ = std::string();
    output_.commit();
    written_ = true;
  } catch (...) {
    errors.reportCurrentException(statement, path_);
  }
  return written_;
}

}  // namespace brevant
