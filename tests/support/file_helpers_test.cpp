#include "support/file_helpers.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "support/file_error.h"
#include "support/temporary_files.h"
#include "support/utf8.h"
#include "test_support/temp_dir.h"

namespace fs = std::filesystem;

namespace brevant {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::TemporaryFilesIn;
using testing::WriteBytes;

Text T(const fs::path& path) { return FromUtf8(path.string()); }

// The description of the FileError that `action` throws, or "<no error>".
template <typename Action>
std::string FailureOf(Action action) {
  try {
    action();
  } catch (const FileError& error) {
    return error.description();
  }
  return "<no error>";
}

void MakeReadOnly(const fs::path& file) {
  fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
}

TEST(Existence, FilesAndFoldersAreFoundThroughLinks) {
  TempDir dir;
  WriteBytes(dir / "a.vcf", "x");
  fs::create_directory(dir / "sub");
  fs::create_symlink(dir / "a.vcf", dir / "link.vcf");
  fs::create_directory_symlink(dir / "sub", dir / "sublink");

  EXPECT_TRUE(FileExists(T(dir / "a.vcf")));
  EXPECT_TRUE(FileExists(T(dir / "sub")));
  EXPECT_TRUE(FileExists(T(dir / "link.vcf")));
  EXPECT_TRUE(FolderExists(T(dir / "sub")));
  EXPECT_TRUE(FolderExists(T(dir / "sublink")));
  EXPECT_TRUE(FolderExists(T(dir / "sub/")));
  EXPECT_FALSE(FolderExists(T(dir / "a.vcf")));
  EXPECT_FALSE(FolderExists(T(dir / "link.vcf")));
}

TEST(Existence, MissingEmptyAndBrokenPathsAreNotFound) {
  TempDir dir;
  WriteBytes(dir / "a.vcf", "x");
  fs::create_symlink(dir / "gone.vcf", dir / "dangling.vcf");

  EXPECT_FALSE(FileExists(u""));
  EXPECT_FALSE(FolderExists(u""));
  EXPECT_FALSE(FileExists(T(dir / "missing.vcf")));
  EXPECT_FALSE(FileExists(T(dir / "missing/a.vcf")));
  EXPECT_FALSE(FileExists(T(dir / "a.vcf/x")));
  EXPECT_FALSE(FileExists(T(dir / "dangling.vcf")));
  EXPECT_FALSE(FolderExists(T(dir / "missing")));
  // A NUL would cut the name short and find "a.vcf" instead.
  EXPECT_FALSE(FileExists(T(dir / "a.vcf") + Text(1, u'\0') + u"x"));
  EXPECT_FALSE(FolderExists(T(dir.path()) + Text(1, u'\0')));
}

TEST(WriteTextFile, WritesTheCodePageAndALineBreak) {
  TempDir dir;
  WriteTextFile(T(dir / "new.htm"), u"caf\u00E9 \u20AC <b>&</b> \u0100 \U0001F600");
  EXPECT_EQ(ReadBytes(dir / "new.htm"), "caf\xE9 \x80 <b>&</b> &#256; &#128512;\r\n");
  WriteTextFile(T(dir / "empty.htm"), u"");
  EXPECT_EQ(ReadBytes(dir / "empty.htm"), "\r\n");
  EXPECT_TRUE(TemporaryFilesIn(dir.path()).empty());
}

TEST(WriteTextFile, ReplacesALongerFileWhole) {
  TempDir dir;
  WriteBytes(dir / "b.htm", std::string(5000, 'o'));
  WriteTextFile(T(dir / "b.htm"), u"new");
  EXPECT_EQ(ReadBytes(dir / "b.htm"), "new\r\n");
  EXPECT_TRUE(TemporaryFilesIn(dir.path()).empty());
}

TEST(WriteTextFile, KeepsSurrogatePairsWholeInLargeDocuments) {
  TempDir dir;
  // With and without a leading character, some pair straddles any even chunk boundary.
  for (const Text& prefix : {Text(), Text(u"a")}) {
    Text content = prefix;
    std::string expected = ToUtf8(prefix);
    for (int i = 0; i < 300000; ++i) {
      content += u"\U0001F600";
      expected += "&#128512;";
    }
    WriteTextFile(T(dir / "big.htm"), content);
    EXPECT_EQ(ReadBytes(dir / "big.htm"), expected + "\r\n");
  }
}

TEST(WriteTextFile, KeepsTheTargetsPermissions) {
  TempDir dir;
  WriteBytes(dir / "b.htm", "old");
  fs::permissions(dir / "b.htm", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  WriteTextFile(T(dir / "b.htm"), u"new");
  EXPECT_EQ(fs::status(dir / "b.htm").permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(WriteTextFile, KeepsTheTargetsOwnerWhenRootWrites) {
  if (geteuid() != 0) GTEST_SKIP() << "only root can give a file to another user";
  TempDir dir;
  WriteBytes(dir / "b.htm", "old");
  ASSERT_EQ(chown((dir / "b.htm").c_str(), 65534, 65534), 0);
  WriteTextFile(T(dir / "b.htm"), u"new");
  struct stat st;
  ASSERT_EQ(stat((dir / "b.htm").c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, 65534u);
  EXPECT_EQ(st.st_gid, 65534u);
}

TEST(WriteTextFile, MissingFolderFailsAndCreatesNothing) {
  TempDir dir;
  EXPECT_EQ(FailureOf([&] { WriteTextFile(T(dir / "missing/b.htm"), u"x"); }), "Path not found");
  EXPECT_FALSE(fs::exists(dir / "missing"));
  EXPECT_EQ(FailureOf([&] { WriteTextFile(u"", u"x"); }), "Path not found");
  WriteBytes(dir / "file", "f");
  EXPECT_EQ(FailureOf([&] { WriteTextFile(T(dir / "file/b.htm"), u"x"); }), "Path not found");
  EXPECT_TRUE(TemporaryFilesIn(dir.path()).empty());
}

TEST(WriteTextFile, ReadOnlyTargetIsRefusedAndKeepsItsContent) {
  TempDir dir;
  WriteBytes(dir / "b.htm", "earlier");
  MakeReadOnly(dir / "b.htm");
  EXPECT_EQ(FailureOf([&] { WriteTextFile(T(dir / "b.htm"), u"new"); }), "Permission denied");
  EXPECT_EQ(ReadBytes(dir / "b.htm"), "earlier");
  EXPECT_TRUE(TemporaryFilesIn(dir.path()).empty());
}

TEST(WriteTextFile, FolderTargetIsRefused) {
  TempDir dir;
  fs::create_directory(dir / "b.htm");
  WriteBytes(dir / "b.htm/inside", "i");
  EXPECT_EQ(FailureOf([&] { WriteTextFile(T(dir / "b.htm"), u"x"); }), "Path/File access error");
  EXPECT_EQ(FailureOf([&] { WriteTextFile(T(dir.path()) + u"/", u"x"); }), "Path/File access error");
  EXPECT_TRUE(fs::is_directory(dir / "b.htm"));
  EXPECT_EQ(ReadBytes(dir / "b.htm/inside"), "i");
  EXPECT_TRUE(TemporaryFilesIn(dir.path()).empty());
}

TEST(WriteTextFile, NameWithNulIsRefusedAndTouchesNothing) {
  TempDir dir;
  WriteBytes(dir / "b.htm", "earlier");
  const Text path = T(dir / "b.htm") + Text(1, u'\0') + u".htm";
  EXPECT_EQ(FailureOf([&] { WriteTextFile(path, u"x"); }), "Bad file name or number");
  EXPECT_EQ(ReadBytes(dir / "b.htm"), "earlier");
}

TEST(WriteTextFile, SymbolicLinkStaysAndItsFileIsReplaced) {
  TempDir dir;
  fs::create_directory(dir / "real");
  WriteBytes(dir / "real/b.htm", "earlier");
  fs::create_symlink("real/b.htm", dir / "link.htm");  // relative, as users make them
  fs::create_symlink(dir / "link.htm", dir / "link2.htm");
  fs::create_symlink("real/new.htm", dir / "dangling.htm");

  WriteTextFile(T(dir / "link2.htm"), u"through two links");
  EXPECT_TRUE(fs::is_symlink(dir / "link.htm"));
  EXPECT_TRUE(fs::is_symlink(dir / "link2.htm"));
  EXPECT_EQ(ReadBytes(dir / "real/b.htm"), "through two links\r\n");

  WriteTextFile(T(dir / "dangling.htm"), u"created");
  EXPECT_TRUE(fs::is_symlink(dir / "dangling.htm"));
  EXPECT_EQ(ReadBytes(dir / "real/new.htm"), "created\r\n");
  EXPECT_TRUE(TemporaryFilesIn(dir.path()).empty());
  EXPECT_TRUE(TemporaryFilesIn(dir / "real").empty());
}

TEST(WriteTextFile, LinkLoopFailsWithoutWriting) {
  TempDir dir;
  fs::create_symlink("b.htm", dir / "a.htm");
  fs::create_symlink("a.htm", dir / "b.htm");
  EXPECT_NE(FailureOf([&] { WriteTextFile(T(dir / "a.htm"), u"x"); }), "<no error>");
  EXPECT_TRUE(fs::is_symlink(dir / "a.htm"));
  EXPECT_TRUE(fs::is_symlink(dir / "b.htm"));
  EXPECT_TRUE(TemporaryFilesIn(dir.path()).empty());
}

TEST(WriteTextFile, NameNearTheLengthLimitIsWritten) {
  TempDir dir;
  const std::string name = std::string(251, 'n') + ".htm";  // 255 bytes, the most a name may have
  WriteTextFile(T(dir / name), u"long");
  EXPECT_EQ(ReadBytes(dir / name), "long\r\n");
  EXPECT_TRUE(TemporaryFilesIn(dir.path()).empty());
}

TEST(WriteTextFile, FailureHalfWayLeavesTheEarlierFileAndNoTemporaryFile) {
  TempDir dir;
  WriteBytes(dir / "b.htm", "earlier document");
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // The file size limit makes the disk "full" after 64 KiB.
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit = {64 * 1024, 64 * 1024};
    setrlimit(RLIMIT_FSIZE, &limit);
    const std::string failure = FailureOf([&] { WriteTextFile(T(dir / "b.htm"), Text(4 << 20, u'x')); });
    _exit(failure == "Disk full" ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the write did not fail with \"Disk full\"";
  EXPECT_EQ(ReadBytes(dir / "b.htm"), "earlier document");
  EXPECT_TRUE(TemporaryFilesIn(dir.path()).empty());
}

TEST(DeleteFileSafe, RemovesFilesAndReadOnlyFilesQuietly) {
  TempDir dir;
  WriteBytes(dir / "a.htm", "a");
  WriteBytes(dir / "ro.htm", "r");
  MakeReadOnly(dir / "ro.htm");
  DeleteFileSafe(T(dir / "a.htm"));
  DeleteFileSafe(T(dir / "ro.htm"));
  EXPECT_FALSE(fs::exists(dir / "a.htm"));
  EXPECT_FALSE(fs::exists(dir / "ro.htm"));
  EXPECT_NO_THROW(DeleteFileSafe(T(dir / "missing.htm")));
  EXPECT_NO_THROW(DeleteFileSafe(T(dir / "missing/x.htm")));
  EXPECT_NO_THROW(DeleteFileSafe(u""));
}

TEST(DeleteFileSafe, NeverRemovesAFolderOrTheFileBehindALink) {
  TempDir dir;
  fs::create_directory(dir / "empty.htm");
  fs::create_directory(dir / "full.htm");
  WriteBytes(dir / "full.htm/x", "x");
  WriteBytes(dir / "real.htm", "real");
  fs::create_symlink(dir / "real.htm", dir / "link.htm");

  EXPECT_NO_THROW(DeleteFileSafe(T(dir / "empty.htm")));
  EXPECT_NO_THROW(DeleteFileSafe(T(dir / "full.htm")));
  DeleteFileSafe(T(dir / "link.htm"));
  DeleteFileSafe(T(dir / "real.htm") + Text(1, u'\0'));

  EXPECT_TRUE(fs::is_directory(dir / "empty.htm"));
  EXPECT_EQ(ReadBytes(dir / "full.htm/x"), "x");
  EXPECT_FALSE(fs::exists(fs::symlink_status(dir / "link.htm")));
  EXPECT_EQ(ReadBytes(dir / "real.htm"), "real");
}

TEST(ForceDeleteFile, RemovesReadOnlyFilesAndReportsTheRest) {
  TempDir dir;
  WriteBytes(dir / "ro.htm", "r");
  MakeReadOnly(dir / "ro.htm");
  ForceDeleteFile(T(dir / "ro.htm"));
  EXPECT_FALSE(fs::exists(dir / "ro.htm"));

  EXPECT_EQ(FailureOf([&] { ForceDeleteFile(T(dir / "missing.htm")); }), "Path not found");
  fs::create_directory(dir / "sub");
  EXPECT_NE(FailureOf([&] { ForceDeleteFile(T(dir / "sub")); }), "<no error>");
  EXPECT_TRUE(fs::is_directory(dir / "sub"));
}

TEST(IsSameFile, ComparesTextsAndThenTheFilesThemselves) {
  TempDir dir;
  WriteBytes(dir / "a.vcf", "a");
  WriteBytes(dir / "b.vcf", "a");
  fs::create_hard_link(dir / "a.vcf", dir / "hard.vcf");
  fs::create_symlink(dir / "a.vcf", dir / "soft.vcf");

  EXPECT_TRUE(IsSameFile(u"/nowhere/x", u"/nowhere/x"));
  EXPECT_TRUE(IsSameFile(T(dir / "a.vcf"), T(dir / "hard.vcf")));
  EXPECT_TRUE(IsSameFile(T(dir / "a.vcf"), T(dir / "soft.vcf")));
  EXPECT_TRUE(IsSameFile(T(dir / "a.vcf"), T(dir.path()) + u"/.//a.vcf"));
  EXPECT_FALSE(IsSameFile(T(dir / "a.vcf"), T(dir / "b.vcf")));
  EXPECT_FALSE(IsSameFile(T(dir / "a.vcf"), T(dir / "missing.vcf")));
  EXPECT_FALSE(IsSameFile(T(dir / "missing.vcf"), T(dir / "other.vcf")));
}

}  // namespace
}  // namespace brevant
