#include "cli/tool_process.h"

#ifdef _WIN32
#include <windows.h>

#include <stdexcept>

#include "support/text/utf8.h"
#else
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "test_support/child_process.h"
#include "test_support/temp_dir.h"

namespace brevant::test {

#ifdef _WIN32

namespace {

// One argument as the C runtime splits a command line: in quotes, with the
// backslashes before a quote doubled.
std::wstring Quoted(const std::wstring& arg) {
  std::wstring quoted = L"\"";
  std::size_t backslashes = 0;
  for (const wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, L'\\');
  return quoted + L"\"";
}

// The tool beside the tests' folder: bin\brevant-convert.exe.
std::filesystem::path ToolPath() {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  return std::filesystem::path(self).parent_path().parent_path() / "bin" / "brevant-convert.exe";
}

HANDLE Inheritable(const std::filesystem::path& path, DWORD access, DWORD disposition) {
  SECURITY_ATTRIBUTES security{sizeof security, nullptr, TRUE};
  return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &security, disposition,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

ToolRun RunTool(const std::filesystem::path& workingFolder, const std::vector<std::string>& args,
                const std::string& shellPrefix) {
  if (!shellPrefix.empty()) throw std::logic_error("no shell on Windows");
  TempDir capture;
  const std::filesystem::path tool = ToolPath();
  std::wstring commandLine = Quoted(tool.wstring());
  for (const std::string& arg : args) {
    const Text wide = FromUtf8(arg);
    commandLine += L" " + Quoted(std::wstring(wide.begin(), wide.end()));
  }
  const HANDLE in = Inheritable("NUL", GENERIC_READ, OPEN_EXISTING);
  const HANDLE out = Inheritable(capture / "out", GENERIC_WRITE, CREATE_ALWAYS);
  const HANDLE err = Inheritable(capture / "err", GENERIC_WRITE, CREATE_ALWAYS);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = in;
  startup.hStdOutput = out;
  startup.hStdError = err;
  PROCESS_INFORMATION process{};
  ToolRun run;
  if (CreateProcessW(tool.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                     workingFolder.c_str(), &startup, &process)) {
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 0;
    GetExitCodeProcess(process.hProcess, &status);
    run.status = static_cast<int>(status);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  CloseHandle(in);
  CloseHandle(out);
  CloseHandle(err);
  run.out = ReadBytes(capture / "out");
  run.err = ReadBytes(capture / "err");
  return run;
}

#else

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
  if (tool <= 0) return -1;
  // A tool that hangs (on a FIFO, say) fails the test that started it.
  if (const ::testing::AssertionResult ended = ChildEnded(tool, status); !ended) {
    ADD_FAILURE() << ended.message();
    return -1;
  }
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

#endif

}  // namespace brevant::test
