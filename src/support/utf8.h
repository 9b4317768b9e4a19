#pragma once

#include <string>
#include <string_view>

#include "support/text.h"

namespace brevant {

// Paths and command-line texts are UTF-8 bytes on disk. Bytes that are not valid
// UTF-8 become the lone surrogates U+DC80..U+DCFF and turn back into the same
// bytes, so every file name survives the round trip.
Text FromUtf8(std::string_view bytes);
std::string ToUtf8(TextView text);

// True when the bytes are well-formed UTF-8.
bool IsValidUtf8(std::string_view bytes);

}  // namespace brevant
