#include "support/qt/desktop_folder.h"

#include <QCoreApplication>
#include <QStandardPaths>
#include <stdexcept>

#include "support/qt/qt_text.h"

namespace brevant {

Text GetDesktopFolder() {
  const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
  if (desktop.isEmpty()) throw std::invalid_argument("Invalid procedure call or argument");
  Text folder = ToText(desktop);
  if (folder.back() != u'/') folder += u'/';
  return folder;
}

Text ProgramFolder() { return ToText(QCoreApplication::applicationDirPath()); }

}  // namespace brevant
