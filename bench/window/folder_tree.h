#pragma once

#include <cstddef>
#include <string>

namespace brevant::bench {

// A tree of folders under root: `top` folders, each holding `below` more, so
// top * (below + 1) folders in all, each with `files` small vCards (one of them
// ".VCF" in capitals). Gives the number of files written.
std::size_t WriteFolderTree(const std::string& root, std::size_t top, std::size_t below, std::size_t files);

}  // namespace brevant::bench
