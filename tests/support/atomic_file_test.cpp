#include "support/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <stdexcept>

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

constexpr std::size_t kMiB = std::size_t{1} << 20;

// Sets the umask for one test and puts the old one back.
class ScopedUmask {
 public:
  explicit ScopedUmask(mode_t mask) : old_(umask(mask)) {}
  ~ScopedUmask() { umask(old_); }

 private:
  mode_t old_;
};

TEST(AtomicFileWriter, SmallDocumentsTouchTheDiskOnlyOnCommit) {
  TempDir dir;
  WriteBytes(dir / "b.htm", "earlier");
  AtomicFileWriter writer(T(dir / "b.htm"));
  writer.write("<html>");
  writer.write("</html>");
  EXPECT_TRUE(TemporaryFilesIn(dir.path()).empty());
  EXPECT_EQ(ReadBytes(dir / "b.htm"), "earlier");
  writer.commit();
  EXPECT_EQ(ReadBytes(dir / "b.htm"), "<html></html>");
  EXPECT_TRUE(TemporaryFilesIn(dir.path()).empty());
}

TEST(AtomicFileWriter, LargeDocumentsStreamIntoAHiddenFileBesideTheTarget) {
  TempDir dir;
  WriteBytes(dir / "b.htm", "earlier");
  std::string expected;
  AtomicFileWriter writer(T(dir / "b.htm"));
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

  const std::vector<std::string> temporary = TemporaryFilesIn(dir.path());
  ASSERT_EQ(temporary.size(), 1u);
  EXPECT_EQ(temporary[0].rfind(".b.htm.brevant-", 0), 0u) << temporary[0];
  EXPECT_EQ(ReadBytes(dir / "b.htm"), "earlier");
  writer.commit();
  EXPECT_EQ(ReadBytes(dir / "b.htm"), expected);
  EXPECT_TRUE(TemporaryFilesIn(dir.path()).empty());
}

TEST(AtomicFileWriter, UnfinishedWritesLeaveNothingBehind) {
  TempDir dir;
  WriteBytes(dir / "kept.htm", "earlier");
  {
    AtomicFileWriter dropped(T(dir / "new.htm"));
    dropped.write(std::string(3 * kMiB, 'x'));
  }
  {
    AtomicFileWriter abandoned(T(dir / "kept.htm"));
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
  TempDir dir;
  {
    ScopedUmask mask(022);
    AtomicFileWriter writer(T(dir / "a.htm"));
    writer.commit();
  }
  {
    ScopedUmask mask(027);
    AtomicFileWriter writer(T(dir / "b.htm"));
    writer.commit();
  }
  EXPECT_EQ(fs::status(dir / "a.htm").permissions(), static_cast<fs::perms>(0644));
  EXPECT_EQ(fs::status(dir / "b.htm").permissions(), static_cast<fs::perms>(0640));
  EXPECT_EQ(ReadBytes(dir / "a.htm"), "");
}

TEST(AtomicFileWriter, TargetMadeReadOnlyWhileWritingIsNotReplaced) {
  TempDir dir;
  WriteBytes(dir / "b.htm", "earlier");
  AtomicFileWriter writer(T(dir / "b.htm"));
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
