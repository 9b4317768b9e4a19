#pragma once

#include <string>
#include <string_view>

namespace brevant {

// A converter from a named character set to UTF-8, as the system provides it
// (iconv on Linux, code pages on Windows). nullptr: the system does not know
// the name. Opening may be costly: callers keep what they open.
using CharsetConverter = void*;
CharsetConverter OpenCharsetConverter(const std::string& upperCaseName);
void CloseCharsetConverter(CharsetConverter converter);

// Appends the bytes as UTF-8. False, with `out` unchanged, when they are not
// valid in the character set.
bool AppendCharsetAsUtf8(CharsetConverter converter, std::string& out, std::string_view bytes);

}  // namespace brevant
