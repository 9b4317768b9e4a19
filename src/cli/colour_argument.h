#pragma once

#include <optional>
#include <string_view>

#include "engine/turn_and_colour.h"

namespace brevant {

// A colour typed on the command line: "#RRGGBB" (hex digits in any case), or the
// window system's own value 0x00BBGGRR: in decimal from -2147483648 (the signed
// form the window stores) to 4294967295 (which wraps to the signed value), or
// "0x" with one to eight hexadecimal digits. Nothing else is a colour.
std::optional<Colour> ParseColourArgument(std::string_view text);

}  // namespace brevant
