#include <QApplication>

#include "support/qt/desktop_folder.h"
#include "support/qt/settings_store.h"
#include "window/form1.h"
#include "window/qt_dialogs.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setStyle(QStringLiteral("Fusion"));  // the same look on every desktop
  brevant::SettingsStore settings;
  brevant::QtDialogs dialogs;
  brevant::Form1 window({settings, dialogs, brevant::ProgramFolder()});
  dialogs.setOwner(&window);
  window.show();
  return QApplication::exec();
}
