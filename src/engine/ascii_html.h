#pragma once

#include <string>
#include <string_view>

#include "engine/contact_text.h"

namespace brevant {

// Appends text to an HTML data cell in plain ASCII: "&", "<" and ">" escaped,
// every line break (CR LF, CR or LF) as "<br>" so that it shows, and every
// character beyond ASCII as "&#N;", so that any browser shows it right whatever
// character set it assumes.
void AppendAsciiHtml(std::string& out, std::string_view text, ByteEncoding encoding);

// The same document text (written in the ANSI code page) in plain ASCII: every
// byte beyond ASCII becomes "&#N;" of its character.
std::string AnsiToAsciiHtml(std::string_view ansi);

}  // namespace brevant
