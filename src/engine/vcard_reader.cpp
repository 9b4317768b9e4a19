#include "engine/vcard_reader.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "support/ansi_code_page.h"
#include "support/file_error.h"
#include "support/native_path.h"

namespace brevant {

namespace {

constexpr char kEmptyFileText[] = "empty file";
constexpr std::size_t kMappedStorageSize = std::size_t{4} << 20;

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

// Room for n bytes, uninitialised, aligned for 16-bit characters. A large room
// is mapped with all its pages at once, which is much cheaper than taking them
// one fault at a time while the file is read into it.
InputStorage Storage(std::size_t bytes) {
  const std::size_t size = (bytes / 2 + 1) * sizeof(char16_t);
  if (size >= kMappedStorageSize) {
    void* mapped =
        mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
    if (mapped == MAP_FAILED) throw std::bad_alloc();
    return InputStorage(static_cast<char16_t*>(mapped), StorageRelease{size});
  }
  return InputStorage(new char16_t[size / sizeof(char16_t)], StorageRelease{0});
}

// Reads to the end, whatever the size said beforehand: a file may change while
// it is read.
InputStorage ReadAll(int fd, std::size_t expected, std::size_t& filled) {
  // One spare byte, so that the end of a file of the expected size is seen
  // without growing the room.
  std::size_t capacity = expected + 1;
  auto storage = Storage(capacity);
  filled = 0;
  while (true) {
    if (filled == capacity) {
      auto larger = Storage(capacity * 2);
      std::memcpy(larger.get(), storage.get(), filled);
      storage = std::move(larger);
      capacity *= 2;
    }
    char* bytes = reinterpret_cast<char*>(storage.get());
    const ssize_t got = read(fd, bytes + filled, capacity - filled);
    if (got < 0) {
      if (errno == EINTR) continue;
      Fail(errno);
    }
    if (got == 0) return storage;
    filled += static_cast<std::size_t>(got);
  }
}

// Two bytes a character, in place; FE FF marks big-endian, anything else is
// little-endian. An odd last byte is dropped.
std::size_t DecodeUtf16InPlace(char16_t* storage, std::size_t bytes) {
  auto* raw = reinterpret_cast<unsigned char*>(storage);
  const bool bigEndian = bytes >= 2 && raw[0] == 0xFE && raw[1] == 0xFF;
  const std::size_t count = bytes / 2;
  for (std::size_t i = 0; i < count; ++i) {
    const unsigned first = raw[2 * i];
    const unsigned second = raw[2 * i + 1];
    storage[i] = static_cast<char16_t>(bigEndian ? (first << 8 | second) : (second << 8 | first));
  }
  return count;
}

}  // namespace

InputText::InputText(std::string_view ansi) : storage_(Storage(ansi.size())), size_(ansi.size()) {
  std::memcpy(storage_.get(), ansi.data(), ansi.size());
}

InputText ReadInput(TextView path) {
  // A path that cannot be looked up names no file (as FileExists says), which
  // reads as the empty text; one lookup gives the length as well.
  std::string systemPath;
  struct stat info {};
  if (!ToNativePath(path, systemPath) || systemPath.empty() || stat(systemPath.c_str(), &info) != 0) {
    return InputText();
  }
  if (info.st_size <= 0) return InputText(kEmptyFileText);
  // Non-blocking, so that a special file can never hang the read.
  const FileDescriptor file(open(systemPath.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  if (file.get() < 0) Fail(errno);
  InputText input;
  input.storage_ = ReadAll(file.get(), static_cast<std::size_t>(info.st_size), input.size_);
  const auto first = input.size_ == 0 ? 0u : *reinterpret_cast<const unsigned char*>(input.storage_.get());
  if (first == 0xFF || first == 0xFE) {
    input.utf16_ = true;
    input.size_ = DecodeUtf16InPlace(input.storage_.get(), input.size_);
  }
  return input;
}

void StorageRelease::operator()(char16_t* storage) const {
  if (mappedSize != 0) {
    munmap(storage, mappedSize);
  } else {
    delete[] storage;
  }
}

}  // namespace brevant
