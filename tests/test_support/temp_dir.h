#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

// Ends a case on Windows, saying why: for what only a POSIX system has.
#ifdef _WIN32
#define SKIP_ON_WINDOWS(reason) GTEST_SKIP() << (reason)
#else
#define SKIP_ON_WINDOWS(reason) static_cast<void>(0)
#endif

namespace brevant::testing {

// A fresh folder under the system's temporary folder, removed with its content
// (permissions restored first) when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// Writes bytes to a file, creating folders on the way.
void WriteBytes(const std::filesystem::path& file, std::string_view bytes);

// The whole content of a file, or "<missing>" when it cannot be read.
std::string ReadBytes(const std::filesystem::path& file);

// True when this process can run a command as an unprivileged user (root can
// drop privileges with setpriv); permission tests run their checks that way.
bool CanRunUnprivileged();

// Runs a shell command line as the unprivileged user "nobody" (as the current
// user when not root) and gives its exit status.
int RunUnprivileged(const std::string& commandLine);

// A copy of the program that the unprivileged user can run wherever the build
// lies (a clone in root's home is out of its reach); made once per program in
// a temporary folder that goes when the test program ends.
std::filesystem::path UnprivilegedCopy(const std::filesystem::path& program);

// Runs the function in a forked child that has dropped to the unprivileged user
// "nobody" (when running as root), and gives the child's exit status: the
// function's result, or 255 when it threw or the privileges could not be dropped.
int RunInUnprivilegedChild(const std::function<int()>& body);

}  // namespace brevant::testing
