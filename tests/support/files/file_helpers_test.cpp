#include "support/files/file_helpers.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <filesystem>

#include "support/files/file_error.h"
#include "support/text/utf8.h"
#include "test_support/child_process.h"
#include "test_support/temp_dir.h"
#include "test_support/temporary_files.h"
#include "test_support/test_texts.h"
#include "test_support/write_document.h"

namespace fs = std::filesystem;

namespace brevant {
namespace {

using test::FailureOf;
using test::PathText;
using test::ReadBytes;
using test::TempDir;
using test::TemporaryFilesIn;
using test::WriteBytes;
using test::WriteDocument;

void MakeReadOnly(const fs::path& file) {
  fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
}

TEST(Existence, FilesAndFoldersAreFoundThroughLinks) {
#ifdef _WIN32
  GTEST_SKIP() << "needs symbolic links";
#else
  TempDir dir;
  WriteBytes(dir / "a.vcf", "x");
  fs::create_directory(dir / "sub");
  fs::create_symlink(dir / "a.vcf", dir / "link.vcf");
  fs::create_directory_symlink(dir / "sub", dir / "sublink");

  EXPECT_TRUE(FileExists(PathText(dir / "a.vcf")));
  EXPECT_TRUE(FileExists(PathText(dir / "sub")));
  EXPECT_TRUE(FileExists(PathText(dir / "link.vcf")));
  EXPECT_TRUE(FolderExists(PathText(dir / "sub")));
  EXPECT_TRUE(FolderExists(PathText(dir / "sublink")));
  EXPECT_TRUE(FolderExists(PathText(dir / "sub/")));
  EXPECT_FALSE(FolderExists(PathText(dir / "a.vcf")));
  EXPECT_FALSE(FolderExists(PathText(dir / "link.vcf")));
#endif
}

TEST(Existence, MissingEmptyAndBrokenPathsAreNotFound) {
#ifdef _WIN32
  GTEST_SKIP() << "needs symbolic links";
#else
  TempDir dir;
  WriteBytes(dir / "a.vcf", "x");
  fs::create_symlink(dir / "gone.vcf", dir / "dangling.vcf");

  EXPECT_FALSE(FileExists(u""));
  EXPECT_FALSE(FolderExists(u""));
  EXPECT_FALSE(FileExists(PathText(dir / "missing.vcf")));
  EXPECT_FALSE(FileExists(PathText(dir / "missing/a.vcf")));
  EXPECT_FALSE(FileExists(PathText(dir / "a.vcf/x")));
  EXPECT_FALSE(FileExists(PathText(dir / "dangling.vcf")));
  EXPECT_FALSE(FolderExists(PathText(dir / "missing")));
  // A NUL would cut the name short and find "a.vcf" instead.
  EXPECT_FALSE(FileExists(PathText(dir / "a.vcf") + Text(1, u'\0') + u"x"));
  EXPECT_FALSE(FolderExists(PathText(dir.path()) + Text(1, u'\0')));
#endif
}

TEST(DocumentWrite, KeepsTheTargetsPermissions) {
#ifdef _WIN32
  GTEST_SKIP() << "needs file modes";
#else
  TempDir dir;
  WriteBytes(dir / "b.htm", "old");
  fs::permissions(dir / "b.htm", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  WriteDocument(PathText(dir / "b.htm"), "new");
  EXPECT_EQ(fs::status(dir / "b.htm").permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
#endif
}

// Root writing into a user's folder leaves the user's document theirs; a file
// another user planted in a shared (sticky) folder hands its planter neither
// the document nor a mode that lets everybody write it.
TEST(DocumentWrite, KeepsTheTargetsOwnerOnlyInTheOwnersFolder) {
#ifdef _WIN32
  GTEST_SKIP() << "needs file owners";
#else
  if (geteuid() != 0) GTEST_SKIP() << "only root can give a file to another user";
  const struct {
    const char* name;
    uid_t folderOwner;
    mode_t folderMode;
    mode_t earlierMode;
    uid_t owner;
    mode_t mode;
  } cases[] = {
      {"the user's own folder", 65534, 0755, 0640, 65534, 0640},
      {"planted in a shared folder", 0, 01777, 0666, 0, 0664},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    ASSERT_EQ(chown(dir.path().c_str(), c.folderOwner, c.folderOwner), 0);
    ASSERT_EQ(chmod(dir.path().c_str(), c.folderMode), 0);
    WriteBytes(dir / "b.htm", "old");
    ASSERT_EQ(chown((dir / "b.htm").c_str(), 65534, 65534), 0);
    ASSERT_EQ(chmod((dir / "b.htm").c_str(), c.earlierMode), 0);
    WriteDocument(PathText(dir / "b.htm"), "new");
    struct stat st;
    ASSERT_EQ(stat((dir / "b.htm").c_str(), &st), 0);
    EXPECT_EQ(ReadBytes(dir / "b.htm"), "new");
    EXPECT_EQ(st.st_uid, c.owner);
    EXPECT_EQ(st.st_gid, c.owner);
    EXPECT_EQ(st.st_mode & 07777, c.mode);
  }
#endif
}

TEST(DocumentWrite, MissingFolderFailsAndCreatesNothing) {
  TempDir dir;
  EXPECT_EQ(FailureOf([&] { WriteDocument(PathText(dir / "missing/b.htm"), "x"); }), "Path not found");
  EXPECT_FALSE(fs::exists(dir / "missing"));
  EXPECT_EQ(FailureOf([&] { WriteDocument(u"", "x"); }), "Path not found");
  WriteBytes(dir / "file", "f");
  EXPECT_EQ(FailureOf([&] { WriteDocument(PathText(dir / "file/b.htm"), "x"); }), "Path not found");
  EXPECT_TRUE(TemporaryFilesIn(dir.path()).empty());
}

TEST(DocumentWrite, ReadOnlyTargetIsRefusedAndKeepsItsContent) {
  TempDir dir;
  WriteBytes(dir / "b.htm", "earlier");
  MakeReadOnly(dir / "b.htm");
  EXPECT_EQ(FailureOf([&] { WriteDocument(PathText(dir / "b.htm"), "new"); }), "Permission denied");
  EXPECT_EQ(ReadBytes(dir / "b.htm"), "earlier");
  EXPECT_TRUE(TemporaryFilesIn(dir.path()).empty());
}

TEST(DocumentWrite, FolderTargetIsRefused) {
  TempDir dir;
  fs::create_directory(dir / "b.htm");
  WriteBytes(dir / "b.htm/inside", "i");
  EXPECT_EQ(FailureOf([&] { WriteDocument(PathText(dir / "b.htm"), "x"); }), "Path/File access error");
  EXPECT_EQ(FailureOf([&] { WriteDocument(PathText(dir.path()) + u"/", "x"); }), "Path/File access error");
  EXPECT_TRUE(fs::is_directory(dir / "b.htm"));
  EXPECT_EQ(ReadBytes(dir / "b.htm/inside"), "i");
  EXPECT_TRUE(TemporaryFilesIn(dir.path()).empty());
}

TEST(DocumentWrite, NameWithNulIsRefusedAndTouchesNothing) {
  TempDir dir;
  WriteBytes(dir / "b.htm", "earlier");
  const Text path = PathText(dir / "b.htm") + Text(1, u'\0') + u".htm";
  EXPECT_EQ(FailureOf([&] { WriteDocument(path, "x"); }), "Bad file name or number");
  EXPECT_EQ(ReadBytes(dir / "b.htm"), "earlier");
}

// A symbolic link at the document's name (planted by another user in a shared
// folder, say) is replaced by the document; the file it names is never written,
// whatever it is: another user's file, a read-only one, a file not yet there,
// one at the end of a chain or a loop of links.
TEST(DocumentWrite, SymbolicLinkIsReplacedAndWhatItNamesIsLeftAlone) {
#ifdef _WIN32
  GTEST_SKIP() << "needs symbolic links";
#else
  TempDir dir;
  fs::create_directory(dir / "victim");
  WriteBytes(dir / "victim/.bashrc", "the other user's file");
  WriteBytes(dir / "victim/read-only", "kept");
  MakeReadOnly(dir / "victim/read-only");
  fs::create_symlink("victim/.bashrc", dir / "link.htm");  // relative, as users make them
  fs::create_symlink(dir / "link.htm", dir / "link2.htm");
  fs::create_symlink(dir / "victim/read-only", dir / "read-only.htm");
  fs::create_symlink("victim/new.htm", dir / "dangling.htm");
  fs::create_symlink("loop-b.htm", dir / "loop-a.htm");
  fs::create_symlink("loop-a.htm", dir / "loop-b.htm");
  for (const char* name : {"link.htm", "link2.htm", "read-only.htm", "dangling.htm", "loop-a.htm"}) {
    WriteDocument(PathText(dir / name), name);
    EXPECT_FALSE(fs::is_symlink(dir / name)) << name;
    EXPECT_EQ(ReadBytes(dir / name), name);
  }
  EXPECT_EQ(ReadBytes(dir / "victim/.bashrc"), "the other user's file");
  EXPECT_EQ(ReadBytes(dir / "victim/read-only"), "kept");
  EXPECT_FALSE(fs::exists(dir / "victim/new.htm"));
  EXPECT_TRUE(fs::is_symlink(dir / "loop-b.htm"));
  EXPECT_TRUE(TemporaryFilesIn(dir.path()).empty());
  EXPECT_TRUE(TemporaryFilesIn(dir / "victim").empty());
#endif
}

TEST(DocumentWrite, NameNearTheLengthLimitIsWritten) {
#ifdef _WIN32
  GTEST_SKIP() << "a path of 255 characters and its folder pass the 260 of Windows";
#else
  TempDir dir;
  const std::string name = std::string(251, 'n') + ".htm";  // 255 bytes, the most a name may have
  WriteDocument(PathText(dir / name), "long");
  EXPECT_EQ(ReadBytes(dir / name), "long");
  EXPECT_TRUE(TemporaryFilesIn(dir.path()).empty());
#endif
}

TEST(DocumentWrite, FailureHalfWayLeavesTheEarlierFileAndNoTemporaryFile) {
#ifdef _WIN32
  GTEST_SKIP() << "needs fork and a file-size limit";
#else
  TempDir dir;
  WriteBytes(dir / "b.htm", "earlier document");
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // The file size limit makes the disk "full" after 64 KiB.
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit = {64 * 1024, 64 * 1024};
    setrlimit(RLIMIT_FSIZE, &limit);
    const std::string failure =
        FailureOf([&] { WriteDocument(PathText(dir / "b.htm"), std::string(4 << 20, 'x')); });
    _exit(failure == "Disk full" ? 0 : 1);
  }
  int status = 0;
  ASSERT_TRUE(test::ChildEnded(child, status));
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the write did not fail with \"Disk full\"";
  EXPECT_EQ(ReadBytes(dir / "b.htm"), "earlier document");
  EXPECT_TRUE(TemporaryFilesIn(dir.path()).empty());
#endif
}

TEST(DeleteFileSafe, RemovesFilesAndReadOnlyFilesQuietly) {
  TempDir dir;
  WriteBytes(dir / "a.htm", "a");
  WriteBytes(dir / "ro.htm", "r");
  MakeReadOnly(dir / "ro.htm");
  DeleteFileSafe(PathText(dir / "a.htm"));
  DeleteFileSafe(PathText(dir / "ro.htm"));
  EXPECT_FALSE(fs::exists(dir / "a.htm"));
  EXPECT_FALSE(fs::exists(dir / "ro.htm"));
  EXPECT_NO_THROW(DeleteFileSafe(PathText(dir / "missing.htm")));
  EXPECT_NO_THROW(DeleteFileSafe(PathText(dir / "missing/x.htm")));
  EXPECT_NO_THROW(DeleteFileSafe(u""));
}

TEST(DeleteFileSafe, NeverRemovesAFolderOrTheFileBehindALink) {
#ifdef _WIN32
  GTEST_SKIP() << "needs symbolic links";
#else
  TempDir dir;
  fs::create_directory(dir / "empty.htm");
  fs::create_directory(dir / "full.htm");
  WriteBytes(dir / "full.htm/x", "x");
  WriteBytes(dir / "real.htm", "real");
  fs::create_symlink(dir / "real.htm", dir / "link.htm");

  EXPECT_NO_THROW(DeleteFileSafe(PathText(dir / "empty.htm")));
  EXPECT_NO_THROW(DeleteFileSafe(PathText(dir / "full.htm")));
  DeleteFileSafe(PathText(dir / "link.htm"));
  DeleteFileSafe(PathText(dir / "real.htm") + Text(1, u'\0'));

  EXPECT_TRUE(fs::is_directory(dir / "empty.htm"));
  EXPECT_EQ(ReadBytes(dir / "full.htm/x"), "x");
  EXPECT_FALSE(fs::exists(fs::symlink_status(dir / "link.htm")));
  EXPECT_EQ(ReadBytes(dir / "real.htm"), "real");
#endif
}

TEST(ForceDeleteFile, RemovesReadOnlyFilesAndReportsTheRest) {
  TempDir dir;
  WriteBytes(dir / "ro.htm", "r");
  MakeReadOnly(dir / "ro.htm");
  ForceDeleteFile(PathText(dir / "ro.htm"));
  EXPECT_FALSE(fs::exists(dir / "ro.htm"));

  EXPECT_EQ(FailureOf([&] { ForceDeleteFile(PathText(dir / "missing.htm")); }), "Path not found");
  fs::create_directory(dir / "sub");
  EXPECT_NE(FailureOf([&] { ForceDeleteFile(PathText(dir / "sub")); }), "<no error>");
  EXPECT_TRUE(fs::is_directory(dir / "sub"));
}

TEST(IsSameFile, ComparesTextsAndThenTheFilesThemselves) {
  TempDir dir;
  WriteBytes(dir / "a.vcf", "a");
  WriteBytes(dir / "b.vcf", "a");
  fs::create_hard_link(dir / "a.vcf", dir / "hard.vcf");
#ifndef _WIN32
  fs::create_symlink(dir / "a.vcf", dir / "soft.vcf");
  EXPECT_TRUE(IsSameFile(PathText(dir / "a.vcf"), PathText(dir / "soft.vcf")));
#endif

  EXPECT_TRUE(IsSameFile(u"/nowhere/x", u"/nowhere/x"));
  EXPECT_TRUE(IsSameFile(PathText(dir / "a.vcf"), PathText(dir / "hard.vcf")));
  EXPECT_TRUE(IsSameFile(PathText(dir / "a.vcf"), PathText(dir.path()) + u"/.//a.vcf"));
  EXPECT_FALSE(IsSameFile(PathText(dir / "a.vcf"), PathText(dir / "b.vcf")));
  EXPECT_FALSE(IsSameFile(PathText(dir / "a.vcf"), PathText(dir / "missing.vcf")));
  EXPECT_FALSE(IsSameFile(PathText(dir / "missing.vcf"), PathText(dir / "other.vcf")));
}

}  // namespace
}  // namespace brevant
