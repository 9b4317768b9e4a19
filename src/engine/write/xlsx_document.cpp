#include "engine/write/xlsx_document.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <utility>

#include "engine/write/xlsx_parts.h"
#include "support/files/file_error.h"

namespace brevant {

namespace {

constexpr std::string_view kRowStart = "<row r=\"";
// Blanks in the row's start tag, where its height goes once its cells are known.
constexpr std::string_view kHeightRoom = "                           >";
constexpr std::string_view kRowEnd = "</row>";
constexpr std::size_t kLinePoints = 15;   // a line of the default font, in points
constexpr std::size_t kHighestRow = 409;  // the most a spreadsheet allows
// A column without a width of its own holds about this many characters.
constexpr std::size_t kDefaultColumnCharacters = 8;
constexpr std::string_view kCellStart = "<c r=\"";
constexpr std::string_view kSharedString = "\" t=\"s\"";
constexpr std::string_view kValueStart = "><v>";
constexpr std::string_view kCellEnd = "</v></c>";
// The most a row's start and a cell take.
constexpr std::size_t kMostCellBytes = 160;

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

XlsxDocument::XlsxDocument(const Text& path, ExistingTarget existing, Turn turn, const TargetLook* look)
    : turn_(std::move(turn)), path_(path) {
  output_.emplace(path, existing, look);
  output_->endAsWritten();
  zip_.emplace(*output_);
  try {
    for (const FixedPart& part : WorkbookParts()) zip_->add(part.name, {&part.text});
    texts_.emplace();
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
  textRoom_ = 0;
  capacity_ = used_ = 0;
  widths_ = {};
  texts_.reset();
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
  zip_->write(SheetOpening(widths_, nameColumn_));
}

void XlsxDocument::passOn() {
  if (fitting_ && used_ < kFittingBytes) return;
  // The open row waits for its height, unless it fills a piece on its own.
  const bool keepRow = heightRoom_ != kNoRoom && used_ - heightRoom_ < kPieceSize;
  const std::size_t rowStart = keepRow ? heightRoom_ - kRowStart.size() - rowNumberSize_ - 1 : used_;
  try {
    if (fitting_) startSheet();
    zip_->write(std::string_view(buffer_.get(), rowStart));
  } catch (...) {
    return fail(std::current_exception());
  }
  std::memmove(buffer_.get(), buffer_.get() + rowStart, used_ - rowStart);
  used_ -= rowStart;
  heightRoom_ = keepRow ? heightRoom_ - rowStart : kNoRoom;
  turn_();
}

std::size_t XlsxDocument::wrapAt() const {
  if (fitting_) return kWidestColumn;  // the widths will fit every line up to it
  return column_ < widths_.size() ? ColumnCharacters(widths_[column_]) : kDefaultColumnCharacters;
}

void XlsxDocument::measure(std::size_t width) {
  if (!fitting_) return;  // the widths are written
  if (widths_.size() <= column_) widths_.resize(column_ + 1, 0);
  widths_[column_] =
      static_cast<std::uint16_t>(std::max(std::size_t{widths_[column_]}, std::min(width, kWidestColumn)));
}

void XlsxDocument::putCell(std::uint64_t text, std::size_t lines, bool header) {
  if (column_ >= kSheetColumns || row_ > kSheetRows) {
    return fail(std::make_exception_ptr(FileError(
        column_ >= kSheetColumns ? "The table has more columns than a spreadsheet holds (16,384)"
                                 : "The table has more rows than a spreadsheet holds (1,048,576)")));
  }
  char* out = room(kMostCellBytes);
  if (!rowStarted_) {
    out = Put(out, kRowStart);
    out = Put(out, std::string_view(rowNumber_, rowNumberSize_));
    *out++ = '"';
    heightRoom_ = static_cast<std::size_t>(out - buffer_.get());
    out = Put(out, kHeightRoom);
    rowStarted_ = true;
    rowLines_ = 1;
  }
  rowLines_ = std::max(rowLines_, lines);
  out = Put(out, kCellStart);
  out = PutColumnName(out, column_++);
  out = Put(out, std::string_view(rowNumber_, rowNumberSize_));
  out = Put(out, kSharedString);
  out = Put(out, CellStyle(header, lines > 1));
  out = Put(out, kValueStart);
  out = std::to_chars(out, out + 24, text).ptr;
  taken(Put(out, kCellEnd));
}

void XlsxDocument::plainCell(std::string_view text, bool header) {
  if (text.empty()) {
    ++column_;
    return;
  }
  measure(header ? text.size() + (text.size() + 7) / 8 : text.size());  // bold letters are wider
  const std::size_t lines = header ? 1 : WrappedLines(text.size(), wrapAt());
  putCell(texts_->number(text, text.front() == ' ' || text.back() == ' '), lines, header);
}

template <class Ch>
void XlsxDocument::escapedCell(std::basic_string_view<Ch> value, ByteEncoding encoding, bool header) {
  if (value.empty()) {
    ++column_;
    return;
  }
  // The text first: how many lines it takes goes into its cell.
  // Room for the most the text can take, as much as the value needs.
  const std::size_t room = std::min(value.size(), kCellUnits) * kMostSheetBytesPerUnit;
  if (textRoom_ < room) {
    text_ = std::make_unique_for_overwrite<char[]>(room);
    textRoom_ = room;
  }
  CellText facts;
  facts.wrapAt = wrapAt();
  char* textEnd;
  if constexpr (sizeof(Ch) == 2) {
    static_cast<void>(encoding);
    textEnd = PutSheetText(text_.get(), value, facts);
  } else {
    textEnd = PutSheetText(text_.get(), value, encoding, facts);
  }
  const auto bytes = static_cast<std::size_t>(textEnd - text_.get());
  if (facts.cut) ++valuesCut_;
  if (bytes == 0) {
    ++column_;  // nothing a cell can hold
    return;
  }
  measure(header ? facts.widest + (facts.widest + 7) / 8 : facts.widest);  // bold letters are wider
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n'; };
  putCell(texts_->number(std::string_view(text_.get(), bytes), blank(text_[0]) || blank(text_[bytes - 1])),
          facts.lines, header);
}
template void XlsxDocument::escapedCell(std::string_view value, ByteEncoding encoding, bool header);

void XlsxDocument::caption(CaptionKey caption) {
  if (failure_) return;
  char text[64];
  char* end = Put(text, CaptionName(caption.caption));
  if (caption.number >= 2) {
    *end++ = ' ';
    end = std::to_chars(end, text + sizeof text, caption.number).ptr;
  }
  plainCell(std::string_view(text, static_cast<std::size_t>(end - text)), true);
}

void XlsxDocument::lineValue(std::u16string_view chars) {
  if (failure_) return;
  escapedCell(WithoutLineEnd(chars), ByteEncoding::Utf8);
}

void XlsxDocument::endRow() {
  if (failure_) return;
  if (rowStarted_) {
    // A row of several lines is as high as they are, where its start is still at hand.
    if (rowLines_ > 1 && heightRoom_ != kNoRoom) {
      char height[kHeightRoom.size() + 1];
      const int size = std::snprintf(height, sizeof height, " ht=\"%zu\" customHeight=\"1\"",
                                     std::min<std::size_t>(rowLines_ * kLinePoints, kHighestRow));
      std::memcpy(buffer_.get() + heightRoom_, height, static_cast<std::size_t>(size));
    }
    heightRoom_ = kNoRoom;
    rowStarted_ = false;
    taken(Put(room(kRowEnd.size()), kRowEnd));
  }
  ++row_;
  rowNumberSize_ = static_cast<std::size_t>(
      std::to_chars(rowNumber_, rowNumber_ + sizeof rowNumber_, row_).ptr - rowNumber_);
  column_ = 0;
  if (!failure_ && fitting_ && row_ > kFittingRows) {
    try {
      startSheet();
    } catch (...) {
      fail(std::current_exception());
    }
  }
}

DocumentOutput* XlsxDocument::finished(const StatementReporter& errors, int statement) {
  if (rowStarted_) endRow();
  if (!failure_ && fitting_) startSheet();
  if (failure_) {
    try {
      std::rethrow_exception(failure_);
    } catch (...) {
      errors.reportCurrentException(statement, path_);
    }
    return nullptr;
  }
  char* out = room(kSheetClosing.size());
  used_ = static_cast<std::size_t>(Put(out, kSheetClosing) - buffer_.get());
  zip_->write(std::string_view(buffer_.get(), used_));
  buffer_.reset();
  capacity_ = used_ = 0;
  zip_->endEntry();
  texts_->addTo(*zip_, kSharedStringsPartName);
  texts_.reset();
  zip_->finish();
  size_ = output_->size();
  return &*output_;
}

bool XlsxDocument::commit(const StatementReporter& errors, int statement) {
  try {
    DocumentOutput* output = finished(errors, statement);
    if (output == nullptr) return false;
    output->commit();
    written_ = true;
  } catch (...) {
    errors.reportCurrentException(statement, path_);
  }
  return written_;
}

}  // namespace brevant
