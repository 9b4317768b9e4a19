// All matching files of a folder tree, as the window's "add folder" and the
// command line take them.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/folder_test_tree.h"
#include "support/matching_files.h"
#include "support/unprivileged_child.h"

namespace fs = std::filesystem;

namespace brevant {
namespace {

using testing::ChildFolder;
using testing::InUnprivilegedChild;
using testing::MakeFifo;
using testing::MakeFiles;
using testing::MakeFolders;
using testing::RecordingObserver;
using testing::Relative;
using testing::RunThisTestUnprivileged;
using testing::T;
using testing::TempDir;
using Paths = std::vector<std::string>;

constexpr fs::perms kReadOnly = static_cast<fs::perms>(0444);

void MakeSampleTree(const fs::path& root) {
  MakeFiles(root, {"top/b.vcf", "top/A.VCF", "top/a.b.vcf", "top/~lock.vcf", "top/.dot.vcf", "top/.ro.vcf",
                   "top/note.txt", "top/noext", "top/sub/c.vcf", "top/sub/deeper/d.vcf", "top/sub2/e.Vcf",
                   "top/sub2/~e.txt"});
  fs::permissions(root / "top/.ro.vcf", kReadOnly);
  MakeFifo(root / "top/pipe.vcf");
  MakeFolders(root, {"top/folder.vcf"});
}

Paths List(const fs::path& root, const std::string& folder, const Text& extension) {
  RecordingObserver observer;
  const std::vector<Text> files = ListMatchingFiles(T(root / folder), extension, observer);
  EXPECT_EQ(observer.files, files.size());
  EXPECT_TRUE(observer.reports.empty());
  return Relative(files, root);
}

TEST(MatchingFiles, TakesTheFolderFirstThenEachLevel) {
  TempDir dir;
  MakeSampleTree(dir.path());
  // ".dot.vcf" is a writable hidden file (value 34) and stays out; the read-only
  // one (35) is taken. "~" names, the FIFO and the folder stay out.
  EXPECT_EQ(List(dir.path(), "top", u"vcf"), (Paths{"top/.ro.vcf", "top/a.b.vcf", "top/A.VCF", "top/b.vcf",
                                                    "top/sub/c.vcf", "top/sub2/e.Vcf", "top/sub/deeper/d.vcf"}));
  EXPECT_EQ(List(dir.path(), "top", u"VCF"), List(dir.path(), "top", u"vcf"));
}

TEST(MatchingFiles, StarTakesEveryFile) {
  TempDir dir;
  MakeSampleTree(dir.path());
  EXPECT_EQ(List(dir.path(), "top", u"*"),
            (Paths{"top/.ro.vcf", "top/a.b.vcf", "top/A.VCF", "top/b.vcf", "top/noext", "top/note.txt",
                   "top/sub/c.vcf", "top/sub2/e.Vcf", "top/sub/deeper/d.vcf"}));
  EXPECT_EQ(List(dir.path(), "top", u"txt"), (Paths{"top/note.txt"}));
}

TEST(MatchingFiles, JoinsPathsWithOneSeparator) {
  TempDir dir;
  MakeFiles(dir.path(), {"top/a.vcf", "top/sub/b.vcf"});
  EXPECT_EQ(List(dir.path(), "top/", u"vcf"), (Paths{"top/a.vcf", "top/sub/b.vcf"}));
  EXPECT_EQ(List(dir.path(), "missing", u"vcf"), Paths{});
}

TEST(MatchingFiles, LeavesOutLinksToFoldersButTakesLinksToFiles) {
  TempDir dir;
  MakeFiles(dir.path(), {"top/a.vcf", "outside/x.vcf"});
  fs::create_directory_symlink(dir / "outside", dir / "top/linked");
  fs::create_directory_symlink(dir / "top", dir / "top/loop");
  fs::create_symlink(dir / "outside/x.vcf", dir / "top/y.vcf");
  EXPECT_EQ(List(dir.path(), "top", u"vcf"), (Paths{"top/a.vcf", "top/y.vcf"}));
}

TEST(MatchingFilePermissions, UnreadableFilesAndFoldersBringNothing) {
  if (InUnprivilegedChild()) {
    EXPECT_EQ(List(ChildFolder(), "top", u"vcf"), (Paths{"top/open.vcf", "top/sub/inner.vcf"}));
    return;
  }
  TempDir dir;
  MakeFiles(dir.path(), {"top/open.vcf", "top/closed.vcf", "top/locked/hidden.vcf", "top/sub/inner.vcf"});
  fs::permissions(dir / "top/closed.vcf", fs::perms::owner_read | fs::perms::owner_write);
  fs::permissions(dir / "top/locked", fs::perms::owner_all);
  EXPECT_TRUE(RunThisTestUnprivileged(dir.path()));
}

}  // namespace
}  // namespace brevant
