// The sub-folder scan: order by level, what is left out, and safety against
// loops, deep trees and folders that cannot be read.
#ifndef _WIN32
#include <fcntl.h>
#endif
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/folder_test_tree.h"
#include "support/folders/sub_directories.h"
#include "support/unprivileged_child.h"

namespace fs = std::filesystem;

namespace brevant {
namespace {

using test::ChildFolder;
using test::FolderEntryOf;
using test::InUnprivilegedChild;
using test::MakeFolders;
using test::PathText;
using test::RecordingObserver;
using test::Relative;
using test::RunThisTestUnprivileged;
using test::TempDir;
using Paths = std::vector<std::string>;

Paths Scan(const fs::path& root, const Paths& start, bool recurse = true) {
  std::vector<Text> folders;
  for (const std::string& folder : start) folders.push_back(FolderEntryOf(root / folder));
  RecordingObserver observer;
  GetSubDirectories2016(folders, recurse, observer);
  EXPECT_TRUE(observer.reports.empty());
  return Relative(folders, root);
}

TEST(SubDirectories, ListsLevelByLevelEachFolderInListingOrder) {
  TempDir dir;
  MakeFolders(dir.path(), {"A/D", "A/B/C"});
  EXPECT_EQ(Scan(dir.path(), {"A"}), (Paths{"A/", "A/B/", "A/D/", "A/B/C/"}));

  MakeFolders(dir.path(), {"A/b/z", "A/B/a", "A/D/x/y", "A/_"});
#ifdef _WIN32
  // "b" is "B" there.
  EXPECT_EQ(Scan(dir.path(), {"A"}),
            (Paths{"A/", "A/B/", "A/D/", "A/_/", "A/B/a/", "A/B/C/", "A/B/z/", "A/D/x/", "A/D/x/y/"}));
#else
  EXPECT_EQ(Scan(dir.path(), {"A"}), (Paths{"A/", "A/B/", "A/b/", "A/D/", "A/_/", "A/B/a/", "A/B/C/",
                                            "A/b/z/", "A/D/x/", "A/D/x/y/"}));
#endif
}

TEST(SubDirectories, WithoutRecursionTakesOneLevel) {
  TempDir dir;
  MakeFolders(dir.path(), {"A/D", "A/B/C"});
  EXPECT_EQ(Scan(dir.path(), {"A"}, false), (Paths{"A/", "A/B/", "A/D/"}));
}

TEST(SubDirectories, KeepsTheCallersEntriesFirstAndGroupsByParent) {
  TempDir dir;
  MakeFolders(dir.path(), {"X/x1/x2", "Y/y1", "Empty"});
  EXPECT_EQ(Scan(dir.path(), {"Y", "Empty", "X"}),
            (Paths{"Y/", "Empty/", "X/", "Y/y1/", "X/x1/", "X/x1/x2/"}));
  EXPECT_EQ(Scan(dir.path(), {"Empty"}), (Paths{"Empty/"}));
  // An entry that is not a folder is not scanned, but stays where the caller put it.
  EXPECT_EQ(Scan(dir.path(), {"missing", "Y"}), (Paths{"missing/", "Y/", "Y/y1/"}));
}

TEST(SubDirectories, NeverListsAFolderTwice) {
  TempDir dir;
  MakeFolders(dir.path(), {"A/D", "A/B/C"});
  EXPECT_EQ(Scan(dir.path(), {"A", "A"}), (Paths{"A/", "A/B/", "A/D/", "A/B/C/"}));
  EXPECT_EQ(Scan(dir.path(), {"A", "A/B"}), (Paths{"A/", "A/B/", "A/D/", "A/B/C/"}));
}

TEST(SubDirectories, LeavesOutNamesThatAreNotSafe) {
#ifdef _WIN32
  GTEST_SKIP() << "names with control characters or bytes that are not UTF-8 cannot be made on Windows";
#else
  TempDir dir;
  MakeFolders(dir.path(), {"A/ok/inner", std::string("A/bad\xFF/inner"), "A/ctl\x01/inner", "A/what?",
                           "A/caf\xC3\xA9", "A/.hidden"});
  EXPECT_EQ(Scan(dir.path(), {"A"}),
            (Paths{"A/", "A/.hidden/", "A/caf\xC3\xA9/", "A/ok/", "A/what?/", "A/ok/inner/"}));
#endif
}

TEST(SubDirectories, DoesNotFollowLinksBelowTheStartFolder) {
#ifdef _WIN32
  GTEST_SKIP() << "needs symbolic links (made by Linux in scripts/windows.sh)";
#else
  TempDir dir;
  MakeFolders(dir.path(), {"A/B/C", "Elsewhere/E"});
  fs::create_directory_symlink(dir / "A", dir / "A/B/C/up");        // a loop
  fs::create_directory_symlink(dir / "Elsewhere", dir / "A/away");  // outside the tree
  fs::create_directory_symlink(dir / "Elsewhere", dir / "A/B/again");
  EXPECT_EQ(Scan(dir.path(), {"A"}), (Paths{"A/", "A/B/", "A/B/C/"}));
  // A start folder that is a link is followed.
  fs::create_directory_symlink(dir / "A", dir / "Start");
  EXPECT_EQ(Scan(dir.path(), {"Start"}), (Paths{"Start/", "Start/B/", "Start/B/C/"}));
#endif
}

TEST(SubDirectories, TellsTheObserverAsItGoes) {
  TempDir dir;
  MakeFolders(dir.path(), {"A/D", "A/B/C"});
  std::vector<Text> folders{FolderEntryOf(dir / "A")};
  RecordingObserver observer;
  GetSubDirectories2016(folders, true, observer);
  EXPECT_EQ(folders.size(), 4u);
  EXPECT_EQ(observer.folders, 4u);
  EXPECT_EQ(observer.yields, 4 + 3);  // each folder, each sub-folder
}

// Fails the first yield, as a window's event handler might.
struct FailingObserver : RecordingObserver {
  void yield() override {
    if (++yields == 1) throw std::runtime_error("Interrupted");
  }
};

TEST(SubDirectories, ReportsAFailureAndGoesOn) {
  TempDir dir;
  MakeFolders(dir.path(), {"A/D", "A/B/C"});
  std::vector<Text> folders{FolderEntryOf(dir / "A")};
  FailingObserver observer;
  GetSubDirectories2016(folders, true, observer);
  EXPECT_EQ(Relative(folders, dir.path()), (Paths{"A/", "A/B/", "A/D/", "A/B/C/"}));
  ASSERT_EQ(observer.reports.size(), 1u);
  const ErrorReport& report = observer.reports[0];
  EXPECT_EQ(report.description, u"Interrupted");
  EXPECT_EQ(report.tag, u"in DorrinTitle2021/08/31.AddFolder.GetSubDirectories2016 ");
  EXPECT_EQ(report.statement, 110);
  EXPECT_TRUE(report.supportSentence);
}

TEST(SubDirectoryPermissions, FoldersThatCannotBeReadLeaveQuietly) {
#ifdef _WIN32
  GTEST_SKIP() << "needs file modes and an unprivileged user";
#else
  if (InUnprivilegedChild()) {
    const fs::path root = ChildFolder();
    std::vector<Text> folders{FolderEntryOf(root / "A"), FolderEntryOf(root / "Locked")};
    RecordingObserver observer;
    GetSubDirectories2016(folders, true, observer);
    EXPECT_EQ(Relative(folders, root), (Paths{"A/", "A/D/", "A/D/E/", "A/D/E/F/"}));
    EXPECT_TRUE(observer.reports.empty());
    // No box, but the one who started the scan learns what it could not enter.
    std::vector<Text> leftOut;
    for (const auto& [path, reason] : observer.leftOutPaths) {
      EXPECT_EQ(reason, LeftOut::CannotOpen) << ToUtf8(path);
      leftOut.push_back(path);
    }
    EXPECT_EQ(Relative(leftOut, root), (Paths{"Locked/", "A/B/", "A/C/", "A/D/E/G/"}));
    return;
  }
  TempDir dir;
  MakeFolders(dir.path(), {"A/B/inner", "A/C/inner", "A/D/E/F", "A/D/E/G/inner", "Locked"});
  for (const char* locked : {"A/B", "A/C", "A/D/E/G", "Locked"})
    fs::permissions(dir / locked, fs::perms::owner_all);
  EXPECT_TRUE(RunThisTestUnprivileged(dir.path()));
#endif
}

#ifndef _WIN32
// Builds root/d/d/.../d through descriptors, so no path grows long.
void MakeDeepChain(const fs::path& root, int depth) {
  int current = open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  for (int level = 0; level < depth && current >= 0; ++level) {
    mkdirat(current, "d", 0755);
    const int next = openat(current, "d", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    close(current);
    current = next;
  }
  ASSERT_GE(current, 0);
  close(current);
}

// Removes the chain from the bottom up through descriptors. Holding one for
// every level could exceed the open-file limit, so it keeps one every 256
// levels and removes the levels below the deepest kept one at a time.
void RemoveDeepChain(const fs::path& root) {
  constexpr int kStride = 256;
  std::vector<int> marks{open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
  for (int current = marks.back(), level = 1;; ++level) {
    const int next = openat(current, "d", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (current != marks.back()) close(current);
    if (next < 0) break;
    if (level % kStride == 0) marks.push_back(next);
    current = next;
  }
  while (!marks.empty()) {
    std::vector<int> chain{marks.back()};
    marks.pop_back();
    for (int next; (next = openat(chain.back(), "d", O_RDONLY | O_DIRECTORY | O_CLOEXEC)) >= 0;) {
      chain.push_back(next);
    }
    for (std::size_t i = chain.size() - 1; i-- > 0;) {
      unlinkat(chain[i], "d", AT_REMOVEDIR);
      close(chain[i + 1]);
    }
    close(chain.front());
  }
}

#endif

TEST(SubDirectories, EndsInATreeDeeperThanAnyPathMayBe) {
#ifdef _WIN32
  GTEST_SKIP() << "builds the tree through POSIX descriptors";
#else
  TempDir dir;
  // Deeper than any scan can reach: 2,200 levels of "d/" make paths longer
  // than the system's 4096-byte limit.
  constexpr int kDepth = 2200;
  MakeDeepChain(dir.path(), kDepth);
  std::vector<Text> folders{FolderEntryOf(dir.path())};
  RecordingObserver observer;
  GetSubDirectories2016(folders, true, observer);
  RemoveDeepChain(dir.path());
  EXPECT_TRUE(fs::is_empty(dir.path()));
  // Entries grow by "d/" a level; the last one still names a folder the system can reach.
  const std::size_t start = folders.front().size();
  const std::size_t levels = (4095 - start) / 2;
  ASSERT_EQ(folders.size(), levels + 1);
  EXPECT_LE(folders.back().size(), 4095u);
  EXPECT_EQ(folders.back().size(), start + 2 * levels);
  EXPECT_TRUE(observer.reports.empty());
#endif
}

}  // namespace
}  // namespace brevant
