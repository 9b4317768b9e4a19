#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_main.h"
#include "cli/terminal_size.h"
#include "support/signal_cleanup.h"

int main(int argc, char** argv) {
  brevant::RemovePendingFilesOnSignals();
  const std::vector<std::string> args(argv + 1, argv + argc);
  // A dumb terminal (an editor's shell buffer) cannot redraw a line in place.
  const char* term = std::getenv("TERM");
  const bool stderrIsTerminal =
      isatty(STDERR_FILENO) == 1 && (term == nullptr || std::string_view(term) != "dumb");
  return brevant::RunCli(args, std::cout, std::cerr, stderrIsTerminal,
                         stderrIsTerminal ? brevant::TerminalColumns(STDERR_FILENO) : 0);
}
