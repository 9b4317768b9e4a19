// brevant-convert with its standard error on a terminal.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "test_support/temp_dir.h"

namespace brevant {
namespace {

using test::TempDir;
using test::WriteBytes;

// Runs the tool on a pseudo-terminal with the given TERM and gives what the
// terminal received.
std::string OnTerminal(const char* term, const std::string& input) {
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) return "<no terminal>";
  const std::string terminal = ptsname(master);
  const pid_t child = fork();
  if (child == 0) {
    const int slave = open(terminal.c_str(), O_RDWR);
    const int null = open("/dev/null", O_WRONLY);
    if (slave < 0 || null < 0 || dup2(slave, STDERR_FILENO) < 0 || dup2(null, STDOUT_FILENO) < 0) _exit(126);
    setenv("TERM", term, 1);
    execl(BREVANT_CLI_PATH, BREVANT_CLI_PATH, input.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  std::string received;
  char buffer[4096];
  for (;;) {
    const ssize_t got = read(master, buffer, sizeof buffer);
    if (got > 0) {
      received.append(buffer, static_cast<std::size_t>(got));
    } else if (got < 0 && errno == EINTR) {
      continue;
    } else {
      break;  // EIO once the tool has closed the terminal
    }
  }
  waitpid(child, nullptr, 0);
  close(master);
  return received;
}

TEST(CliTerminal, ADumbTerminalGetsNoEscapeCodes) {
  TempDir dir;
  WriteBytes(dir / "a.vcf", "FN:Ann\nTITLE:t\n");
  const std::string input = (dir / "a.vcf").string();
  const std::string summary = "brevant-convert: 1 input, 1 document written beside the inputs";

  const std::string capable = OnTerminal("xterm", input);
  EXPECT_NE(capable.find("\x1b[K"), std::string::npos) << capable;  // the progress line, redrawn in place
  const std::string dumb = OnTerminal("dumb", input);
  EXPECT_EQ(dumb.find('\x1b'), std::string::npos) << dumb;
  EXPECT_NE(dumb.find(summary), std::string::npos) << dumb;
}

}  // namespace
}  // namespace brevant
