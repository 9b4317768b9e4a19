#pragma once

#include <QString>

#include "support/text/text.h"

namespace brevant {

// The program's text and Qt's share UTF-16, so these only copy.
inline QString ToQString(TextView text) {
  return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}
inline Text ToText(const QString& text) { return text.toStdU16String(); }

}  // namespace brevant
