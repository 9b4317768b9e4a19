#include "engine/vcard_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "support/ansi_code_page.h"
#include "support/file_error.h"
#include "support/file_helpers.h"
#include "support/utf8.h"

namespace brevant {

namespace {

constexpr char kEmptyFileText[] = "empty file";

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

// Reads to the end, whatever the size said beforehand: a file may change while
// it is read.
std::string ReadAll(int fd, std::size_t expected) {
  std::string bytes;
  bytes.resize(expected > 0 ? expected : 4096);
  std::size_t filled = 0;
  while (true) {
    if (filled == bytes.size()) bytes.resize(bytes.size() * 2);
    const ssize_t got = read(fd, bytes.data() + filled, bytes.size() - filled);
    if (got < 0) {
      if (errno == EINTR) continue;
      Fail(errno);
    }
    if (got == 0) break;
    filled += static_cast<std::size_t>(got);
  }
  bytes.resize(filled);
  return bytes;
}

// Two bytes a character; FE FF marks big-endian, anything else is little-endian.
// An odd last byte is dropped.
std::u16string DecodeUtf16(const std::string& bytes) {
  const bool bigEndian = bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFE &&
                         static_cast<unsigned char>(bytes[1]) == 0xFF;
  std::u16string chars(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < chars.size(); ++i) {
    const auto first = static_cast<unsigned char>(bytes[2 * i]);
    const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
    chars[i] = bigEndian ? static_cast<char16_t>(first << 8 | second) : static_cast<char16_t>(second << 8 | first);
  }
  return chars;
}

}  // namespace

InputText ReadInput(TextView path) {
  InputText input;
  if (!FileExists(path)) return input;
  const std::string systemPath = ToUtf8(path);
  struct stat info {};
  if (stat(systemPath.c_str(), &info) != 0) return input;  // gone since the check
  if (info.st_size <= 0) {
    input.bytes = kEmptyFileText;
    return input;
  }
  // Non-blocking, so that a special file can never hang the read.
  const FileDescriptor file(open(systemPath.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  if (file.get() < 0) Fail(errno);
  std::string bytes = ReadAll(file.get(), static_cast<std::size_t>(info.st_size));
  const auto first = bytes.empty() ? 0 : static_cast<unsigned char>(bytes[0]);
  if (first == 0xFF || first == 0xFE) {
    input.utf16 = true;
    input.chars = DecodeUtf16(bytes);
  } else {
    input.bytes = std::move(bytes);
  }
  return input;
}

Text ReadWholeFile(TextView path) {
  InputText input = ReadInput(path);
  if (input.utf16) return std::move(input.chars);
  Text text(input.bytes.size(), u'\0');
  for (std::size_t i = 0; i < input.bytes.size(); ++i) {
    text[i] = AnsiByteToChar(static_cast<std::uint8_t>(input.bytes[i]));
  }
  return text;
}

std::vector<TextView> CutLines(TextView text) {
  std::vector<TextView> lines;
  ForEachLine(text, [&lines](TextView line) { lines.push_back(line); });
  return lines;
}

}  // namespace brevant
