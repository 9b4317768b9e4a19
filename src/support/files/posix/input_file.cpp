#include "support/files/input_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <new>
#include <string>

#include "support/files/file_error.h"
#include "support/files/native_path.h"

namespace brevant {

namespace {

constexpr std::size_t kMappedStorageSize = std::size_t{4} << 20;
// A pipe's first room: most inputs fit, and untouched pages cost nothing.
constexpr std::size_t kFirstStreamRoom = std::size_t{1} << 20;

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

[[noreturn]] void Fail(int errorNumber) { throw FileError(DescribeSystemError(errorNumber)); }

std::size_t RoomFor(std::size_t bytes) { return (bytes / 2 + 1) * sizeof(char16_t); }

// populate: all pages at once, which is much cheaper than taking them one fault
// at a time while a file of known size is read into them. Without it only the
// pages written to take memory.
InputStorage MappedStorage(std::size_t size, bool populate) {
  void* mapped = mmap(nullptr, size, PROT_READ | PROT_WRITE,
                      MAP_PRIVATE | MAP_ANONYMOUS | (populate ? MAP_POPULATE : 0), -1, 0);
  if (mapped == MAP_FAILED) throw std::bad_alloc();
  return InputStorage(static_cast<char16_t*>(mapped), StorageRelease{size});
}

// Room for at least `bytes` bytes, keeping the first `filled`. Mapped room
// grows in place or moves without copying, so a pipe's content is never held twice.
void Grow(InputStorage& storage, std::size_t filled, std::size_t bytes) {
  const std::size_t mappedSize = storage.get_deleter().mappedSize;
  if (mappedSize != 0) {
    const std::size_t size = RoomFor(bytes);
    void* moved = mremap(storage.get(), mappedSize, size, MREMAP_MAYMOVE);
    if (moved == MAP_FAILED) throw std::bad_alloc();
    storage.release();
    storage = InputStorage(static_cast<char16_t*>(moved), StorageRelease{size});
    return;
  }
  auto larger = AllocateInputStorage(bytes);
  std::memcpy(larger.get(), storage.get(), filled);
  storage = std::move(larger);
}

// Bytes asked of one read: a file is read in pieces of this size, with a
// turn for the caller between them.
constexpr std::size_t kPieceSize = std::size_t{8} << 20;

// Mapped room for a file takes its pages a piece at a time, just before the
// piece is read into them: all at once is much cheaper than one fault at a time,
// but the pages of a large file take long enough to leave the caller without
// its turns. Without this (an older system) the pages come one fault at a time.
void TakePages(const InputStorage& storage, std::size_t from, std::size_t bytes) {
#ifdef MADV_POPULATE_WRITE
  if (storage.get_deleter().mappedSize == 0) return;
  static const auto kPage = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
  const auto start = reinterpret_cast<std::uintptr_t>(storage.get()) + from;
  const std::uintptr_t first = start & ~(kPage - 1);
  madvise(reinterpret_cast<void*>(first), start + bytes - first, MADV_POPULATE_WRITE);
#else
  static_cast<void>(storage);
  static_cast<void>(from);
  static_cast<void>(bytes);
#endif
}

// Reads to the end into `storage`, which has room for `capacity` bytes.
// `expected` is the length that a regular file was seen to have (0 for a pipe
// or terminal): once that much has come and a read gave less than asked, the
// file is at its end, which spares the read that would say so. A file that
// fills its room grew since it was seen: its length is looked at once more, and
// it is read up to that length and no further. A pipe's room doubles whenever
// it fills, up to options.mostStreamBytes; a pipe that gives more fails the read.
std::size_t ReadAll(int fd, InputStorage& storage, std::size_t capacity, std::size_t expected,
                    const ReadOptions& options) {
  const bool regular = expected != 0;
  const std::size_t most = static_cast<std::size_t>(options.mostStreamBytes);
  bool lookedAgain = false;
  std::size_t filled = 0;
  std::size_t nextTurn = kPieceSize;
  while (true) {
    if (filled == capacity) {
      std::size_t room;
      if (regular) {
        struct stat info {};
        if (lookedAgain) return filled;
        lookedAgain = true;
        if (fstat(fd, &info) != 0) Fail(errno);
        const auto now = static_cast<std::size_t>(std::max<off_t>(info.st_size, 0));
        if (now < filled) return filled;
        expected = now;
        room = now + 1;
      } else {
        room = std::min(capacity * 2, most + 1);
      }
      Grow(storage, filled, room);
      capacity = room;
    }
    char* bytes = reinterpret_cast<char*>(storage.get());
    const std::size_t asked = std::min(capacity - filled, kPieceSize);
    if (expected != 0) TakePages(storage, filled, asked);
    const ssize_t got = read(fd, bytes + filled, asked);
    if (got < 0) {
      if (errno == EINTR) continue;
      Fail(errno);
    }
    if (got == 0) return filled;
    filled += static_cast<std::size_t>(got);
    if (!regular && filled > most) throw FileError(DescribeInputTooLong(options.mostStreamBytes));
    if (regular && filled == expected && static_cast<std::size_t>(got) < asked) return filled;
    if (filled >= nextTurn && options.betweenPieces) {
      options.betweenPieces();
      nextTurn = filled + kPieceSize;
    }
  }
}

bool IsStream(const struct stat& info) { return S_ISFIFO(info.st_mode) || S_ISCHR(info.st_mode); }

}  // namespace

InputStorage AllocateInputStorage(std::size_t bytes) {
  const std::size_t size = RoomFor(bytes);
  if (size >= kMappedStorageSize) return MappedStorage(size, true);
  return InputStorage(new char16_t[size / sizeof(char16_t)], StorageRelease{0});
}

void StorageRelease::operator()(char16_t* storage) const {
  if (mappedSize != 0) {
    munmap(storage, mappedSize);
  } else {
    delete[] storage;
  }
}

FileContent ReadFileContent(TextView path, const ReadOptions& options) {
  // A path that cannot be looked up names no file (as FileExists says); one
  // lookup gives the kind and length as well, unless the caller knows the length.
  std::string systemPath;
  FileContent content;
  if (!ToNativePath(path, systemPath) || systemPath.empty()) return content;
  struct stat info {};
  const bool known = options.knownSize > 0;
  if (known) {
    info.st_mode = S_IFREG;
    info.st_size = static_cast<off_t>(options.knownSize);
  } else if (stat(systemPath.c_str(), &info) != 0) {
    if (errno == ENAMETOOLONG) Fail(errno);  // no missing file: one that cannot be named
    return content;
  }
  // The length of a pipe or device says nothing about what it gives.
  const bool stream = IsStream(info);
  if (!stream && info.st_size <= 0) {
    content.kind = FileContent::Kind::Empty;
    return content;
  }
  // A named pipe is opened as any reader opens it: when its writer comes.
  // Anything else opens without waiting, so that a file that turned into a FIFO
  // since the look cannot hang the read; a device is then waited for as it gives.
  const int wait = S_ISFIFO(info.st_mode) ? 0 : O_NONBLOCK;
  const FileDescriptor file(open(systemPath.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | wait));
  if (file.get() < 0) {
    if (known && errno == ENOENT) return content;  // gone since the caller saw it
    Fail(errno);
  }
  if (stream) {
    // A terminal ends when its user says so; any other device (/dev/zero) may never end.
    if (S_ISCHR(info.st_mode) && !isatty(file.get())) throw FileError(kDeviceIsNoInput);
    const int flags = fcntl(file.get(), F_GETFL);
    if (flags < 0 || fcntl(file.get(), F_SETFL, flags & ~O_NONBLOCK) != 0) Fail(errno);
    const std::size_t room =
        std::min(kFirstStreamRoom, static_cast<std::size_t>(options.mostStreamBytes) + 1);
    content.storage = MappedStorage(RoomFor(room), false);
    content.size = ReadAll(file.get(), content.storage, room, 0, options);
    content.readOnce = true;
  } else {
    // One spare byte, so that a file that grew since the look is seen to go on.
    const auto expected = static_cast<std::size_t>(info.st_size);
    content.storage = RoomFor(expected + 1) >= kMappedStorageSize
                          ? MappedStorage(RoomFor(expected + 1), false)
                          : AllocateInputStorage(expected + 1);
    content.size = ReadAll(file.get(), content.storage, expected + 1, expected, options);
  }
  content.kind = content.size == 0 ? FileContent::Kind::Empty : FileContent::Kind::Bytes;
  return content;
}

bool IsReadOnce(TextView path) {
  std::string systemPath;
  struct stat info {};
  return ToNativePath(path, systemPath) && !systemPath.empty() && stat(systemPath.c_str(), &info) == 0 &&
         IsStream(info);
}

Text StandardInputPath() { return u"/dev/stdin"; }

}  // namespace brevant
