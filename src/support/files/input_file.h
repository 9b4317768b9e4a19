#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

#include "support/text/text.h"

namespace brevant {

// Gives back the room an input was read into.
struct StorageRelease {
  std::size_t mappedSize = 0;  // 0: allocated with new[]
  void operator()(char16_t* storage) const;
};
using InputStorage = std::unique_ptr<char16_t[], StorageRelease>;

// Room for `bytes` bytes and one byte more, aligned for 16-bit characters and
// never zero-filled first, so that a UTF-16 input can be decoded in place.
InputStorage AllocateInputStorage(std::size_t bytes);

// The whole content of an input file as bytes.
struct FileContent {
  enum class Kind {
    Missing,  // the path names nothing
    Empty,    // a file of length zero, or a pipe or device that gave nothing
    Bytes,
  };
  Kind kind = Kind::Missing;
  InputStorage storage;
  std::size_t size = 0;  // bytes in storage
  // A pipe or character device: what it gave cannot be read a second time.
  bool readOnce = false;
};

// What a pipe or terminal may give at most: it has no length of its own, and
// without a bound one that never ends (yes | ..., /dev/stdin of an endless
// program) would take all the memory there is.
inline constexpr std::uint64_t kMostStreamBytes = std::uint64_t{1} << 30;

struct ReadOptions {
  // Called between the pieces of a long read (a few megabytes each), so that
  // a window gets its turns however large the file; it may throw to end the read.
  std::function<void()> betweenPieces{};
  // The length of a regular file as its caller saw it earlier (0: not known).
  // On Linux it spares looking at the file again; the file is still read to
  // its end, whatever its length is by then.
  std::uint64_t knownSize = 0;
  // A pipe or terminal that gives more fails the read (FileError, naming the bound).
  std::uint64_t mostStreamBytes = kMostStreamBytes;
};

// Reads a file to its end. A file that grew since its length was seen is read
// up to the length it has when that is found, and no further: one that keeps
// growing cannot make the read run away. A pipe or terminal (standard input,
// "<(...)") is read to its end too, into room that grows as it fills, up to
// mostStreamBytes. Any other device (/dev/zero, /dev/urandom) is refused. A
// file that cannot be opened or read throws FileError.
FileContent ReadFileContent(TextView path, const ReadOptions& options = {});

// True for a pipe or character device: what it gives can be read only once.
bool IsReadOnce(TextView path);

// The path that names the program's standard input ("-" on the command line).
Text StandardInputPath();

}  // namespace brevant
