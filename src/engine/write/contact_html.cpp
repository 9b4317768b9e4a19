#include "engine/write/contact_html.h"

#include <algorithm>
#include <array>
#include <bit>

#include "engine/contacts/pictures.h"
#include "engine/text/ascii_html.h"
#include "engine/text/base64.h"
#include "engine/write/html_document.h"
#include "support/text/utf8.h"

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
    case Caption::LabelledDate:
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
bool HoldsLongText(Caption caption) { return caption == Caption::Notes || caption == Caption::More; }

// A text of such a column that may reach past a readable line or a few lines:
// longer than a line of it, or of several lines. Most notes are short.
bool MayRunLong(std::string_view value) {
  constexpr std::size_t kReadableLine = 60;
  return value.size() > kReadableLine || value.find('\n') != std::string_view::npos;
}

void AppendNumber(std::string& out, std::size_t number) { out += std::to_string(number); }

// A selector of the data cells from column `first` to `last` (counted from 1).
void AppendCells(std::string& out, std::size_t first, std::size_t last) {
  out += "td:nth-child(";
  if (last == first) {
    AppendNumber(out, first);
  } else {
    out += "n+";
    AppendNumber(out, first);
    out += "):nth-child(-n+";
    AppendNumber(out, last);
  }
  out += ')';
}

// A rule for the data cells of the columns the test picks: one selector for
// each run of such columns side by side.
void AppendColumnRule(std::string& out, const ContactColumns& columns, bool (*picks)(Caption),
                      std::string_view declarations) {
  bool any = false;
  std::size_t position = 0;
  std::size_t runStart = 0;  // 0: not in a run
  const auto endRun = [&](std::size_t last) {
    if (runStart == 0) return;
    out += any ? ",\r\n" : "";
    any = true;
    AppendCells(out, runStart, last);
    runStart = 0;
  };
  columns.forEach([&](Caption caption, std::uint16_t, std::uint32_t) {
    ++position;
    if (!picks(caption)) return endRun(position - 1);
    if (runStart == 0) runStart = position;
  });
  endRun(position);
  if (any) out.append(" { ").append(declarations).append(" }\r\n");
}

void AppendCaption(std::string& out, const ContactColumns& columns, Caption caption, std::uint16_t label,
                   std::uint32_t number) {
  AppendContactCaption(out, caption, columns.labels().text(label), number);
}

// Text in a CSS string, in plain ASCII that no parser of the document can
// take for markup: anything but letters, digits and a few signs as an escape.
void AppendCssString(std::string& out, std::string_view text) {
  constexpr char kHex[] = "0123456789ABCDEF";
  out += '"';
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9') ||
        std::string_view(" -_.,()/:").find(static_cast<char>(byte)) != std::string_view::npos) {
      out += text[i++];
      continue;
    }
    char32_t c = byte;
    const std::size_t length = byte >= 0x80 ? Utf8SequenceAt(text, i, c) : 1;
    if (length == 0) c = 0xFFFD;
    i += length == 0 ? 1 : length;
    out += '\\';
    bool digits = false;
    for (int shift = 20; shift >= 0; shift -= 4) {
      const unsigned digit = (c >> shift) & 0xF;
      if (digit != 0 || digits || shift == 0) {
        out += kHex[digit];
        digits = true;
      }
    }
    out += ' ';
  }
  out += '"';
}

void AppendColour(std::string& out, Colour colour) {
  AppendAsciiHtml(out, ToUtf8(ColorToHex(colour)), ByteEncoding::Utf8);
}

// On screen the names (the first column that is no picture) stay at the left
// edge while a wide table scrolls sideways, under the header row, on the
// table's background; a long text (in a block of its own) stays a few lines
// high and scrolls within its cell. Paper shows every text whole, as the print style says.
void AppendScreenStyle(std::string& out, const ContactColumns& columns, Colour background) {
  std::size_t position = 0;
  std::size_t names = 0;
  columns.forEach([&](Caption caption, std::uint16_t, std::uint32_t) {
    ++position;
    if (names == 0 && !IsPicture(caption)) names = position;
  });
  out += "@media screen {\r\n";
  if (names != 0) {
    const std::string column = std::to_string(names);
    out += "th { z-index: 2; }\r\n";
    out += "th:nth-child(" + column + ") { left: 0; z-index: 3; }\r\n";
    out += "td:nth-child(" + column + ") { position: sticky; left: 0; z-index: 1; background-color: ";
    AppendColour(out, background);
    out += "; }\r\n";
  }
  out += "td > span { display: block; max-width: 32em; max-height: 6em; overflow-y: auto; }\r\n}\r\n";
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
      "td img { display: block; max-width: 96px; max-height: 96px; }\r\n"
      "th { position: sticky; top: 0; white-space: nowrap; background-color: ";
  AppendColour(piece_, style.background);
  piece_ += "; }\r\n";
  AppendColumnRule(piece_, columns, KeepsToOneLine, "white-space: nowrap;");
  AppendColumnRule(piece_, columns, HoldsLongText, "min-width: 16em;");
  AppendScreenStyle(piece_, columns, style.background);
  appendPrintStyle(columns);
  piece_ +=
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
  std::string caption;
  columns.forEach([&](Caption column, std::uint16_t label, std::uint32_t number) {
    caption.clear();
    AppendCaption(caption, columns, column, label, number);
    piece_ += "<th>";
    AppendAsciiHtml(piece_, caption, ByteEncoding::Utf8);
    piece_ += "</th>";
    flushWhenFull();
    // The files beside it leave pictures out.
    if (beside_ != nullptr && !IsPicture(column)) beside_->caption(caption);
  });
  piece_ += "</tr>\r\n</thead>\r\n<tbody>\r\n";
  if (beside_ != nullptr) beside_->endRow();
}

