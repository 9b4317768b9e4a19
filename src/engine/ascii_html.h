#pragma once

#include <string>
#include <string_view>

namespace brevant {

// Appends UTF-8 text to an HTML data cell in plain ASCII: "&", "<" and ">"
// escaped, every line break (CR LF, CR or LF) as "<br>" so that it shows, and
// every character beyond ASCII as "&#N;", so that any browser shows it right
// whatever character set it assumes. A byte that is no valid UTF-8 becomes "&#65533;".
void AppendAsciiHtml(std::string& out, std::string_view utf8);

// The same document text (written in the ANSI code page) in plain ASCII: every
// byte beyond ASCII becomes "&#N;" of its character.
std::string AnsiToAsciiHtml(std::string_view ansi);

}  // namespace brevant
