#include "cli/tool_process.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "test_support/temp_dir.h"

namespace brevant::testing {

namespace {

pid_t Start(const std::filesystem::path& workingFolder, std::vector<std::string> argv,
            const std::filesystem::path& outFile, const std::filesystem::path& errFile) {
  std::vector<char*> pointers;
  for (std::string& arg : argv) pointers.push_back(arg.data());
  pointers.push_back(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    const int out = open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (chdir(workingFolder.c_str()) != 0 || out < 0 || err < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0) {
      _exit(126);
    }
    execv(pointers[0], pointers.data());
    _exit(127);
  }
  return child;
}

}  // namespace

pid_t StartTool(const std::filesystem::path& workingFolder, const std::vector<std::string>& args,
                const std::filesystem::path& outFile, const std::filesystem::path& errFile) {
  std::vector<std::string> argv{BREVANT_CLI_PATH};
  argv.insert(argv.end(), args.begin(), args.end());
  return Start(workingFolder, std::move(argv), outFile, errFile);
}

int WaitForTool(pid_t tool) {
  int status = 0;
  if (tool <= 0 || waitpid(tool, &status, 0) != tool) return -1;
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

ToolRun RunTool(const std::filesystem::path& workingFolder, const std::vector<std::string>& args,
                const std::string& shellPrefix) {
  TempDir capture;
  std::vector<std::string> argv{BREVANT_CLI_PATH};
  if (!shellPrefix.empty()) {
    // sh -c '<prefix>; exec "$0" "$@"' tool args...: the tool replaces the shell.
    argv = {"/bin/sh", "-c", shellPrefix + "; exec \"$0\" \"$@\"", BREVANT_CLI_PATH};
  }
  argv.insert(argv.end(), args.begin(), args.end());
  ToolRun run;
  run.status = WaitForTool(Start(workingFolder, std::move(argv), capture / "out", capture / "err"));
  run.out = ReadBytes(capture / "out");
  run.err = ReadBytes(capture / "err");
  return run;
}

}  // namespace brevant::testing
