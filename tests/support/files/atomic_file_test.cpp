#include "support/files/atomic_file.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <tuple>

#include "support/files/file_error.h"
#include "support/text/utf8.h"
#include "test_support/child_process.h"
#include "test_support/temp_dir.h"
#include "test_support/temporary_files.h"
#include "test_support/test_texts.h"

namespace fs = std::filesystem;

namespace brevant {
namespace {

using test::FailureOf;
using test::PathText;
using test::ReadBytes;
using test::TempDir;
using test::TemporaryFilesIn;
using test::WriteBytes;

constexpr std::size_t kMiB = std::size_t{1} << 20;

TEST(AtomicFileWriter, SmallDocumentsTouchTheDiskOnlyOnCommit) {
  TempDir dir;
  WriteBytes(dir / "b.htm", "earlier");
  AtomicFileWriter writer(PathText(dir / "b.htm"));
  writer.write("<html>");
  writer.write("</html>");
  EXPECT_TRUE(TemporaryFilesIn(dir.path()).empty());
  EXPECT_EQ(ReadBytes(dir / "b.htm"), "earlier");
  writer.commit();
  EXPECT_EQ(ReadBytes(dir / "b.htm"), "<html></html>");
  EXPECT_TRUE(TemporaryFilesIn(dir.path()).empty());
}

#ifndef _WIN32
// The permission bits of the file that this process has open for writing in the
// folder, other than `except`; 0 when there is none.
fs::perms OpenFileModeIn(const fs::path& folder, const fs::path& except) {
  for (const auto& entry : fs::directory_iterator("/proc/self/fd")) {
    std::error_code error;
    const fs::path target = fs::read_symlink(entry.path(), error);
    if (error || target.parent_path() != folder || target == except) continue;
    return fs::status(entry.path()).permissions();
  }
  return fs::perms::none;
}
#endif

TEST(AtomicFileWriter, LargeDocumentsStreamIntoAFileOnlyTheOwnerCanRead) {
#ifdef _WIN32
  GTEST_SKIP() << "needs file modes and /proc";
#else
  TempDir dir;
  WriteBytes(dir / "b.htm", "earlier");
  fs::permissions(dir / "b.htm", static_cast<fs::perms>(0640));
  std::string expected;
  AtomicFileWriter writer(PathText(dir / "b.htm"));
  // Small pieces, one piece larger than the buffer, and small pieces again.
  for (int i = 0; i < 100000; ++i) {
    const std::string piece = "row " + std::to_string(i) + "\n";
    writer.write(piece);
    expected += piece;
  }
  const std::string big(2 * kMiB + 3, 'b');
  writer.write(big);
  expected += big;
  writer.write("end");
  expected += "end";

  // Nothing to see in the folder, and no other user may read what is written.
  EXPECT_EQ(OpenFileModeIn(dir.path(), dir / "b.htm"), static_cast<fs::perms>(0600));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
  EXPECT_EQ(ReadBytes(dir / "b.htm"), "earlier");
  writer.commit();
  EXPECT_EQ(ReadBytes(dir / "b.htm"), expected);
  EXPECT_EQ(fs::status(dir / "b.htm").permissions(), static_cast<fs::perms>(0640));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
#endif
}

TEST(AtomicFileWriter, ReplacingTakesTheEntryWhateverItsPermissions) {
#ifdef _WIN32
  GTEST_SKIP() << "needs file modes and symbolic links (the Windows case is in windows_files_test)";
#else
  TempDir dir;
  WriteBytes(dir / "read-only.htm", "earlier");
  fs::permissions(dir / "read-only.htm", static_cast<fs::perms>(0444));
  WriteBytes(dir / "elsewhere.txt", "not a document");
  fs::create_symlink(dir / "elsewhere.txt", dir / "link.htm");
  for (const char* name : {"read-only.htm", "link.htm"}) {
    AtomicFileWriter writer(PathText(dir / name), ExistingTarget::Replace);
    writer.write("new");
    writer.commit();
    EXPECT_EQ(ReadBytes(dir / name), "new") << name;
    EXPECT_FALSE(fs::is_symlink(dir / name)) << name;
  }
  EXPECT_EQ(fs::status(dir / "read-only.htm").permissions(), static_cast<fs::perms>(0444));
  EXPECT_EQ(ReadBytes(dir / "elsewhere.txt"), "not a document");

  fs::create_directory(dir / "folder.htm");
  AtomicFileWriter folder(PathText(dir / "folder.htm"), ExistingTarget::Replace);
  EXPECT_EQ(FailureOf([&] { folder.commit(); }), "Path/File access error");
#endif
}

TEST(AtomicFileWriter, UnfinishedWritesLeaveNothingBehind) {
  TempDir dir;
  WriteBytes(dir / "kept.htm", "earlier");
  {
    AtomicFileWriter dropped(PathText(dir / "new.htm"));
    dropped.write(std::string(3 * kMiB, 'x'));
  }
  {
    AtomicFileWriter abandoned(PathText(dir / "kept.htm"));
    abandoned.write(std::string(3 * kMiB, 'x'));
    abandoned.abandon();
    abandoned.write("after");
    EXPECT_THROW(abandoned.commit(), std::logic_error);
  }
  EXPECT_FALSE(fs::exists(dir / "new.htm"));
  EXPECT_EQ(ReadBytes(dir / "kept.htm"), "earlier");
  EXPECT_TRUE(TemporaryFilesIn(dir.path()).empty());
}

TEST(AtomicFileWriter, NewFilesFollowTheUmask) {
#ifdef _WIN32
  GTEST_SKIP() << "needs fork and the umask";
#else
  // The umask is read once per program, and an earlier test of this one may
  // have read it: each file is written by a new program, this test run again.
  constexpr char kTargetVariable[] = "BREVANT_UMASK_TEST_TARGET";
  if (const char* target = std::getenv(kTargetVariable)) {
    AtomicFileWriter writer(FromUtf8(target));
    writer.commit();
    return;
  }
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  const std::string filter = std::string("--gtest_filter=") + test->test_suite_name() + "." + test->name();
  TempDir dir;
  for (const auto& [mask, name, mode] : {std::tuple{022, "a.htm", 0644}, std::tuple{027, "b.htm", 0640}}) {
    const pid_t child = fork();
    if (child == 0) {
      umask(static_cast<mode_t>(mask));
      setenv(kTargetVariable, (dir / name).c_str(), 1);
      freopen("/dev/null", "w", stdout);
      execl("/proc/self/exe", "support_tests", filter.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    int status = 0;
    ASSERT_TRUE(test::ChildEnded(child, status));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << test::ChildEnding(status);
    EXPECT_EQ(fs::status(dir / name).permissions(), static_cast<fs::perms>(mode)) << name;
  }
  EXPECT_EQ(ReadBytes(dir / "a.htm"), "");
#endif
}

// A look taken before the writing stands for the target, and what changed since
// is still handled safely: a file that came meanwhile is replaced whole (its
// permission bits kept), a folder is never replaced, and nothing is left behind.
TEST(AtomicFileWriter, ALookTakenBeforehandStandsForTheTarget) {
#ifdef _WIN32
  GTEST_SKIP() << "needs file modes";
#else
  TempDir dir;
  WriteBytes(dir / "reference", "");  // made with the bits of any new file
  const fs::perms newFile = fs::status(dir / "reference").permissions();
  fs::remove(dir / "reference");
  const struct {
    const char* name;
    std::function<void(const fs::path&)> before;  // what stands at the target when it is looked at
    std::function<void(const fs::path&)> after;   // what changes after the look
    std::size_t size;
    const char* failure;  // "" when the document is placed
    fs::perms mode;
  } cases[] = {
      {"new, small", {}, {}, 10, "", newFile},
      {"new, large", {}, {}, 3 * kMiB, "", newFile},
      {"replaced",
       [](const fs::path& p) {
         WriteBytes(p, "earlier");
         fs::permissions(p, fs::perms(0640));
       },
       {},
       10,
       "",
       fs::perms(0640)},
      {"replaced, large",
       [](const fs::path& p) {
         WriteBytes(p, "earlier");
         fs::permissions(p, fs::perms(0604));
       },
       {},
       3 * kMiB,
       "",
       fs::perms(0604)},
      {"came meanwhile",
       {},
       [](const fs::path& p) {
         WriteBytes(p, "meanwhile");
         fs::permissions(p, fs::perms(0640));
       },
       10,
       "",
       fs::perms(0640)},
      {"came meanwhile, large",
       {},
       [](const fs::path& p) { WriteBytes(p, "meanwhile"); },
       3 * kMiB,
       "",
       newFile},
      {"a folder", [](const fs::path& p) { fs::create_directory(p); }, {}, 10, "Path/File access error", {}},
      {"a folder meanwhile",
       {},
       [](const fs::path& p) { fs::create_directory(p); },
       10,
       "Path/File access error",
       {}},
  };
  for (const auto& c : cases) {
    const fs::path target = dir / (std::string(c.name) + ".htm");
    if (c.before) c.before(target);
    const TargetLook look = LookAtTarget(PathText(target));
    AtomicFileWriter writer(PathText(target), ExistingTarget::Replace, &look);
    const std::string document(c.size, 'd');
    writer.write(document);
    if (c.after) c.after(target);
    EXPECT_EQ(FailureOf([&] { writer.commit(); }), *c.failure != '\0' ? c.failure : "<no error>") << c.name;
    if (*c.failure == '\0') {
      EXPECT_TRUE(ReadBytes(target) == document) << c.name;
      EXPECT_EQ(fs::status(target).permissions(), c.mode) << c.name;
    } else {
      EXPECT_TRUE(fs::is_directory(target)) << c.name;
    }
    EXPECT_TRUE(TemporaryFilesIn(dir.path()).empty()) << c.name;
  }
#endif
}

TEST(AtomicFileWriter, TargetMadeReadOnlyWhileWritingIsNotReplaced) {
  TempDir dir;
  WriteBytes(dir / "b.htm", "earlier");
  AtomicFileWriter writer(PathText(dir / "b.htm"));
  writer.write(std::string(2 * kMiB, 'x'));
  fs::permissions(dir / "b.htm", static_cast<fs::perms>(0444));
  try {
    writer.commit();
    ADD_FAILURE() << "commit succeeded";
  } catch (const FileError& error) {
    EXPECT_EQ(error.description(), "Permission denied");
  }
  EXPECT_EQ(ReadBytes(dir / "b.htm"), "earlier");
  EXPECT_TRUE(TemporaryFilesIn(dir.path()).empty());
}

}  // namespace
}  // namespace brevant
