#pragma once

#include <string>

#include "engine/host.h"
#include "engine/write/contact_html.h"
#include "engine/write/html_document.h"

namespace brevant {

// The table options as a conversion reads them from the host when it starts,
// in this order: text colour, border width, background colour.

// The opening piece of a document of one row per file.
std::string OpeningPiece(Host& host, DocumentMarkup markup = DocumentMarkup::Html);
// The style of a document of one row per contact.
ContactTableStyle ReadContactTableStyle(Host& host);

}  // namespace brevant
