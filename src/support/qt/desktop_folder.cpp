#include "support/qt/desktop_folder.h"

#include <QCoreApplication>
#include <QStandardPaths>

#include "support/files/output_folder_choice.h"
#include "support/qt/qt_text.h"

namespace brevant {

Text DefaultOutputFolder() {
  const auto location = [](QStandardPaths::StandardLocation kind) {
    return ToText(QStandardPaths::writableLocation(kind));
  };
  return ChooseOutputFolder(location(QStandardPaths::DesktopLocation),
                            location(QStandardPaths::DocumentsLocation),
                            location(QStandardPaths::HomeLocation));
}

Text ProgramFolder() { return ToText(QCoreApplication::applicationDirPath()); }

}  // namespace brevant
