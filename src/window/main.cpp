#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTimer>
#include <iostream>
#include <optional>

#include "form/command_line.h"
#include "support/qt/desktop_folder.h"
#include "support/qt/qt_settings_store.h"
#include "support/qt/qt_text.h"
#include "support/files/signal_cleanup.h"
#include "window/desktop_identity.h"
#include "window/qt_dialogs.h"
#include "window/qt_main_window.h"
#include "window/window_system_watch.h"

int main(int argc, char** argv) {
  std::vector<brevant::Text> args;
  for (int i = 1; i < argc; ++i) args.push_back(brevant::ToText(QFile::decodeName(argv[i])));
  const brevant::WindowCommandLine commandLine =
      brevant::ParseWindowCommandLine(args, brevant::ToText(QDir::currentPath()));
  if (const auto status = brevant::AnswerOnTerminal(commandLine, std::cout, std::cerr)) return *status;
  // Ended by a signal in the middle of a run, the window leaves no half-written file behind.
  brevant::RemovePendingFilesOnSignals();

  // Qt sees the program name only: a file named like one of its options stays a file.
  int qtArgc = 1;
  QApplication application(qtArgc, argv);
  QApplication::setStyle(QStringLiteral("Fusion"));  // the same look on every desktop
  brevant::PresentAsDesktopApplication();
  brevant::QtSettingsStore settings;
  brevant::QtDialogs dialogs;
  brevant::QtMainWindow window({settings, dialogs, brevant::ProgramFolder()});
  dialogs.setOwner(&window);
  window.show();
  // Destroyed by another program, or asked to close while a box is up: the program ends all the same.
  std::optional<brevant::WindowSystemWatch> watch;
  if (const auto atoms = brevant::WindowSystemWatch::DisplayCloseAtoms()) {
    watch.emplace(
        static_cast<std::uint32_t>(window.winId()), *atoms,
        [] { return QApplication::activeModalWidget() != nullptr; }, [&window] { window.windowGone(); });
    application.installNativeEventFilter(&*watch);
  }
  // Once the window shows, as a drop would come: a long folder scan keeps it responsive.
  QTimer::singleShot(0, &window, [&] { window.form().filesDropped(commandLine.paths); });
  return QApplication::exec();
}
