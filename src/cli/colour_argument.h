#pragma once

#include <optional>
#include <string_view>

#include "engine/host.h"

namespace brevant {

// A colour typed on the command line: "#RRGGBB" (hex digits in any case), or the
// window system's own decimal value 0x00BBGGRR from 0 to 4294967295, which wraps
// to the signed 32-bit value. Nothing else is a colour.
std::optional<Colour> ParseColourArgument(std::string_view text);

}  // namespace brevant
