#include "support/program_run.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

extern char** environ;

namespace brevant::bench {

int RunProgram(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t child = 0;
  const int started = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (started != 0) return -1;
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string OwnFolder() {
  char self[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
  if (length <= 0) return ".";
  const std::string path(self, static_cast<std::size_t>(length));
  return path.substr(0, path.rfind('/'));
}

bool ProgramFound(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::istringstream folders(path != nullptr ? path : "/usr/bin:/bin");
  std::string folder;
  while (std::getline(folders, folder, ':')) {
    if (access((folder + "/" + name).c_str(), X_OK) == 0) return true;
  }
  return false;
}

CallCounts CountSystemCalls(const std::vector<std::string>& arguments, const std::string& scratchFile) {
  CallCounts counts;
  if (!ProgramFound("strace")) return counts;
  std::vector<std::string> traced{"strace", "-f", "-c", "-o", scratchFile};
  traced.insert(traced.end(), arguments.begin(), arguments.end());
  if (RunProgram(traced) < 0) return counts;
  // Lines of the summary: "% time seconds usecs/call calls [errors] syscall";
  // the last line is the total.
  std::ifstream summary(scratchFile);
  std::string line;
  while (std::getline(summary, line)) {
    std::istringstream fields(line);
    std::vector<std::string> words;
    for (std::string word; fields >> word;) words.push_back(word);
    if (words.size() < 5 || words[0].find_first_not_of("0123456789.") != std::string::npos) continue;
    const std::uint64_t calls = std::strtoull(words[3].c_str(), nullptr, 10);
    if (words.back() == "total") {
      counts.total = calls;
      counts.counted = true;
    } else {
      counts.byName[words.back()] = calls;
    }
  }
  std::remove(scratchFile.c_str());
  return counts;
}

}  // namespace brevant::bench
