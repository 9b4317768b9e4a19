#pragma once

#include <string>
#include <string_view>

namespace brevant {

// The program's text: 16-bit characters (UTF-16 code units).
using Text = std::u16string;
using TextView = std::u16string_view;

}  // namespace brevant
