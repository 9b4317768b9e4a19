#pragma once

#include <optional>

#include "engine/turn_and_colour.h"
#include "support/text/text.h"

namespace brevant {

// Whether a text reads as a number: blanks, an optional sign, digits with at
// most one decimal point (digits on at least one side), an optional exponent,
// blanks. An empty text does not.
bool IsNumericEntry(TextView text);

// A stored flag: "True"/"False" in any letter case, or a number (non-zero is
// true). Nothing when the text is neither.
std::optional<bool> FlagFromText(TextView text);
Text FlagText(bool flag);

// A stored colour: signed decimal text, surrounding blanks allowed, within the
// 32-bit range. Nothing when the text is not such a number.
std::optional<Colour> ColourFromText(TextView text);
Text ColourText(Colour colour);

}  // namespace brevant
