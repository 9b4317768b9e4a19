#include "support/files/signal_cleanup.h"

#include <windows.h>

namespace brevant {

namespace {

// Ctrl+C, Ctrl+Break, closing the console, logging off and shutting down end the
// program as SIGINT does on Linux. Every pending file is marked for deletion
// while it is written, so the system removes it as the process ends.
BOOL WINAPI EndOnConsoleEvent(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
      ExitProcess(130);
    default:
      return FALSE;
  }
}

}  // namespace

void RemovePendingFilesOnSignals() { SetConsoleCtrlHandler(EndOnConsoleEvent, TRUE); }

// Nothing to note: the system deletes a pending file that its program leaves.
int NotePendingPath(const char* /*path*/) { return -1; }
void ForgetPendingPath(int /*slot*/) {}

}  // namespace brevant
