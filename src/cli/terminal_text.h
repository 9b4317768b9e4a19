#pragma once

#include <string>

#include "support/text/text.h"

namespace brevant {

// Texts for the terminal, as UTF-8. File names and error descriptions are
// foreign text: a control character in them could move the cursor or start an
// escape sequence, so each becomes "?", and a byte kept from a name that is not
// valid UTF-8 (a lone surrogate) becomes U+FFFD.

// One line: line breaks and tabs are control characters too.
std::string TerminalLine(TextView text);

}  // namespace brevant
