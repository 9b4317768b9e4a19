// All matching files of a folder tree, as the window's "add folder" and the
// command line take them.
#ifndef _WIN32
#include <fcntl.h>
#endif
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "support/files/file_access.h"
#include "support/files/file_attributes.h"
#include "support/files/path_helpers.h"
#include "support/folder_test_tree.h"
#include "support/folders/files_in_folder.h"
#include "support/folders/matching_files.h"
#include "support/folders/sub_directories.h"
#include "support/unprivileged_child.h"
#include "test_support/child_process.h"

namespace fs = std::filesystem;

namespace brevant {
namespace {

using test::ChildFolder;
using test::InUnprivilegedChild;
#ifndef _WIN32
using test::MakeFifo;
#endif
using test::MakeFiles;
using test::MakeFolders;
using test::PathText;
using test::RecordingObserver;
using test::Relative;
using test::RunThisTestUnprivileged;
using test::TempDir;
using Paths = std::vector<std::string>;

constexpr fs::perms kReadOnly = static_cast<fs::perms>(0444);

void MakeSampleTree(const fs::path& root) {
  MakeFiles(root, {"top/b.vcf", "top/A.VCF", "top/a.b.vcf", "top/~lock.vcf", "top/.dot.vcf", "top/.ro.vcf",
                   "top/note.txt", "top/noext", "top/sub/c.vcf", "top/sub/deeper/d.vcf", "top/sub2/e.Vcf",
                   "top/sub2/~e.txt"});
  fs::permissions(root / "top/.ro.vcf", kReadOnly);
#ifndef _WIN32
  MakeFifo(root / "top/pipe.vcf");
#endif
  MakeFolders(root, {"top/folder.vcf"});
}

// The trees hold a FIFO: a scan that opens it to read would wait for a writer.
// On POSIX the scan runs apart with a bound, so that it fails here and stops
// nothing else; its first line is what the observer saw.
Paths List(const fs::path& root, const std::string& folder, const Text& extension) {
  const auto list = [&] {
    RecordingObserver observer;
    const std::vector<Text> files = ListMatchingFiles(PathText(root / folder), extension, observer);
    std::string lines = std::to_string(observer.files) + " of " + std::to_string(files.size()) + " found, " +
                        std::to_string(observer.reports.size()) + " reports\n";
    for (const std::string& path : Relative(files, root)) lines += path + "\n";
    return lines;
  };
#ifdef _WIN32
  std::string lines = list();
#else
  std::string lines;
  EXPECT_TRUE(test::ResultInChild(list, lines));
#endif
  Paths paths;
  for (std::size_t start = 0, end; (end = lines.find('\n', start)) != std::string::npos; start = end + 1) {
    paths.push_back(lines.substr(start, end - start));
  }
  if (paths.empty()) return paths;
  const std::string count = std::to_string(paths.size() - 1);
  EXPECT_EQ(paths.front(), count + " of " + count + " found, 0 reports");
  paths.erase(paths.begin());
  return paths;
}

TEST(MatchingFiles, TakesTheFolderFirstThenEachLevel) {
  TempDir dir;
  MakeSampleTree(dir.path());
  // ".dot.vcf" is a writable hidden file (value 34) and stays out; the read-only
  // one (35) is taken. "~" names, the FIFO and the folder stay out.
  EXPECT_EQ(List(dir.path(), "top", u"vcf"),
            (Paths{"top/.ro.vcf", "top/a.b.vcf", "top/A.VCF", "top/b.vcf", "top/sub/c.vcf", "top/sub2/e.Vcf",
                   "top/sub/deeper/d.vcf"}));
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
#ifdef _WIN32
  GTEST_SKIP() << "needs symbolic links (made by Linux in scripts/windows.sh)";
#else
  TempDir dir;
  MakeFiles(dir.path(), {"top/a.vcf", "outside/x.vcf"});
  fs::create_directory_symlink(dir / "outside", dir / "top/linked");
  fs::create_directory_symlink(dir / "top", dir / "top/loop");
  fs::create_symlink(dir / "outside/x.vcf", dir / "top/y.vcf");
  EXPECT_EQ(List(dir.path(), "top", u"vcf"), (Paths{"top/a.vcf", "top/y.vcf"}));
#endif
}

#ifndef _WIN32
// The add-folder steps one by one: the folder list first, then each folder's
// file names, each tested again before it is taken.
std::vector<Text> StepByStep(const Text& folder, const Text& extension) {
  ScanObserver quiet;
  std::vector<Text> folders{folder + u'/'};
  GetSubDirectories2016(folders, true, quiet);
  std::vector<Text> files;
  for (const Text& entry : folders) {
    const Text folderPath = entry.substr(0, entry.size() - 1);
    const std::vector<Text> names = GetFilesInFolder(folderPath, u"*." + extension);
    for (std::size_t i = 1; i < names.size(); ++i) {
      if (names[i][0] == u'~') continue;
      const Text path = folderPath + u'/' + names[i];
      if (!FileIsAccessible(path) || FileAttributeValue(path) == 34) continue;
      files.push_back(CollapseBackslashes(path));
    }
  }
  return files;
}

TEST(MatchingFiles, TellsWhatItHadToLeaveOut) {
#ifdef _WIN32
  GTEST_SKIP() << "builds names through POSIX descriptors";
#else
  TempDir dir;
  MakeFiles(dir.path(),
            {"top/a.vcf", "top/bad\xFF/b.vcf", "top/c\x01/c.vcf", "top/d\xFE.vcf", "top/~e.vcf", "top/.f.vcf",
             "top/g\nh.vcf", "top/\x1B[31mi.vcf", "top/j\xC2\x9B.vcf", "top/k\x7F.vcf", "top/l\x01.txt"});
  // A chain of folders whose paths grow past the platform's limit of 4096 bytes.
  const std::string name(200, 'n');
  int folder = open((dir / "top").c_str(), O_RDONLY | O_DIRECTORY);
  std::size_t length = (dir / "top").string().size();
  while (length < 4096 + 2 * name.size()) {
    ASSERT_EQ(mkdirat(folder, name.c_str(), 0755), 0);
    const int deeper = openat(folder, name.c_str(), O_RDONLY | O_DIRECTORY);
    close(folder);
    folder = deeper;
    length += 1 + name.size();
  }
  close(folder);

  RecordingObserver observer;
  const std::vector<Text> files = ListMatchingFiles(PathText(dir / "top"), u"vcf", observer);
  EXPECT_EQ(Relative(files, dir.path()), Paths{"top/a.vcf"});
  // Each once, as the listing meets it; the long path below the others.
  const std::string top = (dir / "top").string() + "/";
  std::vector<std::pair<Text, LeftOut>> unusable;
  std::size_t tooLong = 0;
  for (const auto& [path, reason] : observer.leftOutPaths) {
    if (reason == LeftOut::PathTooLong) {
      ++tooLong;
      EXPECT_GE(ToUtf8(path).size(), 4096u);
      EXPECT_EQ(ToUtf8(path).rfind(top + name + "/", 0), 0u);
    } else {
      unusable.emplace_back(path, reason);
    }
  }
  EXPECT_EQ(tooLong, 1u);
  std::sort(unusable.begin(), unusable.end());
  EXPECT_EQ(unusable,
            (std::vector<std::pair<Text, LeftOut>>{{FromUtf8(top + "\x1B[31mi.vcf"), LeftOut::UnusableName},
                                                   {FromUtf8(top + "bad\xFF"), LeftOut::UnusableName},
                                                   {FromUtf8(top + "c\x01"), LeftOut::UnusableName},
                                                   {FromUtf8(top + "d\xFE.vcf"), LeftOut::UnusableName},
                                                   {FromUtf8(top + "g\nh.vcf"), LeftOut::UnusableName},
                                                   {FromUtf8(top + "j\xC2\x9B.vcf"), LeftOut::UnusableName},
                                                   {FromUtf8(top + "k\x7F.vcf"), LeftOut::UnusableName}}));
  EXPECT_TRUE(observer.reports.empty());
#endif
}
#endif

TEST(MatchingFiles, AgreesWithTheStepByStepRoutine) {
#ifdef _WIN32
  GTEST_SKIP() << "needs symbolic links";
#else
  TempDir dir;
  MakeSampleTree(dir.path());
  MakeFiles(dir.path(), {"top/sub/x.VCF", "top/sub/.y.vcf", "top/sub/deeper/~z.vcf", "top/sub/deeper/w.txt",
                         "top/Sub3/a/b/c/d.vcf", "top/Sub3/a/b/e.vcf.bak", "top/sub3/q.vcf"});
  fs::create_directory_symlink(dir / "top", dir / "top/sub/loop");
  fs::create_symlink(dir / "top/b.vcf", dir / "top/Sub3/link.vcf");
  for (const Text start : {u"top", u"top/", u"top//sub", u"missing"}) {
    for (const Text extension : {u"vcf", u"VCF", u"*", u"txt", u"v?f", u"bak"}) {
      RecordingObserver observer;
      const Text folder = PathText(dir.path()) + u'/' + start;
      EXPECT_EQ(ListMatchingFiles(folder, extension, observer), StepByStep(folder, extension))
          << ToUtf8(start) << " " << ToUtf8(extension);
    }
  }
#endif
}

TEST(MatchingFilePermissions, UnreadableFilesAndFoldersBringNothing) {
#ifdef _WIN32
  GTEST_SKIP() << "needs file modes and an unprivileged user";
#else
  if (InUnprivilegedChild()) {
    EXPECT_EQ(List(ChildFolder(), "top", u"vcf"), (Paths{"top/open.vcf", "top/sub/inner.vcf"}));
    return;
  }
  TempDir dir;
  MakeFiles(dir.path(), {"top/open.vcf", "top/closed.vcf", "top/locked/hidden.vcf", "top/sub/inner.vcf"});
  fs::permissions(dir / "top/closed.vcf", fs::perms::owner_read | fs::perms::owner_write);
  fs::permissions(dir / "top/locked", fs::perms::owner_all);
  EXPECT_TRUE(RunThisTestUnprivileged(dir.path()));
#endif
}

}  // namespace
}  // namespace brevant
