#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace brevant::bench {

// The least work any converter must do with the same files: read the input and
// write as many bytes. A conversion's time is judged against these. Each gives
// the number of bytes it wrote.

// Reads the file whole and writes its bytes to a new file.
std::uint64_t CopyWholeFile(const std::string& from, const std::string& to);

// Copies the files one by one into the folder, each under its own name.
std::uint64_t CopyFilesInto(const std::vector<std::string>& files, const std::string& folder);

// Reads every file, then reads every file again and writes all their bytes as
// one file: the shape of a two-sweep conversion into one document.
std::uint64_t ReadTwiceWriteOne(const std::vector<std::string>& files, const std::string& target);

}  // namespace brevant::bench
