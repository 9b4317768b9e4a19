#include "support/unprivileged_child.h"

#ifndef _WIN32
#include <unistd.h>
#endif

#include <cstdlib>
#include <fstream>
#include <string>

#include "test_support/temp_dir.h"

namespace fs = std::filesystem;

namespace brevant::testing {

#ifdef _WIN32

// Windows has no unprivileged user to switch to: the cases that need one skip there.
bool InUnprivilegedChild() { return false; }
fs::path ChildFolder() { return {}; }
::testing::AssertionResult RunThisTestUnprivileged(const fs::path&) {
  return ::testing::AssertionFailure() << "no unprivileged user on Windows";
}

#else

namespace {

constexpr char kFolderVariable[] = "BREVANT_CHILD_FOLDER";
constexpr char kMarkerVariable[] = "BREVANT_CHILD_MARKER";

// This test program where the unprivileged user can run it, whatever the
// permissions of the build folder; the child leaves its marker and output beside it.
fs::path ProgramCopy() { return UnprivilegedCopy(fs::read_symlink("/proc/self/exe")); }

}  // namespace

bool InUnprivilegedChild() {
  const char* marker = std::getenv(kMarkerVariable);
  if (marker == nullptr) return false;
  std::ofstream(marker) << "uid=" << geteuid();
  return true;
}

fs::path ChildFolder() {
  const char* folder = std::getenv(kFolderVariable);
  return folder == nullptr ? fs::path() : fs::path(folder);
}

::testing::AssertionResult RunThisTestUnprivileged(const fs::path& folder) {
  if (!CanRunUnprivileged()) {
    return ::testing::AssertionFailure() << "cannot run as an unprivileged user (setpriv missing?)";
  }
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  const std::string name = std::string(test->test_suite_name()) + "." + test->name();
  const fs::path program = ProgramCopy();
  const fs::path marker = program.parent_path() / (name + ".ran");
  const fs::path log = program.parent_path() / (name + ".log");
  fs::remove(marker);
  const std::string command = std::string(kFolderVariable) + "='" + folder.string() + "' " + kMarkerVariable +
                              "='" + marker.string() + "' '" + program.string() + "' --gtest_filter='" +
                              name + "' >'" + log.string() + "' 2>&1";
  const int status = RunUnprivileged(command);
  const std::string ran = ReadBytes(marker);
  const std::string expectedRun = geteuid() == 0 ? "uid=65534" : "uid=" + std::to_string(geteuid());
  if (status != 0 || ran != expectedRun) {
    return ::testing::AssertionFailure()
           << "child exit status " << status << ", marker \"" << ran << "\", output:\n"
           << ReadBytes(log);
  }
  return ::testing::AssertionSuccess();
}

#endif

}  // namespace brevant::testing
