#include "engine/write/html_document.h"

#include <array>
#include <cstdint>

#include "support/text/ansi_code_page.h"
#include "support/text/html_escape.h"

namespace brevant {

Text ColorToHex(Colour colour) {
  constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  // Upper-case hexadecimal without leading zeros; negatives in two's complement.
  auto value = static_cast<std::uint32_t>(colour);
  Text hex;
  do {
    hex.insert(hex.begin(), kDigits[value & 0xF]);
    value >>= 4;
  } while (value != 0);
  if (hex.size() < 6) hex.insert(0, 6 - hex.size(), u'0');
  // The stored byte order (blue, green, red) is reversed.
  return u"#" + hex.substr(hex.size() - 2) + hex.substr(2, 2) + hex.substr(0, 2);
}

namespace {

// The border text goes in as typed, except what could end its attribute or
// start markup.
Text AttributeEscaped(TextView text) {
  Text out;
  out.reserve(text.size());
  for (char16_t c : text) {
    const std::string_view entity = c < 0x80 ? HtmlEntity(static_cast<char>(c), true) : std::string_view();
    if (entity.empty())
      out += c;
    else
      out.append(entity.begin(), entity.end());
  }
  return out;
}

}  // namespace

std::string OpeningPiece(Colour textColour, TextView borderWidth, Colour backgroundColour) {
  std::string out = "<html><title></title><body><table width='100%' style='color:";
  AppendAnsi(out, ColorToHex(textColour));
  out += "' border='";
  AppendAnsi(out, AttributeEscaped(borderWidth));
  out += "' bgcolor='";
  AppendAnsi(out, ColorToHex(backgroundColour));
  out += "'><tbody>\r\n";
  return out;
}

const std::array<std::string, kCaptionCount>& PlainHeaderCells() {
  static const std::array<std::string, kCaptionCount> kPlainCells = [] {
    std::array<std::string, kCaptionCount> cells;
    for (int i = 0; i < kCaptionCount; ++i) {
      cells[i] = "<th>" + std::string(CaptionName(static_cast<Caption>(i))) + "</th>";
    }
    return cells;
  }();
  return kPlainCells;
}

void AppendHeaderCell(std::string& out, CaptionKey caption) {
  if (caption.number < 2) {
    out += PlainHeaderCells()[static_cast<std::size_t>(caption.caption)];
    return;
  }
  out += "<th>";
  AppendCaptionText(out, caption);
  out += "</th>";
}

void AppendCellValue(std::string& out, std::string_view ansiValue) { AppendHtmlEscaped(out, ansiValue); }
void AppendCellValue(std::string& out, std::u16string_view value) { AppendAnsiEscaped(out, value); }

}  // namespace brevant
