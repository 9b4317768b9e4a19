#pragma once

#include <cstdint>
#include <functional>

namespace brevant {

// A colour as the window system stores it: 0x00BBGGRR, red in the lowest byte.
using Colour = std::int32_t;

// A turn for the window system, for the parts of the engine that need nothing
// else of their surroundings (the writers, the readers of long texts).
using Turn = std::function<void()>;

}  // namespace brevant
