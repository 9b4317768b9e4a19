#include "support/io_floors.h"

#include <filesystem>

#include "support/file_io.h"

namespace brevant::bench {

std::uint64_t CopyWholeFile(const std::string& from, const std::string& to) {
  const std::string bytes = ReadFileBytes(from);
  WriteFileBytes(to, bytes);
  return bytes.size();
}

std::uint64_t CopyFilesInto(const std::vector<std::string>& files, const std::string& folder) {
  std::uint64_t written = 0;
  for (const std::string& file : files) {
    const std::string target =
        (std::filesystem::path(folder) / std::filesystem::path(file).filename()).string();
    written += CopyWholeFile(file, target);
  }
  return written;
}

std::uint64_t ReadTwiceWriteOne(const std::vector<std::string>& files, const std::string& target) {
  std::uint64_t firstSweep = 0;
  for (const std::string& file : files) firstSweep += ReadFileBytes(file).size();
  std::string all;
  all.reserve(firstSweep);
  for (const std::string& file : files) all += ReadFileBytes(file);
  WriteFileBytes(target, all);
  return all.size();
}

}  // namespace brevant::bench
