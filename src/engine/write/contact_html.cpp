#include "engine/write/contact_html.h"

#include <array>

#include "engine/text/ascii_html.h"
#include "engine/write/html_document.h"
#include "support/utf8.h"

namespace brevant {

namespace {

// Pieces of about this size go to the document at once; longer values are
// escaped in slices of this size.
constexpr std::size_t kPieceSize = std::size_t{1} << 20;

// Columns whose values read wrong when broken over lines.
bool KeepsToOneLine(Caption caption) {
  switch (caption) {
    case Caption::EmailAddress:
    case Caption::Birthday:
    case Caption::Anniversary:
    case Caption::HomePhone:
    case Caption::BusinessPhone:
    case Caption::MobilePhone:
    case Caption::OtherPhone:
    case Caption::Pager:
    case Caption::HomeFax:
    case Caption::BusinessFax:
    case Caption::OtherFax:
      return true;
    default:
      return false;
  }
}

// Columns of long texts, which need room enough to read when the table is squeezed.
bool HoldsLongText(Caption caption) { return caption == Caption::Notes; }

void AppendNumber(std::string& out, std::size_t number) { out += std::to_string(number); }

// A rule for the data cells of the columns the test picks: one selector for
// each run of such columns side by side.
void AppendColumnRule(std::string& out, const ContactColumns& columns, bool (*picks)(Caption),
                      std::string_view declarations) {
  const std::vector<Caption>& captions = columns.captions();
  bool any = false;
  for (std::size_t i = 0; i < captions.size();) {
    if (!picks(captions[i])) {
      ++i;
      continue;
    }
    std::size_t last = i;
    while (last + 1 < captions.size() && picks(captions[last + 1])) ++last;
    out += any ? ",\r\n" : "";
    any = true;
    out += "td:nth-child(";
    if (last == i) {
      AppendNumber(out, i + 1);
    } else {
      out += "n+";
      AppendNumber(out, i + 1);
      out += "):nth-child(-n+";
      AppendNumber(out, last + 1);
    }
    out += ')';
    i = last + 1;
  }
  if (any) out.append(" { ").append(declarations).append(" }\r\n");
}

void AppendColour(std::string& out, Colour colour) {
  AppendAsciiHtml(out, ToUtf8(ColorToHex(colour)), ByteEncoding::Utf8);
}

}  // namespace

void ContactDocument::flushWhenFull() {
  if (piece_.size() < kPieceSize) return;
  output_.write(piece_);
  piece_.clear();
  turn_();
}

void ContactDocument::begin(const ContactTableStyle& style, const Text& title,
                            const ContactColumns& columns) {
  piece_ +=
      "<!DOCTYPE html>\r\n"
      "<html xmlns=\"http://www.w3.org/1999/xhtml\">\r\n"
      "<head>\r\n"
      "<meta charset=\"utf-8\"/>\r\n"
      "<title>";
  AppendAsciiHtml(piece_, ToUtf8(title), ByteEncoding::Utf8, HtmlPlace::Attribute);
  piece_ +=
      "</title>\r\n"
      "<style type=\"text/css\">\r\n"
      "body { font-family: sans-serif; }\r\n"
      "table { width: 100%; }\r\n"
      "th, td { padding: 2px 6px; text-align: left; vertical-align: top; }\r\n"
      "td { max-width: 32em; overflow-wrap: break-word; }\r\n"
      "th { position: sticky; top: 0; white-space: nowrap; background-color: ";
  AppendColour(piece_, style.background);
  piece_ += "; }\r\n";
  AppendColumnRule(piece_, columns, KeepsToOneLine, "white-space: nowrap;");
  AppendColumnRule(piece_, columns, HoldsLongText, "min-width: 16em;");
  piece_ +=
      "@media print { @page { size: landscape; } th { position: static; } }\r\n"
      "</style>\r\n"
      "</head>\r\n"
      "<body>\r\n"
      "<table border=\"";
  AppendAsciiHtml(piece_, ToUtf8(style.border), ByteEncoding::Utf8, HtmlPlace::Attribute);
  piece_ += "\" style=\"color:";
  AppendColour(piece_, style.text);
  piece_ += ";background-color:";
  AppendColour(piece_, style.background);
  piece_ += "\">\r\n<thead>\r\n<tr>";
  std::array<std::uint64_t, kCaptionCount> seen{};
  for (const Caption caption : columns.captions()) {
    const CaptionKey key{caption, ++seen[static_cast<std::size_t>(caption)]};
    piece_ += "<th>";
    AppendCaptionText(piece_, key);
    piece_ += "</th>";
    flushWhenFull();
    if (spreadsheets_ != nullptr) spreadsheets_->caption(key);
  }
  piece_ += "</tr>\r\n</thead>\r\n<tbody>\r\n";
  if (spreadsheets_ != nullptr) spreadsheets_->endRow();
}

void ContactDocument::appendValue(std::string_view text, ByteEncoding encoding) {
  if (text.size() < 4096) return AppendAsciiHtml(piece_, text, encoding);  // the usual value
  for (std::size_t from = 0; from < text.size();) {
    const std::size_t to = EscapeSliceEnd(text, from, from + kPieceSize);
    AppendAsciiHtml(piece_, text.substr(from, to - from), encoding);
    flushWhenFull();
    from = to;
  }
}

void ContactDocument::row(std::span<const ContactCell> cells, std::string_view input, std::string_view values,
                          const ContactColumns& columns) {
  // The cells by caption (a counting sort): each caption's cells keep the order
  // read, which is the order of their numbers.
  std::array<std::uint32_t, kCaptionCount> count{};
  for (const ContactCell& cell : cells) ++count[static_cast<std::size_t>(cell.caption())];
  std::array<std::uint32_t, kCaptionCount> first{};
  for (std::size_t c = 1; c < kCaptionCount; ++c) first[c] = first[c - 1] + count[c - 1];
  order_.resize(cells.size());
  std::array<std::uint32_t, kCaptionCount> next = first;
  for (std::size_t i = 0; i < cells.size(); ++i) {
    order_[next[static_cast<std::size_t>(cells[i].caption())]++] = static_cast<std::uint32_t>(i);
  }
  std::array<std::uint32_t, kCaptionCount> seen{};
  piece_ += "<tr>";
  const std::vector<Caption>& captions = columns.captions();
  for (const Caption caption : captions) {
    const auto c = static_cast<std::size_t>(caption);
    // The k-th column of a caption holds the contact's k-th value of it, if any.
    if (seen[c] < count[c]) {
      const ContactCell& cell = cells[order_[first[c] + seen[c]]];
      const std::string_view value = (cell.stored() ? values : input).substr(cell.offset(), cell.length());
      piece_ += "<td>";
      appendValue(value, cell.encoding());
      piece_ += "</td>";
      if (spreadsheets_ != nullptr) spreadsheets_->value(value, cell.encoding());
    } else {
      piece_ += "<td></td>";
      if (spreadsheets_ != nullptr) spreadsheets_->emptyValue();
    }
    ++seen[c];
    if (piece_.size() >= kPieceSize) flushWhenFull();  // a row of a great many columns
  }
  piece_ += "</tr>\r\n";
  flushWhenFull();
  if (spreadsheets_ != nullptr) spreadsheets_->endRow();
}

void ContactDocument::flush() {
  output_.write(piece_);
  piece_.clear();
}

}  // namespace brevant
