#pragma once

#include <cstddef>
#include <ostream>

namespace brevant {

// The command-line tool's standard streams. On Windows a console gets its text
// through WriteConsoleW, so every character shows whatever the console's code
// page; a file or pipe gets the UTF-8 bytes, as on Linux.
std::ostream& StandardOutput();
std::ostream& StandardError();

// True when standard error is a terminal that redraws a line in place (carriage
// return and the erase-line sequence): not a file, a pipe or a dumb terminal.
bool StandardErrorRedraws();

// The width of that terminal in columns; 0 when unknown.
std::size_t StandardErrorColumns();

}  // namespace brevant
