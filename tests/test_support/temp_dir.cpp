#include "test_support/temp_dir.h"

#ifndef _WIN32
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <sstream>
#include <stdexcept>

#include "test_support/child_process.h"

namespace fs = std::filesystem;

namespace brevant::testing {

#ifdef _WIN32
TempDir::TempDir() {
  std::mt19937_64 random{std::random_device{}()};
  for (int attempt = 0; attempt < 100; ++attempt) {
    path_ = fs::temp_directory_path() / ("brevant-test-" + std::to_string(random() % 1000000000));
    if (fs::create_directory(path_)) return;
  }
  throw std::runtime_error("cannot make a temporary folder");
}
#else
TempDir::TempDir() {
  std::string pattern = (fs::temp_directory_path() / "brevant-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
  // Unprivileged helpers must reach the folder.
  fs::permissions(path_, fs::perms::all);
}
#endif

TempDir::~TempDir() {
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(path_, fs::directory_options::skip_permission_denied, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    if (!it->is_symlink()) fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
  }
  fs::remove_all(path_, ec);
}

void WriteBytes(const fs::path& file, std::string_view bytes) {
  if (file.has_parent_path()) fs::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + file.string());
}

std::string ReadBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return "<missing>";
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

#ifdef _WIN32
// Windows has no unprivileged user to switch to: the cases that need one are skipped there.
bool CanRunUnprivileged() { return false; }
int RunUnprivileged(const std::string&) { return -1; }
int RunInUnprivilegedChild(const std::function<int()>&) { return -1; }
fs::path UnprivilegedCopy(const fs::path& program) { return program; }
#else
bool CanRunUnprivileged() {
  if (geteuid() != 0) return true;
  return std::system("setpriv --reuid=65534 --regid=65534 --clear-groups true >/dev/null 2>&1") == 0;
}

int RunUnprivileged(const std::string& commandLine) {
  std::string quoted = "'";
  for (char c : commandLine) quoted += (c == '\'') ? std::string("'\\''") : std::string(1, c);
  quoted += "'";
  // A child that hangs is killed: the test that started it fails, and nothing else.
  const std::string bound = "timeout -s KILL " + std::to_string(kChildLimit.count() / 1000) + " ";
  const std::string full = geteuid() == 0
                               ? bound + "setpriv --reuid=65534 --regid=65534 --clear-groups sh -c " + quoted
                               : bound + "sh -c " + quoted;
  const int status = std::system(full.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

fs::path UnprivilegedCopy(const fs::path& program) {
  static std::map<fs::path, std::unique_ptr<TempDir>> folders;
  std::unique_ptr<TempDir>& folder = folders[program];
  const bool made = folder != nullptr;
  if (!made) folder = std::make_unique<TempDir>();
  const fs::path copy = folder->path() / program.filename();
  if (!made) {
    fs::copy_file(program, copy);
    fs::permissions(copy, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                              fs::perms::others_read | fs::perms::others_exec);
  }
  return copy;
}

int RunInUnprivilegedChild(const std::function<int()>& body) {
  const pid_t child = fork();
  if (child < 0) return -1;
  if (child == 0) {
    int result = 255;
    if (geteuid() != 0 || (setgroups(0, nullptr) == 0 && setresgid(65534, 65534, 65534) == 0 &&
                           setresuid(65534, 65534, 65534) == 0)) {
      try {
        result = body();
      } catch (...) {
        result = 255;
      }
    }
    _exit(result);
  }
  int status = 0;
  if (!ChildEnded(child, status)) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
#endif

}  // namespace brevant::testing
