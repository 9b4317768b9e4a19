#include "support/child_measure.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>

namespace brevant::bench {

namespace {

// What the child sends back through its pipe when the work returned.
struct ChildReport {
  std::int64_t nanoseconds = 0;
  std::int64_t failures = 0;
};

[[noreturn]] void RunChild(const Work& work, int reportPipe) {
  int status = 0;
  ChildReport report;
  try {
    const auto start = std::chrono::steady_clock::now();
    report.failures = work();
    report.nanoseconds =
        std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() - start)
            .count();
    if (::write(reportPipe, &report, sizeof report) != static_cast<ssize_t>(sizeof report)) status = 2;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "run failed: %s\n", error.what());
    status = 1;
  }
  std::fflush(stdout);
  std::fflush(stderr);
  // _exit: the child must not run the parent's exit handlers or flush its buffers.
  ::_exit(status);
}

double Seconds(const timeval& time) {
  return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
}

std::string DescribeStatus(int status) {
  if (WIFSIGNALED(status)) return std::string("killed by signal ") + ::strsignal(WTERMSIG(status));
  if (WIFEXITED(status)) return "exit status " + std::to_string(WEXITSTATUS(status));
  return "ended abnormally";
}

}  // namespace

RunFigures RunInChild(const Work& work) {
  RunFigures figures;
  int pipeEnds[2];
  if (::pipe2(pipeEnds, O_CLOEXEC) != 0) {
    figures.problem = std::string("pipe: ") + std::strerror(errno);
    return figures;
  }
  // Anything still buffered would otherwise be printed twice, once by each process.
  std::fflush(stdout);
  std::fflush(stderr);
  const pid_t child = ::fork();
  if (child < 0) {
    figures.problem = std::string("fork: ") + std::strerror(errno);
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
    return figures;
  }
  if (child == 0) {
    ::close(pipeEnds[0]);
    RunChild(work, pipeEnds[1]);
  }
  ::close(pipeEnds[1]);

  ChildReport report;
  std::size_t received = 0;
  auto* into = reinterpret_cast<char*>(&report);
  while (received < sizeof report) {
    const ssize_t got = ::read(pipeEnds[0], into + received, sizeof report - received);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    received += static_cast<std::size_t>(got);
  }
  ::close(pipeEnds[0]);

  int status = 0;
  struct rusage usage {};
  while (::wait4(child, &status, 0, &usage) < 0) {
    if (errno != EINTR) {
      figures.problem = std::string("wait4: ") + std::strerror(errno);
      return figures;
    }
  }
  figures.peakMegabytes = static_cast<double>(usage.ru_maxrss) * 1024.0 / 1e6;  // ru_maxrss is in KiB
  figures.cpuSeconds = Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
  if (received == sizeof report && WIFEXITED(status) && WEXITSTATUS(status) == 0) {
    figures.completed = true;
    figures.seconds = static_cast<double>(report.nanoseconds) / 1e9;
    figures.failures = report.failures;
  } else {
    figures.problem = DescribeStatus(status);
  }
  return figures;
}

Measurement MeasureBest(int runs, double stopAfterSeconds, const Work& work,
                        const std::function<void()>& beforeEach) {
  Measurement measurement;
  measurement.completed = true;
  for (int run = 0; run < runs; ++run) {
    if (beforeEach) beforeEach();
    const RunFigures figures = RunInChild(work);
    ++measurement.runs;
    measurement.peakMegabytes = std::max(measurement.peakMegabytes, figures.peakMegabytes);
    if (!figures.completed) {
      measurement.completed = false;
      measurement.problem = figures.problem;
      break;
    }
    const bool first = measurement.runs == 1;
    if (first || figures.seconds < measurement.bestSeconds) measurement.bestSeconds = figures.seconds;
    if (first || figures.cpuSeconds < measurement.bestCpuSeconds) {
      measurement.bestCpuSeconds = figures.cpuSeconds;
    }
    measurement.failures = std::max(measurement.failures, figures.failures);
    if (figures.seconds > stopAfterSeconds) break;
  }
  return measurement;
}

}  // namespace brevant::bench
