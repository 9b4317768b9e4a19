#include "support/files/pending_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>

#include "support/files/atomic_file.h"
#include "support/files/signal_cleanup.h"
#include "support/files/write_session.h"
#include "support/text/utf8.h"
#include "test_support/child_process.h"
#include "test_support/temp_dir.h"
#include "test_support/temporary_files.h"

namespace fs = std::filesystem;

namespace brevant {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::TemporaryFilesIn;

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
  ASSERT_TRUE(test::CanRunUnprivileged());
  EXPECT_NE(test::RunUnprivileged("cat '" + (dir / hidden[0]).string() + "' >/dev/null 2>&1"), 0);

  ASSERT_EQ(file.place(target, 0644), 0);
  EXPECT_EQ(ReadBytes(dir / "b.htm"), "secret");
  EXPECT_EQ(fs::status(dir / "b.htm").permissions(), static_cast<fs::perms>(0644));
  EXPECT_EQ(EntriesIn(dir.path()), 1u);
}

// A name too long to have the mark added is shortened before its extension:
// the hidden file is still one a later run knows for its own and removes.
TEST(PendingFile, ShortenedHiddenNameKeepsItsExtension) {
  TempDir dir;
  for (const std::string extension : {".htm", ".xlsx", ".csv"}) {
    SCOPED_TRACE(extension);
    PendingFile file;
    ASSERT_EQ(file.create((dir / (std::string(250, 'n') + extension)).string(), PendingFile::Kind::Named), 0);
    const std::vector<std::string> hidden = TemporaryFilesIn(dir.path());
    ASSERT_EQ(hidden.size(), 1u);
    EXPECT_LE(hidden[0].size(), 255u);
    EXPECT_NE(hidden[0].find(extension + ".brevant-"), std::string::npos) << hidden[0];
    // Left by a killed run: unlocked, and changed before the instant given.
    fs::rename(dir / hidden[0], dir / "aside");
    file.discard();
    fs::rename(dir / "aside", dir / hidden[0]);
    RemoveStaleTemporaryFiles(dir.path().string() + "/",
                              std::chrono::system_clock::now() + std::chrono::minutes(1));
    EXPECT_EQ(EntriesIn(dir.path()), 0u);
  }
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
    ASSERT_TRUE(test::ChildEnded(child, status));
    ASSERT_TRUE(WIFSIGNALED(status)) << "exit status " << WEXITSTATUS(status);
    EXPECT_EQ(WTERMSIG(status), signalNumber);
    EXPECT_EQ(EntriesIn(dir.path()), 0u) << "signal " << signalNumber;
  }
}

