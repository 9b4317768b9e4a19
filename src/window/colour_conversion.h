#pragma once

#include <QColor>

#include "engine/turn_and_colour.h"

namespace brevant {

// The window system's colour value (red in the lowest byte) and Qt's colour.
inline QColor ToQColor(Colour colour) {
  return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}
inline Colour FromQColor(const QColor& colour) {
  return static_cast<Colour>(colour.red() | colour.green() << 8 | colour.blue() << 16);
}

}  // namespace brevant