// On paper each contact is a block of "caption: value" lines of its filled
// cells, several blocks to a page, so that no column is cut off: the header
// row gives way to a caption in front of every value. The numbered columns
// of a caption count themselves (a contact fills the first of them first),
// so their rules stay few however many there are.
void ContactDocument::appendPrintStyle(const ContactColumns& columns) {
  piece_ +=
      "@media print {\r\n"
      "body { font-size: 10pt; }\r\n"
      "thead { display: none; }\r\n"
      "table, tbody, tr, td { display: block; }\r\n"
      "table { border: 0; }\r\n"
      "tbody { column-count: 2; column-gap: 2em; }\r\n"
      "tr { break-inside: avoid; page-break-inside: avoid; padding: 0.4em 0; border-top: 1px solid #808080; "
      "}\r\n"
      "tbody td:nth-child(n) { border: 0; padding: 0; max-width: none; white-space: normal; "
      "overflow-wrap: anywhere; }\r\n"
      "td:empty { display: none; }\r\n"
      "td::before { font-weight: bold; }\r\n"
      "td img { max-width: 25mm; max-height: 25mm; }\r\n";
  std::string caption;
  std::size_t position = 0;
  std::size_t counters = 0;
  for (const ContactColumns::Run& run : columns.runs()) {
    for (std::uint32_t i = 0; i < run.count; ++i) {
      const bool numbered = !run.parts && i > 0;
      if (numbered && run.count > 2) break;  // the rest of the run counts itself, below
      const Caption column = run.parts ? AddressPartAfter(run.caption, i) : run.caption;
      caption.clear();
      AppendCaption(caption, columns, column, run.label, run.parts ? run.first : run.first + i);
      AppendCells(piece_, position + i + 1, position + i + 1);
      piece_ += "::before { content: ";
      AppendCssString(piece_, caption + ": ");
      piece_ += "; }\r\n";
    }
    if (!run.parts && run.count > 2) {
      const std::string counter = "c" + std::to_string(++counters);
      caption.clear();
      AppendCaption(caption, columns, run.caption, run.label, 1);
      AppendCells(piece_, position + 1, position + 1);
      piece_ += " { counter-reset: " + counter + " " + std::to_string(run.first) + "; }\r\n";
      AppendCells(piece_, position + 2, position + run.count);
      piece_ += "::before { content: ";
      AppendCssString(piece_, caption + " ");
      piece_ += " counter(" + counter + ") \": \"; counter-increment: " + counter + "; }\r\n";
    }
    position += run.count;
    flushWhenFull();
  }
  piece_ += "}\r\n";
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

void ContactDocument::appendPicture(std::span<const ContactCell> cells, std::string_view input,
                                    std::string_view values, Caption caption, std::string_view base64,
                                    PictureFormat format) {
  piece_ += "<td><img alt=\"";
  piece_ += CaptionName(caption);
  // Whose picture it is: the contact's name as shown, else its first and last name.
  const auto valueOf = [&](const ContactCell& cell) {
    return (cell.stored() ? values : input).substr(cell.offset(), cell.length());
  };
  const ContactCell* named = nullptr;
  for (const Caption nameCaption : {Caption::DisplayName, Caption::FirstName, Caption::Organization}) {
    for (const ContactCell& cell : cells) {
      if (cell.caption() == nameCaption && named == nullptr) named = &cell;
    }
  }
  if (named != nullptr) {
    piece_ += " of ";
    AppendAsciiHtml(piece_, valueOf(*named), named->encoding(), HtmlPlace::Attribute);
    if (named->caption() == Caption::FirstName) {
      for (const ContactCell& cell : cells) {
        if (cell.caption() != Caption::LastName) continue;
        piece_ += ' ';
        AppendAsciiHtml(piece_, valueOf(cell), cell.encoding(), HtmlPlace::Attribute);
        break;
      }
    }
  }
  piece_ += "\" src=\"data:";
  piece_ += MediaType(format);
  piece_ += ";base64,";
  // The picture's own bytes, a piece at a time, without the line breaks it was folded with.
  for (std::size_t from = 0; from < base64.size();) {
    const std::size_t to = Base64PieceEnd(base64, from, kPieceSize);
    AppendBase64Characters(piece_, base64.substr(from, to - from));
    flushWhenFull();
    from = to;
  }
  piece_ += "\"/></td>";
}

void ContactDocument::row(std::span<const ContactCell> cells, std::string_view input, std::string_view values,
                          const ContactColumns& columns) {
  // The cells in the order of the columns: by place (a counting sort), then
  // by key within a place whose cells came in another order. Keys are unique.
  static_assert(kColumnRanks <= 64, "a bit of a mask for each place");
  keys_.resize(cells.size());
  std::array<std::uint32_t, kColumnRanks + 1> first{};
  std::size_t places = 0;
  for (std::size_t i = 0; i < cells.size(); ++i) {
    keys_[i] = ColumnKey(cells[i].caption(), cells[i].label(), cells[i].number());
    const std::size_t place = keys_[i] >> kRankShift;
    ++first[place + 1];
    places = std::max(places, place + 1);
  }
  for (std::size_t r = 1; r <= places; ++r) first[r] += first[r - 1];
  order_.resize(cells.size());
  std::array<std::uint32_t, kColumnRanks + 1> next = first;
  std::uint64_t unsorted = 0;
  for (std::size_t i = 0; i < cells.size(); ++i) {
    const std::size_t place = keys_[i] >> kRankShift;
    const std::uint32_t at = next[place]++;
    if (at > first[place] && keys_[order_[at - 1]] > keys_[i]) unsorted |= std::uint64_t{1} << place;
    order_[at] = static_cast<std::uint32_t>(i);
  }
  for (; unsorted != 0; unsorted &= unsorted - 1) {
    const auto place = static_cast<std::size_t>(std::countr_zero(unsorted));
    std::sort(order_.begin() + first[place], order_.begin() + first[place + 1],
              [&](std::uint32_t a, std::uint32_t b) { return keys_[a] < keys_[b]; });
  }
  piece_ += "<tr>";
  // Each cell's key is taken once; a run's columns have keys a fixed step apart.
  std::size_t at = 0;
  const auto keyAt = [&](std::size_t k) { return k < order_.size() ? keys_[order_[k]] : UINT64_MAX; };
  std::uint64_t nextKey = keyAt(0);
  for (const ContactColumns::Run& run : columns.runs()) {
    const std::uint64_t base = run.key;
    const std::uint64_t step = run.parts ? 1 : kNumberStep;
    for (std::uint32_t i = 0; i < run.count; ++i) {
      const Caption caption = run.parts ? AddressPartAfter(run.caption, i) : run.caption;
      const std::uint64_t column = base + i * step;
      while (nextKey < column) nextKey = keyAt(++at);  // a column the first sweep did not see
      const bool picture = IsPicture(caption);
      if (nextKey != column) {
        piece_ += "<td></td>";
        if (beside_ != nullptr && !picture) beside_->emptyValue();
      } else {
        const ContactCell& cell = cells[order_[at]];
        nextKey = keyAt(++at);
        const std::string_view value = (cell.stored() ? values : input).substr(cell.offset(), cell.length());
        const PictureFormat format = picture ? EmbeddedFormat(value) : PictureFormat::Unknown;
        if (format != PictureFormat::Unknown) {
          appendPicture(cells, input, values, caption, value, format);
        } else {
          // A long text in a block of its own, which the screen style keeps a few lines high.
          const bool longText = HoldsLongText(caption) && MayRunLong(value);
          piece_ += longText ? "<td><span>" : "<td>";
          appendValue(value, cell.encoding());
          piece_ += longText ? "</span></td>" : "</td>";
          if (beside_ != nullptr && !picture) beside_->value(value, cell.encoding());
        }
      }
      if (piece_.size() >= kPieceSize) flushWhenFull();  // a row of a great many columns
    }
  }
  piece_ += "</tr>\r\n";
  flushWhenFull();
  if (beside_ != nullptr) beside_->endRow();
}

void ContactDocument::flush() {
  output_.write(piece_);
  piece_.clear();
}

}  // namespace brevant