// A program killed while it writes (SIGKILL, or SIGXFSZ at a file-size limit,
// which no handler sees) leaves nothing: the file being written has no name
// until it is placed, small documents written at once and large ones written
// over time, new or replacing, alike.
TEST(PendingFile, AKilledWriterLeavesNoFileBehind) {
  constexpr std::size_t kMiB = std::size_t{1} << 20;
  const struct {
    const char* name;
    bool earlier;
    std::size_t size;
    int signalNumber;
  } cases[] = {
      {"replacing, small", true, 100'000, SIGXFSZ},
      {"new, small", false, 100'000, SIGXFSZ},
      {"replacing, large", true, 3 * kMiB, SIGXFSZ},
      {"replacing, killed half-way", true, 3 * kMiB, SIGKILL},
      {"new, killed half-way", false, 3 * kMiB, SIGKILL},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    if (c.earlier) test::WriteBytes(dir / "b.htm", "earlier");
    const pid_t child = fork();
    if (child == 0) {
      RemovePendingFilesOnSignals();  // as the programs do; neither signal reaches its handler
      signal(SIGXFSZ, SIG_DFL);
      const rlimit limit = {64 * 1024, 64 * 1024};
      if (c.signalNumber == SIGXFSZ) setrlimit(RLIMIT_FSIZE, &limit);
      AtomicFileWriter writer(FromUtf8((dir / "b.htm").string()), ExistingTarget::Replace);
      writer.write(std::string(c.size, 'x'));  // a large one is on its way to the file now
      if (c.signalNumber == SIGKILL) raise(SIGKILL);
      writer.commit();
      _exit(3);  // not reached
    }
    int status = 0;
    ASSERT_TRUE(test::ChildEnded(child, status));
    ASSERT_TRUE(WIFSIGNALED(status)) << test::ChildEnding(status);
    EXPECT_EQ(WTERMSIG(status), c.signalNumber);
    EXPECT_EQ(EntriesIn(dir.path()), c.earlier ? 1u : 0u);
    if (c.earlier) {
      EXPECT_EQ(ReadBytes(dir / "b.htm"), "earlier");
    }
  }
}

// What a killed program may still leave (between linking its file in and
// renaming it over the earlier one; a power cut) is removed by a later run, and
// nothing else: only regular files named as ours, owned by this user, changed
// before the instant given and not locked by a writer at work.
TEST(PendingFile, StaleTemporaryFilesOfOursAreRemovedAndNothingElse) {
  TempDir dir;
  const auto make = [&dir](const std::string& name) { test::WriteBytes(dir / name, "x"); };
  const struct {
    std::string name;
    std::function<void(const fs::path&)> make;
    bool removed;
  } cases[] = {
      {".b.htm.brevant-Ab3xZ9", {}, true},
      {".output.xml.brevant-000000", {}, true},
      {".b.csv.brevant-Ab3xZ9", {}, true},
      {".Name (2).xlsx.brevant-Ab3xZ9", {}, true},
      {".notes.brevant-backup", {}, false},      // the user's own, not our pattern
      {".notes.txt.brevant-Ab3xZ9", {}, false},  // no extension of ours
      {".b.HTM.brevant-Ab3xZ9", {}, false},      // we write ours in small letters
      {".htm.brevant-Ab3xZ9", {}, false},        // no name before the extension
      {".b.xhtm.brevant-Ab3xZ9", {}, false},     // ours only as a whole extension
      {".b.htm.brevant-Ab3xZ", {}, false},       // suffix too short
      {".b.htm.brevant-Ab3xZ9x", {}, false},     // too long
      {".b.htm.brevant-Ab3-Z9", {}, false},      // not letters and digits
      {"b.htm.brevant-Ab3xZ9", {}, false},       // not hidden
      {".b.htm.brevantAb3xZ9", {}, false},       // no mark
      {".brevant-Ab3xZ9", {}, false},            // no name before the mark
      {".theirs.htm.brevant-Ab3xZ9",             // another user's
       [](const fs::path& p) {
         test::WriteBytes(p, "x");
         ASSERT_EQ(chown(p.c_str(), 65534, 65534), 0);
       },
       false},
      {".folder.htm.brevant-Ab3xZ9", [](const fs::path& p) { fs::create_directory(p); }, false},
      {".link.htm.brevant-Ab3xZ9", [](const fs::path& p) { fs::create_symlink("elsewhere", p); }, false},
      {".fifo.htm.brevant-Ab3xZ9", [](const fs::path& p) { ASSERT_EQ(mkfifo(p.c_str(), 0600), 0); }, false},
  };
  for (const auto& c : cases) {
    if (c.make) {
      c.make(dir / c.name);
    } else {
      make(c.name);
    }
  }
  // One still being written: its writer holds the lock.
  make(".live.htm.brevant-Ab3xZ9");
  const int live = open((dir / ".live.htm.brevant-Ab3xZ9").c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_EQ(flock(live, LOCK_EX | LOCK_NB), 0);

  // Changed just now: nothing is stale yet.
  const auto now = std::chrono::system_clock::now();
  RemoveStaleTemporaryFiles(dir.path().string() + "/", now - std::chrono::minutes(1));
  EXPECT_EQ(EntriesIn(dir.path()), std::size(cases) + 1);

  RemoveStaleTemporaryFiles(dir.path().string() + "/", now + std::chrono::minutes(1));
  for (const auto& c : cases) EXPECT_EQ(!fs::exists(fs::symlink_status(dir / c.name)), c.removed) << c.name;
  EXPECT_TRUE(fs::exists(dir / ".live.htm.brevant-Ab3xZ9"));
  close(live);
}

// Files placed together are placed together or not at all: a failure while
// they are finished leaves every earlier file, and so does one while they are
// placed, where the files placed before it are taken back out.
TEST(PendingFile, FilesPlacedTogetherComeBackOutWhenOneFails) {
  TempDir dir;
  const auto target = [&dir](const char* name) { return FromUtf8((dir / name).string()); };
  const struct {
    const char* name;
    bool earlierDocument;
    std::function<void()> beforeFinish;  // what makes the second file fail while finished
    std::function<void()> beforePlace;   // or while placed
  } cases[] = {
      {"read-only CSV, earlier document",
       true,
       [&] {
         test::WriteBytes(dir / "t.csv", "earlier csv");
         fs::permissions(dir / "t.csv", fs::perms::owner_read);
       },
       {}},
      {"CSV turned into a folder, earlier document",
       true,
       {},
       [&] {
         fs::remove(dir / "t.csv");
         fs::create_directories(dir / "t.csv" / "inside");
       }},
      {"CSV turned into a folder, new document",
       false,
       {},
       [&] {
         fs::remove(dir / "t.csv");
         fs::create_directories(dir / "t.csv" / "inside");
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(dir / "t.htm");
    fs::remove_all(dir / "t.csv");
    if (c.earlierDocument) test::WriteBytes(dir / "t.htm", "earlier document");
    if (!fs::exists(dir / "t.csv")) test::WriteBytes(dir / "t.csv", "earlier csv");
    if (c.beforeFinish) c.beforeFinish();
    AtomicFileWriter document(target("t.htm"));
    AtomicFileWriter csv(target("t.csv"));
    document.write("new document");
    csv.write("new csv");
    if (c.beforePlace) {
      document.finish();
      csv.finish();
      c.beforePlace();
    }
    AtomicFileWriter* const writers[] = {&document, &csv};
    try {
      CommitTogether(writers);
      ADD_FAILURE() << "placed";
    } catch (const CommitFailure& failure) {
      EXPECT_EQ(failure.index(), 1u);
    }
    EXPECT_EQ(ReadBytes(dir / "t.htm"), c.earlierDocument ? "earlier document" : "<missing>");
    EXPECT_EQ(EntriesIn(dir.path()), c.earlierDocument ? 2u : 1u);
    fs::permissions(dir / "t.csv", fs::perms::owner_all);
  }
  // And when all goes well, all are placed and nothing else is left.
  fs::remove_all(dir / "t.csv");
  test::WriteBytes(dir / "t.htm", "earlier document");
  AtomicFileWriter document(target("t.htm"));
  AtomicFileWriter csv(target("t.csv"));
  document.write("new document");
  csv.write("new csv");
  AtomicFileWriter* const writers[] = {&document, &csv};
  CommitTogether(writers);
  EXPECT_EQ(ReadBytes(dir / "t.htm"), "new document");
  EXPECT_EQ(ReadBytes(dir / "t.csv"), "new csv");
  EXPECT_EQ(EntriesIn(dir.path()), 2u);
}

// Where the file system has no unnamed files, a named one is placed as an
// unnamed one would be: under the target's own name when nothing stands there,
// over the earlier file otherwise; and a placement that keeps what it replaced
// is taken back by undo().
TEST(PendingFile, NamedAndUnnamedFilesArePlacedAndTakenBackAlike) {
  for (const PendingFile::Kind kind : {PendingFile::Kind::Unnamed, PendingFile::Kind::Named}) {
    for (const bool earlier : {false, true}) {
      for (const bool undo : {false, true}) {
        SCOPED_TRACE(std::string(kind == PendingFile::Kind::Named ? "named" : "unnamed") +
                     (earlier ? ", replacing" : ", new") + (undo ? ", undone" : ""));
        TempDir dir;
        const std::string target = (dir / "b.htm").string();
        if (earlier) test::WriteBytes(target, "earlier");
        PendingFile file;
        ASSERT_EQ(file.create(target, kind), 0);
        ASSERT_EQ(write(file.descriptor(), "new", 3), 3);
        ASSERT_EQ(file.placeOver(target, ExistingTarget::Replace, nullptr, {.keepReplaced = undo}), 0);
        EXPECT_EQ(ReadBytes(dir / "b.htm"), "new");
        EXPECT_TRUE(file.synced());  // no session: synced before it was placed, new or not
        if (undo) {
          EXPECT_EQ(file.undo(), 0);
          EXPECT_EQ(ReadBytes(dir / "b.htm"), earlier ? "earlier" : "<missing>");
        } else {
          file.confirm();
        }
        EXPECT_EQ(EntriesIn(dir.path()), earlier || !undo ? 1u : 0u);
      }
    }
  }
}

// A run's session clears each folder it writes into of what killed runs left,
// once, before its first file goes there; other folders are not looked at.
TEST(PendingFile, ASessionRemovesStaleFilesWhereItWrites) {
  TempDir dir;
  test::WriteBytes(dir / "out" / ".a.htm.brevant-Ab3xZ9", "left by a killed run");
  test::WriteBytes(dir / "other" / ".a.htm.brevant-Ab3xZ9", "left by a killed run");
  {
    WriteSession session(std::chrono::system_clock::now() + std::chrono::minutes(1));
    for (const char* name : {"a.htm", "b.htm"}) {
      AtomicFileWriter writer(FromUtf8((dir / "out" / name).string()));
      writer.write(name);
      writer.commit();
    }
    EXPECT_TRUE(session.finish().empty());
  }
  EXPECT_EQ(EntriesIn(dir / "out"), 2u);
  EXPECT_EQ(ReadBytes(dir / "out" / "b.htm"), "b.htm");
  EXPECT_EQ(EntriesIn(dir / "other"), 1u);
  EXPECT_EQ(WriteSession::current(), nullptr);
}

}  // namespace
}  // namespace brevant
