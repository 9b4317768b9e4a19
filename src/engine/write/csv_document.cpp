#include "engine/write/csv_document.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>

#include "engine/text/ascii_html.h"

namespace brevant {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Every caption's text in a block of its own, so that it is copied in one go:
// a header row may hold millions of them.
struct CaptionBlock {
  char text[32];
  std::size_t size;
};
const std::array<CaptionBlock, kCaptionCount> kCaptionBlocks = [] {
  std::array<CaptionBlock, kCaptionCount> blocks{};
  for (int i = 0; i < kCaptionCount; ++i) {
    const std::string_view name = CaptionName(static_cast<Caption>(i));
    name.copy(blocks[i].text, sizeof blocks[i].text);
    blocks[i].size = name.size();
  }
  return blocks;
}();

template <class Ch>
std::basic_string_view<Ch> WithoutLineEnd(std::basic_string_view<Ch> value) {
  if (!value.empty() && value.back() == Ch('\r')) value.remove_suffix(1);
  return value;
}

}  // namespace

CsvDocument::CsvDocument(const Text& path, ExistingTarget existing, Turn turn, const TargetLook* look)
    : output_(path, existing, look), turn_(std::move(turn)), path_(path) {
  char* out = room(kByteOrderMark.size());
  taken(std::copy(kByteOrderMark.begin(), kByteOrderMark.end(), out));
}

char* CsvDocument::grow(std::size_t bytes) {
  if (used_ > 0 && used_ + bytes > kPieceSize) passOn();
  if (used_ + bytes > capacity_) {
    // Small tables never take more than they need.
    const std::size_t capacity = std::max({capacity_ * 2, used_ + bytes, std::size_t{4096}});
    auto larger = std::make_unique_for_overwrite<char[]>(capacity);
    if (used_ > 0) std::memcpy(larger.get(), buffer_.get(), used_);
    buffer_ = std::move(larger);
    capacity_ = capacity;
  }
  return buffer_.get() + used_;
}

void CsvDocument::passOn() {
  output_.write(std::string_view(buffer_.get(), used_));
  used_ = 0;
  turn_();
}

void CsvDocument::endRow() {
  // A record of one empty field would be an empty line, which readers skip.
  if (fieldsInRow_ == 1 && lastFieldEmpty_) {
    char* out = room(2);
    *out++ = '"';
    *out++ = '"';
    taken(out);
  }
  fieldsInRow_ = 0;
}

void CsvDocument::caption(CaptionKey caption) {
  const CaptionBlock& block = kCaptionBlocks[static_cast<std::size_t>(caption.caption)];
  char* out = startField(sizeof block.text + 24);
  std::memcpy(out, block.text, sizeof block.text);
  out += block.size;
  if (caption.number >= 2) {
    *out++ = ' ';
    out = std::to_chars(out, out + 20, caption.number).ptr;
  }
  lastFieldEmpty_ = false;
  taken(out);
}

template <class Ch>
void CsvDocument::fieldAt(char* out, std::basic_string_view<Ch> value, ByteEncoding encoding) {
  const bool quoted = NeedsQuotes(value);
  const bool formula = RunsAsFormula(value);
  // A value of left-out control characters only is an empty field.
  lastFieldEmpty_ = !quoted && !formula;
  if (quoted) *out++ = '"';
  if (formula) *out++ = '\'';
  taken(out);
  for (std::size_t from = 0; from < value.size();) {
    std::size_t to = std::min(value.size(), from + kSliceUnits);
    // A surrogate pair stays in one slice.
    if constexpr (sizeof(Ch) == 2) {
      if (to < value.size() && value[to - 1] >= 0xD800 && value[to - 1] <= 0xDBFF) ++to;
    } else if (encoding == ByteEncoding::Utf8) {
      to = EscapeSliceEnd(value, from, to);  // nor a UTF-8 sequence
    }
    char* const start = room((to - from) * kMostFieldBytesPerUnit);
    if constexpr (sizeof(Ch) == 2) {
      static_cast<void>(encoding);
      out = PutCsvText(start, value.substr(from, to - from));
    } else {
      out = PutCsvText(start, value.substr(from, to - from), encoding);
    }
    if (out != start) lastFieldEmpty_ = false;
    taken(out);
    from = to;
  }
  if (quoted) {
    out = room(1);
    *out++ = '"';
    taken(out);
  }
}
template void CsvDocument::fieldAt(char* out, std::string_view value, ByteEncoding encoding);

void CsvDocument::lineValue(std::u16string_view chars) {
  fieldAt(startField(0), WithoutLineEnd(chars), ByteEncoding::Utf8);
}

void CsvDocument::emptyValue() {
  taken(startField(0));
  lastFieldEmpty_ = true;
}

DocumentOutput& CsvDocument::finished() {
  output_.write(std::string_view(buffer_.get(), used_));
  buffer_.reset();
  capacity_ = used_ = 0;
  return output_;
}

bool CsvDocument::commit(const StatementReporter& errors, int statement) {
  try {
    finished();
    output_.commit();
    written_ = true;
  } catch (...) {
    errors.reportCurrentException(statement, path_);
  }
  return written_;
}

}  // namespace brevant
