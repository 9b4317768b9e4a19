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

std::string OpeningPiece(Colour textColour, TextView borderWidth, Colour backgroundColour,
                         DocumentMarkup markup) {
  const bool xhtml = markup == DocumentMarkup::Xhtml;
  std::string out = xhtml ? "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\r\n"
                            "<html xmlns=\"http://www.w3.org/1999/xhtml\">"
                          : "<html>";
  out += "<title></title><body><table width='100%' style='color:";
  AppendAnsi(out, ColorToHex(textColour));
  out += "' border='";
  AppendAnsi(out, AttributeEscaped(borderWidth));
  out += "' bgcolor='";
  AppendAnsi(out, ColorToHex(backgroundColour));
  out += "'><tbody>\r\n";
  if (xhtml) MakeXmlText(out);  // a border typed with a control character
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

namespace {

// What a byte of the code page is to XML.
enum XmlByte : std::uint8_t { kXmlAsIs, kXmlDropped, kXmlReferenced };

constexpr std::array<std::uint8_t, 256> MakeXmlBytes() {
  std::array<std::uint8_t, 256> bytes{};
  for (int b = 0; b < 0x20; ++b) bytes[b] = kXmlDropped;
  bytes['\t'] = bytes['\n'] = bytes['\r'] = kXmlAsIs;
  for (int b : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) bytes[b] = kXmlReferenced;
  return bytes;
}
constexpr std::array<std::uint8_t, 256> kXmlBytes = MakeXmlBytes();

}  // namespace

bool IsXmlText(std::string_view bytes) {
  std::uint8_t any = 0;
  for (char c : bytes) any |= kXmlBytes[static_cast<unsigned char>(c)];
  return any == 0;
}

void MakeXmlText(std::string& text, std::size_t from) {
  constexpr std::string_view kNonCharacters[] = {"&#65534;", "&#65535;"};
  const auto atNonCharacter = [&](std::size_t i) {
    for (std::string_view reference : kNonCharacters)
      if (text.compare(i, reference.size(), reference) == 0) return reference.size();
    return std::size_t{0};
  };
  if (IsXmlText(std::string_view(text).substr(from)) && text.find("&#6553", from) == std::string::npos)
    return;
  std::string made;
  made.reserve(text.size() - from);
  for (std::size_t i = from; i < text.size();) {
    // Escaping made every "&#" here, so each such text is a reference.
    if (const std::size_t skip = atNonCharacter(i)) {
      i += skip;
      continue;
    }
    const auto byte = static_cast<unsigned char>(text[i++]);
    if (kXmlBytes[byte] == kXmlAsIs) {
      made += static_cast<char>(byte);
    } else if (kXmlBytes[byte] == kXmlReferenced) {
      made += "&#" + std::to_string(byte) + ";";
    }
  }
  text.replace(from, std::string::npos, made);
}

void AppendCellValue(std::string& out, std::string_view ansiValue) { AppendHtmlEscaped(out, ansiValue); }
void AppendCellValue(std::string& out, std::u16string_view value) { AppendAnsiEscaped(out, value); }

}  // namespace brevant
