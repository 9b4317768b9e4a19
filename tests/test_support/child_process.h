#pragma once

// Child processes of a test, waited for with a bound (POSIX only): a fault that
// hangs a child (a FIFO opened that nobody writes, say) or crashes it fails the
// test that meets it, in bounded time, instead of stopping or ending the run.

#ifndef _WIN32
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <functional>
#include <string>
#include <thread>

namespace brevant::testing {

// Longer than any child of a test takes, even under the sanitizers.
inline constexpr std::chrono::milliseconds kChildLimit = std::chrono::seconds(120);

// Waits for the child as waitpid(child, &status, 0) does, but kills it once
// `limit` has passed.
inline ::testing::AssertionResult ChildEnded(pid_t child, int& status,
                                             std::chrono::milliseconds limit = kChildLimit) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline = Clock::now() + limit;
  for (auto pause = std::chrono::milliseconds(1);;
       pause = std::min(pause * 2, std::chrono::milliseconds(50))) {
    const pid_t ended = waitpid(child, &status, WNOHANG);
    if (ended == child) return ::testing::AssertionSuccess();
    if (ended < 0 && errno != EINTR)
      return ::testing::AssertionFailure() << "waitpid: " << std::strerror(errno);
    if (Clock::now() >= deadline) {
      kill(child, SIGKILL);
      waitpid(child, &status, 0);
      return ::testing::AssertionFailure()
             << "the child was still running after " << limit.count() << " ms and was killed";
    }
    std::this_thread::sleep_for(pause);
  }
}

// How a child that ended went, for a failure message.
inline std::string ChildEnding(int status) {
  if (WIFSIGNALED(status)) return "ended by signal " + std::to_string(WTERMSIG(status));
  return "exit status " + std::to_string(WEXITSTATUS(status));
}

// Runs `body` in a child process and gives in `result` the text it returned
// there. Fails when the child crashed, threw, or did not end within `limit`.
inline ::testing::AssertionResult ResultInChild(const std::function<std::string()>& body, std::string& result,
                                                std::chrono::milliseconds limit = std::chrono::seconds(30)) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline = Clock::now() + limit;
  int channel[2];
  if (pipe(channel) != 0) return ::testing::AssertionFailure() << "pipe: " << std::strerror(errno);
  const pid_t child = fork();
  if (child < 0) return ::testing::AssertionFailure() << "fork: " << std::strerror(errno);
  if (child == 0) {
    close(channel[0]);
    const std::string text = body();
    for (std::size_t done = 0; done < text.size();) {
      const ssize_t written = write(channel[1], text.data() + done, text.size() - done);
      if (written <= 0) _exit(3);
      done += static_cast<std::size_t>(written);
    }
    _exit(0);
  }
  close(channel[1]);
  result.clear();
  pollfd readable{channel[0], POLLIN, 0};
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) break;  // out of time
    const int ready = poll(&readable, 1, static_cast<int>(left.count()));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) break;
    char buffer[4096];
    const ssize_t got = read(channel[0], buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;  // the child is done writing
    result.append(buffer, static_cast<std::size_t>(got));
  }
  close(channel[0]);
  int status = 0;
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  if (::testing::AssertionResult ended =
          ChildEnded(child, status, std::max(left, std::chrono::milliseconds(1)));
      !ended) {
    return ended;
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    return ::testing::AssertionFailure() << "the child " << ChildEnding(status);
  }
  return ::testing::AssertionSuccess();
}

}  // namespace brevant::testing
#endif
