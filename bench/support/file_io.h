#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace brevant::bench {

// Plain POSIX file access for the benchmarks: no buffering layers in between, so
// the floors they measure are what the system itself costs. Paths are UTF-8.
// Every failure throws std::runtime_error naming the path.

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, std::string_view bytes);
std::uint64_t FileSize(const std::string& path);

// Reads the file through a small buffer and drops the bytes: brings it into the
// page cache without growing this process. Gives the number of bytes read.
std::uint64_t ReadAndDiscard(const std::string& path);

// The regular files of a folder whose names end in the suffix, sorted by name.
std::vector<std::string> ListFiles(const std::string& folder, std::string_view suffix);

// Sum of the sizes of the files.
std::uint64_t TotalSize(const std::vector<std::string>& paths);

// Removes the folder with its content when present, then creates it empty.
void RecreateFolder(const std::string& folder);

}  // namespace brevant::bench
