// Listing the files of one folder, the open test and the derived attributes.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "support/files/file_access.h"
#include "support/files/file_attributes.h"
#include "support/folder_test_tree.h"
#include "support/folders/files_in_folder.h"
#include "support/unprivileged_child.h"
#include "test_support/child_process.h"

namespace fs = std::filesystem;

namespace brevant {
namespace {

using test::ChildFolder;
using test::InUnprivilegedChild;
using test::MakeFifo;
using test::MakeFiles;
using test::MakeFolders;
using test::PathText;
using test::ResultInChild;
using test::RunThisTestUnprivileged;
using test::TempDir;

constexpr fs::perms kReadOnly = static_cast<fs::perms>(0444);
constexpr fs::perms kNoAccess = fs::perms::none;

std::vector<std::string> Names(const std::vector<Text>& array) {
  std::vector<std::string> names;
  for (const Text& name : array) names.push_back(ToUtf8(name));
  return names;
}

// The names one a line, as a child process hands them over.
std::string Lines(const std::vector<std::string>& names) {
  std::string lines;
  for (const std::string& name : names) lines += name + "\n";
  return lines;
}

void MakeSocket(const fs::path& path) {
  const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::snprintf(address.sun_path, sizeof(address.sun_path), "%s", path.c_str());
  const bool bound = bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
  close(fd);
  if (!bound) throw std::runtime_error("cannot bind " + path.string());
}

TEST(FilesInFolder, AnEmptyOrMissingFolderGivesTheSingleEmptyElement) {
  TempDir dir;
  const std::vector<Text> none{u""};
  EXPECT_EQ(GetFilesInFolder(PathText(dir.path()), u"*.vcf"), none);
  EXPECT_EQ(GetFilesInFolder(PathText(dir / "missing"), u"*.*"), none);
  MakeFiles(dir.path(), {"note.txt"});
  MakeFolders(dir.path(), {"sub.vcf"});
  EXPECT_EQ(GetFilesInFolder(PathText(dir.path()), u"*.vcf"), none);
}

TEST(FilesInFolder, MatchesWithoutRegardToCaseInListingOrder) {
  TempDir dir;
  MakeFiles(dir.path(),
            {"b.vcf", "A.VCF", "c.Vcf", "a.b.vcf", ".vcf", "d.txt", "e.vcf.txt", "noext", "f.vcfx"});
  EXPECT_EQ(Names(GetFilesInFolder(PathText(dir.path()), u"*.vcf")),
            (std::vector<std::string>{"", ".vcf", "a.b.vcf", "A.VCF", "b.vcf", "c.Vcf"}));
  // With or without the trailing separator.
  EXPECT_EQ(GetFilesInFolder(PathText(dir.path()) + u"/", u"*.VCF"),
            GetFilesInFolder(PathText(dir.path()), u"*.vcf"));
  // "*.*" also finds the name without a dot.
  EXPECT_EQ(Names(GetFilesInFolder(PathText(dir.path()), u"*.*")),
            (std::vector<std::string>{"", ".vcf", "a.b.vcf", "A.VCF", "b.vcf", "c.Vcf", "d.txt", "e.vcf.txt",
                                      "f.vcfx", "noext"}));
}

TEST(FilesInFolder, Lists130FilesAtIndices1To130) {
  TempDir dir;
  std::vector<std::string> expected{""};
  for (int i = 130; i >= 1; --i) {
    char name[16];
    std::snprintf(name, sizeof(name), "c%03d.vcf", i);
    MakeFiles(dir.path(), {name});
  }
  for (int i = 1; i <= 130; ++i) {
    char name[16];
    std::snprintf(name, sizeof(name), "c%03d.vcf", i);
    expected.push_back(name);
  }
  MakeFiles(dir.path(), {"other.txt"});
  const std::vector<Text> files = GetFilesInFolder(PathText(dir.path()), u"*.vcf");
  ASSERT_EQ(files.size(), 131u);
  EXPECT_EQ(Names(files), expected);
}

TEST(FilesInFolder, TakesOnlyWhatOpensAsARegularFile) {
  TempDir dir;
  MakeFiles(dir.path(), {"plain.vcf", ".hidden.vcf", "readonly.vcf", "sub/inner.vcf"});
  fs::permissions(dir / "readonly.vcf", kReadOnly);
  MakeFifo(dir / "pipe.vcf");  // would block a reading open
  MakeSocket(dir / "socket.vcf");
  fs::create_symlink(dir / "plain.vcf", dir / "link.vcf");
  fs::create_symlink(dir / "sub", dir / "folderlink.vcf");
  fs::create_symlink(dir / "gone", dir / "dangling.vcf");
  fs::create_symlink("/dev/null", dir / "device.vcf");
  MakeFiles(dir.path(), {std::string("bad\xFF.vcf"), std::string("ok\xC3\xA9.vcf"), "line\nbreak.vcf",
                         "\x1B]0;title\x07.vcf"});
  // Apart and with a bound: a listing that waits on the FIFO fails here and stops nothing else.
  std::string names;
  ASSERT_TRUE(
      ResultInChild([&] { return Lines(Names(GetFilesInFolder(PathText(dir.path()), u"*.vcf"))); }, names));
  EXPECT_EQ(names, Lines({"", ".hidden.vcf", "link.vcf", "ok\xC3\xA9.vcf", "plain.vcf", "readonly.vcf"}));
}

TEST(FilesInFolder, LeavesOutFilesTheUserMayNotRead) {
  if (InUnprivilegedChild()) {
    EXPECT_EQ(Names(GetFilesInFolder(PathText(ChildFolder()), u"*.vcf")),
              (std::vector<std::string>{"", "open.vcf"}));
    EXPECT_FALSE(FileIsAccessible(PathText(ChildFolder() / "closed.vcf")));
    EXPECT_TRUE(FileIsAccessible(PathText(ChildFolder() / "open.vcf")));
    return;
  }
  TempDir dir;
  MakeFiles(dir.path(), {"open.vcf", "closed.vcf"});
  fs::permissions(dir / "closed.vcf", kNoAccess);
  EXPECT_TRUE(RunThisTestUnprivileged(dir.path()));
}

TEST(FileAccess, OnlyARegularFileThatOpensIsAccessible) {
  TempDir dir;
  MakeFiles(dir.path(), {"a.vcf"});
  MakeFolders(dir.path(), {"folder"});
  MakeFifo(dir / "pipe");
  fs::create_symlink(dir / "a.vcf", dir / "link");
  EXPECT_TRUE(FileIsAccessible(PathText(dir / "a.vcf")));
  EXPECT_TRUE(FileIsAccessible(PathText(dir / "link")));
  EXPECT_FALSE(FileIsAccessible(PathText(dir / "folder")));
  // Apart and with a bound: an open that waits for the FIFO's writer fails here and stops nothing else.
  std::string pipe;
  EXPECT_TRUE(
      ResultInChild([&] { return FileIsAccessible(PathText(dir / "pipe")) ? "taken" : "left out"; }, pipe));
  EXPECT_EQ(pipe, "left out");
  EXPECT_FALSE(FileIsAccessible(PathText(dir / "missing")));
  EXPECT_FALSE(FileIsAccessible(u"/dev/null"));
  EXPECT_FALSE(FileIsAccessible(u""));
  // A NUL would end the path early and name "a.vcf".
  EXPECT_FALSE(FileIsAccessible(PathText(dir / "a.vcf") + Text(1, u'\0') + u"x"));
}

TEST(FileAttributes, AreDerivedFromKindNameAndOwnerWriteBit) {
  TempDir dir;
  MakeFiles(dir.path(), {"plain.vcf", ".dot.vcf", ".ro.vcf", "ro.vcf"});
  fs::permissions(dir / ".ro.vcf", kReadOnly);
  fs::permissions(dir / "ro.vcf", kReadOnly);
  MakeFolders(dir.path(), {"folder", ".hidden", "locked"});
  fs::permissions(dir / "locked", static_cast<fs::perms>(0555));
  MakeFifo(dir / ".pipe");
  fs::create_symlink(dir / "plain.vcf", dir / "link");
  fs::create_symlink(dir / "folder", dir / ".folderlink");
  fs::create_symlink(dir / "gone", dir / "dangling");

  EXPECT_EQ(FileAttributeValue(PathText(dir / "plain.vcf")), 32);
  EXPECT_EQ(FileAttributeValue(PathText(dir / ".dot.vcf")), 34);
  EXPECT_EQ(FileAttributeValue(PathText(dir / ".ro.vcf")), 35);
  EXPECT_EQ(FileAttributeValue(PathText(dir / "ro.vcf")), 33);
  EXPECT_EQ(FileAttributeValue(PathText(dir / "folder")), 16);
  EXPECT_EQ(FileAttributeValue(PathText(dir / "folder") + u"/"), 16);
  EXPECT_EQ(FileAttributeValue(PathText(dir / ".hidden") + u"/"), 18);
  EXPECT_EQ(FileAttributeValue(PathText(dir / "locked")), 17);
  EXPECT_EQ(FileAttributeValue(PathText(dir / ".pipe")), 2);
  EXPECT_EQ(FileAttributeValue(PathText(dir / "link")), 1024 + 32);
  // The trailing separator must not hide the link.
  EXPECT_EQ(FileAttributeValue(PathText(dir / ".folderlink") + u"/"), 1024 + 16 + 2);
  EXPECT_EQ(FileAttributeValue(PathText(dir / "dangling")), 1024);
  EXPECT_EQ(FileAttributeValue(PathText(dir / "missing")), -1);
  EXPECT_EQ(FileAttributeValue(u""), -1);
  EXPECT_EQ(FileAttributeValue(u"/"), 16);
}

}  // namespace
}  // namespace brevant
