// brevant.exe: the Brevant window on Windows.
#include <windows.h>
// (the headers below need windows.h first)
#include <commctrl.h>

#include "form/main_form.h"
#include "support/messages/application_title.h"
#include "support/win32/desktop_folder.h"
#include "support/settings/win32/registry_settings.h"
#include "win32_window/dpi_scale.h"
#include "win32_window/program_arguments.h"
#include "win32_window/test_report.h"
#include "win32_window/win32_dialogs.h"
#include "win32_window/win32_main_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  using namespace brevant;
  const WindowCommandLine commandLine = ParseWindowCommandLine(ProgramArguments(), WorkingFolder());
  if (const auto status = AnswerWithoutWindow(commandLine)) return *status;

  DeclareDpiAwareness();
  INITCOMMONCONTROLSEX controls{sizeof controls,
                                ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  RegistrySettings settings;
  Win32Dialogs dialogs(ApplicationTitle(kProductName));
  TestReport report;
  int status = 0;
  {
    Win32MainWindow view(instance, &dialogs);
    MainForm form(view, FormSetup{settings, dialogs, ProgramFolder(), [] { return DesktopFolder(); }});
    if (report.active())
      view.turns().setBusySpanObservers(
          [&report] { report.busySpanBegun(); },
          [&report](const MessageTurns::BusySpan& span) { report.busySpan(span); });
    view.create(form);
    view.show(showCommand);
    // Once the window shows, as a drop would come: a long folder scan keeps it responsive.
    if (!commandLine.paths.empty()) form.filesDropped(commandLine.paths);
    if (report.active()) {
      for (const ControlLayout& layout : FormLayout())
        if (layout.kind == ControlKind::Button)
          report.control(layout.objectName, view.control(layout.control));
    }
    status = view.turns().run();
    if (view.closeAskedAt() != 0) report.closed(NowMicroseconds() - view.closeAskedAt());
    report.rows(form.rows());
  }
  return status;
}
