// Permission cases: the checks run as the unprivileged user, since root may
// read and write anything.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/files/file_error.h"
#include "support/files/file_helpers.h"
#include "support/unprivileged_child.h"
#include "support/text/utf8.h"
#include "test_support/temp_dir.h"
#include "test_support/temporary_files.h"
#include "test_support/test_texts.h"
#include "test_support/write_document.h"

namespace fs = std::filesystem;

namespace brevant {
namespace {

using test::ChildFolder;
using test::FailureOf;
using test::InUnprivilegedChild;
using test::PathText;
using test::ReadBytes;
using test::RunThisTestUnprivileged;
using test::TempDir;
using test::TemporaryFilesIn;
using test::WriteBytes;
using test::WriteDocument;

constexpr fs::perms kReadAndSearch = static_cast<fs::perms>(0555);

TEST(FilePermissions, WritingIntoAReadOnlyFolderIsRefused) {
  if (InUnprivilegedChild()) {
    EXPECT_EQ(FailureOf([] { WriteDocument(PathText(ChildFolder() / "b.htm"), "x"); }), "Permission denied");
    return;
  }
  TempDir dir;
  fs::create_directory(dir / "locked");
  fs::permissions(dir / "locked", kReadAndSearch);
  EXPECT_TRUE(RunThisTestUnprivileged(dir / "locked"));
  EXPECT_TRUE(fs::is_empty(dir / "locked"));
}

TEST(FilePermissions, AFileTheUserMayNotWriteIsNotReplaced) {
  // The folder lets anyone create files, so only the target's own permissions
  // stand between the user and another user's document.
  if (InUnprivilegedChild()) {
    EXPECT_EQ(FailureOf([] { WriteDocument(PathText(ChildFolder() / "theirs.htm"), "mine"); }),
              "Permission denied");
    return;
  }
  TempDir dir;
  fs::create_directory(dir / "shared");
  fs::permissions(dir / "shared", fs::perms::all);
  WriteBytes(dir / "shared/theirs.htm", "theirs");
  fs::permissions(dir / "shared/theirs.htm", static_cast<fs::perms>(0644));
  EXPECT_TRUE(RunThisTestUnprivileged(dir / "shared"));
  EXPECT_EQ(ReadBytes(dir / "shared/theirs.htm"), "theirs");
  EXPECT_TRUE(TemporaryFilesIn(dir / "shared").empty());
}

TEST(FilePermissions, DeletingInAReadOnlyFolderFailsQuietlyOrReports) {
  if (InUnprivilegedChild()) {
    const Text file = PathText(ChildFolder() / "keep.htm");
    EXPECT_NO_THROW(DeleteFileSafe(file));
    EXPECT_TRUE(FileExists(file));
    EXPECT_EQ(FailureOf([&] { ForceDeleteFile(file); }), "Permission denied");
    return;
  }
  TempDir dir;
  fs::create_directory(dir / "locked");
  WriteBytes(dir / "locked/keep.htm", "kept");
  fs::permissions(dir / "locked/keep.htm", static_cast<fs::perms>(0444));
  fs::permissions(dir / "locked", kReadAndSearch);
  EXPECT_TRUE(RunThisTestUnprivileged(dir / "locked"));
  EXPECT_EQ(ReadBytes(dir / "locked/keep.htm"), "kept");
  EXPECT_EQ(fs::status(dir / "locked/keep.htm").permissions(), static_cast<fs::perms>(0444));
}

TEST(FilePermissions, EntriesOfAClosedFolderAreNotFound) {
  if (InUnprivilegedChild()) {
    EXPECT_TRUE(FolderExists(PathText(ChildFolder())));
    EXPECT_FALSE(FileExists(PathText(ChildFolder() / "hidden.vcf")));
    EXPECT_FALSE(FolderExists(PathText(ChildFolder() / "sub")));
    return;
  }
  TempDir dir;
  fs::create_directory(dir / "closed");
  fs::create_directory(dir / "closed/sub");
  WriteBytes(dir / "closed/hidden.vcf", "x");
  fs::permissions(dir / "closed", fs::perms::owner_all);
  EXPECT_TRUE(RunThisTestUnprivileged(dir / "closed"));
}

}  // namespace
}  // namespace brevant
