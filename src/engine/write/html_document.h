#pragma once

#include <array>
#include <string>
#include <string_view>

#include "engine/scan/captions.h"
#include "engine/turn_and_colour.h"
#include "support/text/text.h"

namespace brevant {

// "#RRGGBB" for a colour stored as 0x00BBGGRR. Longer values (system colours,
// negative numbers) give a colour built from their first, middle and last digits.
Text ColorToHex(Colour colour);

// The fixed pieces of the table document, as written (ANSI code page bytes).
inline constexpr std::string_view kRowStart = "<tr>\r\n";
inline constexpr std::string_view kHeaderToDataJoint = "</tr><tr>\r\n";
inline constexpr std::string_view kRowEnd = "</tr>\r\n";
inline constexpr std::string_view kClosing = "</tbody></table></body></html>";
// Every document file ends with one line break after the closing piece.
inline constexpr std::string_view kFinalLineBreak = "\r\n";

// How a document of one row per file is written. The one document of all
// inputs is named output.xml, and XML readers (browsers among them) open it as
// XML: it is well-formed XHTML, which HTML readers see as the same table. The
// documents per input are HTML as they always were.
enum class DocumentMarkup { Html, Xhtml };

// The opening piece: html, empty title, body and the table with its colours and
// border width text (inserted as typed). As XHTML it starts with an XML
// declaration that names the code page, and html carries the XHTML namespace.
std::string OpeningPiece(Colour textColour, TextView borderWidth, Colour backgroundColour,
                         DocumentMarkup markup = DocumentMarkup::Html);

// A data cell's start: the non-breaking space in front of every value, as a
// character reference where XML must read it.
inline constexpr std::string_view DataCellStart(DocumentMarkup markup) {
  return markup == DocumentMarkup::Html ? "<td>&nbsp;" : "<td>&#160;";
}

void AppendHeaderCell(std::string& out, CaptionKey caption);
// The header cells of the captions without a number, made once, by caption.
const std::array<std::string, kCaptionCount>& PlainHeaderCells();

// The value of a data cell (which starts with a non-breaking space), with "&", "<" and ">"
// escaped, so that a contact file can never put markup into the document.
void AppendCellValue(std::string& out, std::string_view ansiValue);
void AppendCellValue(std::string& out, std::u16string_view value);

// Whether escaped bytes of the code page are XML as they are: no control
// character that XML cannot hold, none of the five bytes that Windows-1252
// leaves unassigned (which XML readers refuse in it).
bool IsXmlText(std::string_view bytes);
// Makes the escaped text from `from` on XML: the five unassigned bytes become
// references to the characters they stand for (U+0081, ...), and the control
// characters XML cannot hold are left out (a reference to U+FFFE or U+FFFF too).
void MakeXmlText(std::string& text, std::size_t from = 0);

}  // namespace brevant
