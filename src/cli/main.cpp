#include <string>
#include <vector>

#include "cli/cli_main.h"
#include "support/text/console.h"
#include "support/files/signal_cleanup.h"

#ifdef _WIN32
#include "support/text/utf8.h"

// Arguments come as UTF-16, so that any file name reaches the tool whole.
int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(brevant::ToUtf8(reinterpret_cast<const char16_t*>(argv[i])));
#else
int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
#endif
  brevant::RemovePendingFilesOnSignals();
  const bool stderrRedraws = brevant::StandardErrorRedraws();
  return brevant::RunCli(args, brevant::StandardOutput(), brevant::StandardError(), stderrRedraws,
                         stderrRedraws ? brevant::StandardErrorColumns() : 0);
}
