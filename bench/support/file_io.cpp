#include "support/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <stdexcept>

namespace brevant::bench {

namespace {

[[noreturn]] void Fail(const char* what, const std::string& path) {
  throw std::runtime_error(std::string(what) + " " + path + ": " + std::strerror(errno));
}

// Owns a descriptor so that every early throw closes it.
class Descriptor {
 public:
  Descriptor(const std::string& path, int flags) : fd_(::open(path.c_str(), flags | O_CLOEXEC, 0644)) {
    if (fd_ < 0) Fail("cannot open", path);
  }
  ~Descriptor() { ::close(fd_); }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

std::string ReadFileBytes(const std::string& path) {
  Descriptor file(path, O_RDONLY);
  struct stat info {};
  if (::fstat(file.get(), &info) != 0) Fail("cannot stat", path);
  // One byte of room beyond the size tells a file that ended from one that grew
  // since fstat, without a second allocation in the usual case.
  std::string bytes(static_cast<std::size_t>(info.st_size) + 1, '\0');
  std::size_t filled = 0;
  while (true) {
    if (filled == bytes.size()) bytes.resize(bytes.size() * 2);
    const ssize_t got = ::read(file.get(), bytes.data() + filled, bytes.size() - filled);
    if (got < 0) {
      if (errno == EINTR) continue;
      Fail("cannot read", path);
    }
    if (got == 0) break;
    filled += static_cast<std::size_t>(got);
  }
  bytes.resize(filled);
  return bytes;
}

void WriteFileBytes(const std::string& path, std::string_view bytes) {
  Descriptor file(path, O_WRONLY | O_CREAT | O_TRUNC);
  while (!bytes.empty()) {
    const ssize_t put = ::write(file.get(), bytes.data(), bytes.size());
    if (put < 0) {
      if (errno == EINTR) continue;
      Fail("cannot write", path);
    }
    bytes.remove_prefix(static_cast<std::size_t>(put));
  }
}

std::uint64_t FileSize(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) Fail("cannot stat", path);
  return static_cast<std::uint64_t>(info.st_size);
}

std::uint64_t ReadAndDiscard(const std::string& path) {
  Descriptor file(path, O_RDONLY);
  char buffer[65536];
  std::uint64_t total = 0;
  while (true) {
    const ssize_t got = ::read(file.get(), buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      Fail("cannot read", path);
    }
    if (got == 0) return total;
    total += static_cast<std::uint64_t>(got);
  }
}

std::vector<std::string> ListFiles(const std::string& folder, std::string_view suffix) {
  std::vector<std::string> paths;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (entry.is_regular_file() && name.size() >= suffix.size() && name.ends_with(suffix)) {
      paths.push_back(entry.path().string());
    }
  }
  std::sort(paths.begin(), paths.end());
  return paths;
}

std::uint64_t TotalSize(const std::vector<std::string>& paths) {
  std::uint64_t total = 0;
  for (const std::string& path : paths) total += FileSize(path);
  return total;
}

void RecreateFolder(const std::string& folder) {
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
}

}  // namespace brevant::bench
