#include "engine/write/xlsx_document.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "engine/write/xlsx_parts.h"
#include "support/file_error.h"
#include "support/path_helpers.h"

namespace brevant {

namespace {

constexpr std::string_view kCellStart = "<c r=\"";
constexpr std::string_view kInlineString = "\" t=\"inlineStr\"";
constexpr std::string_view kTextStart = "><is><t>";
constexpr std::string_view kPreservedTextStart = "><is><t xml:space=\"preserve\">";
constexpr std::string_view kCellEnd = "</t></is></c>";
// A row's start and a cell's markup, around its text.
constexpr std::size_t kMostCellFrame = 160;

char* Put(char* out, std::string_view text) {
  std::memcpy(out, text.data(), text.size());
  return out + text.size();
}

template <class Ch>
std::basic_string_view<Ch> WithoutLineEnd(std::basic_string_view<Ch> value) {
  if (!value.empty() && value.back() == Ch('\r')) value.remove_suffix(1);
  return value;
}

}  // namespace

Text XlsxPathBeside(const Text& documentPath) {
  return GetFolderPath(documentPath) + StripExtension(GetFileName(documentPath)) + u".xlsx";
}

XlsxDocument::XlsxDocument(const Text& path, ExistingTarget existing, Host& host, const TargetLook* look)
    : host_(host), path_(path) {
  output_.emplace(path, existing, look);
  zip_.emplace(*output_);
  try {
    for (const DeflatedPart& part : WorkbookParts()) zip_->add(part);
  } catch (...) {
    fail(std::current_exception());
  }
}

XlsxDocument::~XlsxDocument() = default;

void XlsxDocument::fail(std::exception_ptr why) {
  failure_ = why;
  // The pending file goes at once; nothing more is gathered.
  zip_.reset();
  output_.reset();
  buffer_.reset();
  text_.reset();
  capacity_ = used_ = 0;
  widths_ = {};
}

char* XlsxDocument::grow(std::size_t bytes) {
  const std::size_t capacity = std::max({capacity_ * 2, used_ + bytes, std::size_t{4096}});
  auto larger = std::make_unique_for_overwrite<char[]>(capacity);
  if (used_ > 0) std::memcpy(larger.get(), buffer_.get(), used_);
  buffer_ = std::move(larger);
  capacity_ = capacity;
  return buffer_.get() + used_;
}

void XlsxDocument::startSheet() {
  fitting_ = false;
  zip_->beginEntry(kSheetPartName);
  zip_->write(SheetOpening(widths_));
  widths_ = {};
}

void XlsxDocument::passOn() {
  if (fitting_ && used_ < kFittingBytes) return;
  try {
    if (fitting_) startSheet();
    zip_->write(std::string_view(buffer_.get(), used_));
    used_ = 0;
  } catch (...) {
    return fail(std::current_exception());
  }
  host_.yield();
}

void XlsxDocument::measure(std::size_t width) {
  if (!fitting_) return;
  if (widths_.size() <= column_) widths_.resize(column_ + 1, 0);
  widths_[column_] =
      static_cast<std::uint16_t>(std::max<std::size_t>(widths_[column_], std::min(width, kWidestColumn)));
}

char* XlsxDocument::startCell(std::size_t textBytes, std::string_view style, bool preserveSpaces) {
  if (column_ >= kSheetColumns || row_ > kSheetRows) {
    fail(std::make_exception_ptr(FileError(
        column_ >= kSheetColumns ? "The table has more columns than a spreadsheet holds (16,384)"
                                 : "The table has more rows than a spreadsheet holds (1,048,576)")));
    return nullptr;
  }
  char* out = room(textBytes + kMostCellFrame);
  if (!rowStarted_) {
    out = Put(out, "<row r=\"");
    out = Put(out, std::string_view(rowNumber_, rowNumberSize_));
    out = Put(out, "\">");
    rowStarted_ = true;
  }
  out = Put(out, kCellStart);
  out = PutColumnName(out, column_++);
  out = Put(out, std::string_view(rowNumber_, rowNumberSize_));
  out = Put(out, kInlineString);
  out = Put(out, style);
  return Put(out, preserveSpaces ? kPreservedTextStart : kTextStart);
}

char* XlsxDocument::EndCell(char* out) { return Put(out, kCellEnd); }

void XlsxDocument::plainCell(std::string_view text, std::string_view style) {
  if (text.empty()) {
    ++column_;
    return;
  }
  if (fitting_) measure(text.size());
  const std::string_view wrapped = style.empty() && text.size() > kWidestColumn ? kWrappedStyle : style;
  char* out = startCell(text.size(), wrapped, text.front() == ' ' || text.back() == ' ');
  if (out == nullptr) return;
  std::memcpy(out, text.data(), text.size());
  taken(EndCell(out + text.size()));
}

template <class Ch>
void XlsxDocument::escapedCell(std::basic_string_view<Ch> value, ByteEncoding encoding) {
  if (value.empty()) {
    ++column_;
    return;
  }
  // The text first: whether it wraps goes before it.
  if (!text_) text_ = std::make_unique_for_overwrite<char[]>(kMostSheetTextBytes);
  CellText facts;
  char* textEnd;
  if constexpr (sizeof(Ch) == 2) {
    static_cast<void>(encoding);
    textEnd = PutSheetText(text_.get(), value, facts);
  } else {
    textEnd = PutSheetText(text_.get(), value, encoding, facts);
  }
  const auto bytes = static_cast<std::size_t>(textEnd - text_.get());
  if (bytes == 0) {
    ++column_;  // nothing a cell can hold
    return;
  }
  if (fitting_) measure(facts.widest);
  const bool wraps = facts.lineBreak || facts.widest > kWidestColumn;
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n'; };
  char* out = startCell(bytes, wraps ? kWrappedStyle : kNoStyle, blank(text_[0]) || blank(text_[bytes - 1]));
  if (out == nullptr) return;
  std::memcpy(out, text_.get(), bytes);
  taken(EndCell(out + bytes));
}
template void XlsxDocument::escapedCell(std::string_view value, ByteEncoding encoding);

void XlsxDocument::caption(CaptionKey caption) {
  if (failure_) return;
  char text[64];
  char* end = text;
  const std::string_view name = CaptionName(caption.caption);
  end = Put(end, name);
  if (caption.number >= 2) {
    *end++ = ' ';
    end = std::to_chars(end, text + sizeof text, caption.number).ptr;
  }
  const auto size = static_cast<std::size_t>(end - text);
  if (fitting_) measure(size + (size + 7) / 8);  // bold letters are wider
  char* out = startCell(size, kHeaderStyle, false);
  if (out == nullptr) return;
  std::memcpy(out, text, size);
  taken(EndCell(out + size));
}

void XlsxDocument::lineValue(std::u16string_view chars) {
  if (failure_) return;
  escapedCell(WithoutLineEnd(chars), ByteEncoding::Utf8);
}

void XlsxDocument::endRow() {
  if (failure_) return;
  if (rowStarted_) {
    char* out = room(6);
    taken(Put(out, "</row>"));
    rowStarted_ = false;
  }
  ++row_;
  rowNumberSize_ = static_cast<std::size_t>(
      std::to_chars(rowNumber_, rowNumber_ + sizeof rowNumber_, row_).ptr - rowNumber_);
  column_ = 0;
  if (fitting_ && row_ > kFittingRows) {
    try {
      startSheet();
    } catch (...) {
      fail(std::current_exception());
    }
  }
}

bool XlsxDocument::commit(const StatementReporter& errors, int statement) {
  try {
    if (failure_) std::rethrow_exception(failure_);
    if (fitting_) startSheet();
    if (rowStarted_) endRow();
    char* out = room(kSheetClosing.size());
    used_ = static_cast<std::size_t>(Put(out, kSheetClosing) - buffer_.get());
    zip_->write(std::string_view(buffer_.get(), used_));
    buffer_.reset();
    capacity_ = used_ = 0;
    zip_->endEntry();
    zip_->finish();
    output_->commitAsWritten();
    size_ = output_->size();
    written_ = true;
  } catch (...) {
    errors.reportCurrentException(statement, path_);
  }
  return written_;
}

}  // namespace brevant
