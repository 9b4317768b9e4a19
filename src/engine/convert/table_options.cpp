#include "engine/convert/table_options.h"

#include "engine/write/html_document.h"

namespace brevant {

std::string OpeningPiece(Host& host, DocumentMarkup markup) {
  const Colour textColour = host.tableTextColour();
  const Text border = host.borderWidth();
  return OpeningPiece(textColour, border, host.tableBackgroundColour(), markup);
}

ContactTableStyle ReadContactTableStyle(Host& host) {
  ContactTableStyle style;
  style.text = host.tableTextColour();
  style.border = host.borderWidth();
  style.background = host.tableBackgroundColour();
  return style;
}

}  // namespace brevant
