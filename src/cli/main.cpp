#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_main.h"
#include "cli/terminal_size.h"
#include "support/signal_cleanup.h"

int main(int argc, char** argv) {
  brevant::RemovePendingFilesOnSignals();
  const std::vector<std::string> args(argv + 1, argv + argc);
  const bool stderrIsTerminal = isatty(STDERR_FILENO) == 1;
  return brevant::RunCli(args, std::cout, std::cerr, stderrIsTerminal,
                         stderrIsTerminal ? brevant::TerminalColumns(STDERR_FILENO) : 0);
}
