#pragma once

#include <array>
#include <string>
#include <string_view>

#include "engine/turn_and_colour.h"
#include "engine/scan/captions.h"
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

// The opening piece: html, empty title, body and the table with its colours and
// border width text (inserted as typed).
std::string OpeningPiece(Colour textColour, TextView borderWidth, Colour backgroundColour);

void AppendHeaderCell(std::string& out, CaptionKey caption);
// The header cells of the captions without a number, made once, by caption.
const std::array<std::string, kCaptionCount>& PlainHeaderCells();

// The value of a data cell (which starts with a non-breaking space), with "&", "<" and ">"
// escaped, so that a contact file can never put markup into the document.
void AppendCellValue(std::string& out, std::string_view ansiValue);
void AppendCellValue(std::string& out, std::u16string_view value);

}  // namespace brevant
