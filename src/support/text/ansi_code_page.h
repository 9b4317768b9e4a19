#pragma once

#include <cstdint>
#include <string>

#include "support/text/text.h"

namespace brevant {

// The ANSI code page is Windows-1252; its five unassigned bytes map to the C1
// controls of the same value, so every byte reads as one character and is
// written back as the same byte.
char16_t AnsiByteToChar(std::uint8_t byte);

// The byte for a character, or -1 when the code page cannot hold it.
int CharToAnsiByte(char16_t ch);

// Appends the text in the code page. A character the code page cannot hold is
// written as a decimal character reference "&#N;" of its code point (a
// surrogate pair is one code point, a lone surrogate gives "&#65533;").
void AppendAnsi(std::string& out, TextView text);

// Same, and also escapes "&", "<" and ">" for an HTML data cell.
void AppendAnsiEscaped(std::string& out, TextView text);

}  // namespace brevant
