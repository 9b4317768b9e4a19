#include "cli/terminal_size.h"

#include <sys/ioctl.h>

namespace brevant {

std::size_t TerminalColumns(int fileDescriptor) {
  winsize size{};
  if (ioctl(fileDescriptor, TIOCGWINSZ, &size) != 0) return 0;
  return size.ws_col;
}

}  // namespace brevant
