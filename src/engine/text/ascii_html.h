#pragma once

#include <string>
#include <string_view>

#include "engine/text/text_encodings.h"

namespace brevant {

// Where escaped text goes in the document.
enum class HtmlPlace {
  Cell,       // a line break (CR LF, CR or LF) becomes "<br/>", so that it shows
  Attribute,  // quotes are escaped too; a line break or tab becomes a blank
};

// Appends text in plain ASCII that any XML or HTML parser reads back as the
// text: "&", "<" and ">" escaped, every character beyond ASCII (DEL and the C1
// controls among them) as "&#N;", whatever character set a browser assumes.
// Other C0 controls are left out (XML has no way to hold them), and so is what
// can be no character (a lone surrogate, U+FFFE, U+FFFF): it reads as U+FFFD.
void AppendAsciiHtml(std::string& out, std::string_view text, ByteEncoding encoding,
                     HtmlPlace place = HtmlPlace::Cell);

// Where text may be cut into pieces to escape one at a time: never inside a
// UTF-8 sequence or between the CR and LF of one line break. `at` is the wanted
// end; the result is at least `from` + 1 when from < text.size().
std::size_t EscapeSliceEnd(std::string_view text, std::size_t from, std::size_t at);

}  // namespace brevant
