#pragma once

#include <cstddef>

namespace brevant {

// The width in columns of the terminal open on the descriptor; 0 when unknown.
std::size_t TerminalColumns(int fileDescriptor);

}  // namespace brevant
