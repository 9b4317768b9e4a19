#include "support/pending_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "support/signal_cleanup.h"
#include "test_support/child_process.h"
#include "test_support/temp_dir.h"
#include "test_support/temporary_files.h"

namespace fs = std::filesystem;

namespace brevant {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::TemporaryFilesIn;

std::size_t EntriesIn(const fs::path& folder) {
  return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

// Where the file system has no unnamed files, the hidden named one must be as
// private and leave as little behind.
TEST(PendingFile, NamedFileIsHiddenAndPrivateUntilPlaced) {
  TempDir dir;
  const std::string target = (dir / "b.htm").string();
  PendingFile file;
  ASSERT_EQ(file.create(target, PendingFile::Kind::Named), 0);
  ASSERT_EQ(write(file.descriptor(), "secret", 6), 6);
  const std::vector<std::string> hidden = TemporaryFilesIn(dir.path());
  ASSERT_EQ(hidden.size(), 1u);
  EXPECT_EQ(hidden[0].rfind(".b.htm.brevant-", 0), 0u) << hidden[0];
  EXPECT_EQ(fs::status(dir / hidden[0]).permissions(), static_cast<fs::perms>(0600));
  // Another user cannot read it, whatever the umask (root could).
  ASSERT_TRUE(testing::CanRunUnprivileged());
  EXPECT_NE(testing::RunUnprivileged("cat '" + (dir / hidden[0]).string() + "' >/dev/null 2>&1"), 0);

  ASSERT_EQ(file.place(target, 0644), 0);
  EXPECT_EQ(ReadBytes(dir / "b.htm"), "secret");
  EXPECT_EQ(fs::status(dir / "b.htm").permissions(), static_cast<fs::perms>(0644));
  EXPECT_EQ(EntriesIn(dir.path()), 1u);
}

TEST(PendingFile, NothingIsLeftWhenItCannotBePlacedOrIsDropped) {
  TempDir dir;
  fs::create_directory(dir / "folder.htm");
  for (const PendingFile::Kind kind : {PendingFile::Kind::Unnamed, PendingFile::Kind::Named}) {
    PendingFile placed;
    ASSERT_EQ(placed.create((dir / "b.htm").string(), kind), 0);
    EXPECT_EQ(placed.kind(), kind);
    EXPECT_NE(placed.place((dir / "folder.htm").string(), 0644), 0);  // a folder is not replaced
    PendingFile dropped;
    ASSERT_EQ(dropped.create((dir / "c.htm").string(), kind), 0);
    dropped.discard();
  }
  EXPECT_EQ(EntriesIn(dir.path()), 1u);
  EXPECT_TRUE(fs::is_empty(dir / "folder.htm"));
  PendingFile missing;
  EXPECT_EQ(missing.create((dir / "nowhere" / "b.htm").string()), ENOENT);
}

TEST(PendingFile, EndingSignalsRemoveTheNamedFileAndStillEndTheProgram) {
  TempDir dir;
  for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP}) {
    const pid_t child = fork();
    if (child == 0) {
      RemovePendingFilesOnSignals();
      PendingFile file;
      if (file.create((dir / "b.htm").string(), PendingFile::Kind::Named) != 0) _exit(2);
      raise(signalNumber);
      _exit(3);  // not reached: the signal ends the program
    }
    int status = 0;
    ASSERT_TRUE(testing::ChildEnded(child, status));
    ASSERT_TRUE(WIFSIGNALED(status)) << "exit status " << WEXITSTATUS(status);
    EXPECT_EQ(WTERMSIG(status), signalNumber);
    EXPECT_EQ(EntriesIn(dir.path()), 0u) << "signal " << signalNumber;
  }
}

}  // namespace
}  // namespace brevant
