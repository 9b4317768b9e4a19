#include "window/desktop_identity.h"

#include <QApplication>
#include <QIcon>

namespace brevant {

void PresentAsDesktopApplication() {
  const QString id = QString::fromLatin1(kDesktopId);
  QGuiApplication::setDesktopFileName(id);
  QIcon builtIn;
  for (const char* size : {"48x48", "128x128"})
    builtIn.addFile(QStringLiteral(":/icons/%1/%2.png").arg(QLatin1String(size), id));
  QApplication::setWindowIcon(QIcon::fromTheme(id, builtIn));
}

}  // namespace brevant
