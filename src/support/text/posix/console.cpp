#include "support/text/console.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <string_view>

namespace brevant {

std::ostream& StandardOutput() { return std::cout; }
std::ostream& StandardError() { return std::cerr; }

bool StandardErrorRedraws() {
  // A dumb terminal (an editor's shell buffer) cannot redraw a line in place.
  const char* term = std::getenv("TERM");
  return isatty(STDERR_FILENO) == 1 && (term == nullptr || std::string_view(term) != "dumb");
}

std::size_t StandardErrorColumns() {
  winsize size{};
  if (ioctl(STDERR_FILENO, TIOCGWINSZ, &size) != 0) return 0;
  return size.ws_col;
}

}  // namespace brevant
