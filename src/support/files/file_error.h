#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace brevant {

// A failed file operation. The description is the one an error box shows
// ("Permission denied", "Path not found", "Disk full", ...).
class FileError : public std::runtime_error {
 public:
  explicit FileError(const std::string& description) : std::runtime_error(description) {}
  std::string description() const { return what(); }
};

// The description for a system error number, in the words users know from the
// error boxes ("Permission denied", "File not found", "Path not found", "Disk full",
// "Path/File access error"), and "Path too long" for a path or name longer than
// the system allows; other numbers give the system's own text.
std::string DescribeSystemError(int errorNumber);

// An input that a pipe or terminal gave more than `most` bytes of.
std::string DescribeInputTooLong(std::uint64_t most);
// A device other than a pipe or terminal, given as an input: one that never ends
// (/dev/zero) would be read until the memory ran out.
inline constexpr char kDeviceIsNoInput[] = "A device is not a file: only files, pipes and terminals are read";

}  // namespace brevant
