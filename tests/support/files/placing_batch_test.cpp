// A run's groups placed in batches, and the groups a killed batch left half
// placed put right by a later run: every group the whole earlier one, the
// whole new one, or absent, and no hidden name left.
#include "support/files/placing_batch.h"

#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <fcntl.h>
#include <chrono>
#include <filesystem>
#include <map>

#include "support/files/atomic_file.h"
#include "support/files/write_session.h"
#include "support/text/utf8.h"
#include "test_support/temp_dir.h"
#include "test_support/temporary_files.h"

namespace fs = std::filesystem;

namespace brevant {
namespace {

using test::ReadBytes;
using test::WriteBytes;

// What a kill can leave of a group of c.htm and c.csv: each file standing
// ("new" at its name and its staged name, or "new" at its name and the
// earlier one kept), not yet placed (staged beside the earlier one or
// nothing), or on its way back.
struct HalfPlaced {
  const char* name;
  std::map<std::string, std::string> files;  // name to content; "=NAME" a link to that name's file
  std::map<std::string, std::string> after;  // what the folder holds after a later run
  bool batchAtWork = false;                  // a batch holds the folder
};

TEST(PlacingBatch, ALaterRunPutsRightWhatAKilledBatchLeft) {
  if (!PlacingBatch::Available()) GTEST_SKIP() << "files are placed one group at a time here";
  const std::string n = ".c.htm.brevant-abcdeN", k = ".c.htm.brevant-abcdeK";
  const std::string cn = ".c.csv.brevant-abcdeN", ck = ".c.csv.brevant-abcdeK";
  const HalfPlaced cases[] = {
      {"over earlier files, the document placed, its CSV file not",
       {{"c.htm", "new htm"}, {k, "old htm"}, {"c.csv", "old csv"}, {ck, "=c.csv"}, {cn, "new csv"}},
       {{"c.htm", "old htm"}, {"c.csv", "old csv"}}},
      {"over earlier files, both placed",
       {{"c.htm", "new htm"}, {k, "old htm"}, {"c.csv", "new csv"}, {ck, "old csv"}},
       {{"c.htm", "new htm"}, {"c.csv", "new csv"}}},
      {"into an empty folder, the document linked in, its CSV file not",
       {{"c.htm", "new htm"}, {n, "=c.htm"}, {cn, "new csv"}},
       {}},
      {"into an empty folder, both linked in",
       {{"c.htm", "new htm"}, {n, "=c.htm"}, {"c.csv", "new csv"}, {cn, "=c.csv"}},
       {{"c.htm", "new htm"}, {"c.csv", "new csv"}}},
      {"named in the group, nothing placed",
       {{"c.htm", "old htm"}, {n, "new htm"}, {"c.csv", "old csv"}, {cn, "new csv"}},
       {{"c.htm", "old htm"}, {"c.csv", "old csv"}}},
      {"half put back: the document's staged name gone, its earlier one still kept",
       {{"c.htm", "new htm"}, {k, "old htm"}, {cn, "new csv"}},
       {{"c.htm", "old htm"}}},
      {"the hidden names half gone after the group stood",
       {{"c.htm", "new htm"}, {"c.csv", "new csv"}, {ck, "old csv"}},
       {{"c.htm", "new htm"}, {"c.csv", "new csv"}}},
      {"a batch at work holds the folder",
       {{"c.htm", "new htm"}, {k, "old htm"}, {"c.csv", "old csv"}, {cn, "new csv"}},
       {{"c.htm", "new htm"}, {k, "old htm"}, {"c.csv", "old csv"}, {cn, "new csv"}},
       true},
  };
  for (const HalfPlaced& c : cases) {
    SCOPED_TRACE(c.name);
    test::TempDir dir;
    for (const auto& [name, content] : c.files) {
      if (!content.starts_with("=")) WriteBytes(dir / name, content);
    }
    for (const auto& [name, content] : c.files) {
      if (content.starts_with("=")) fs::create_hard_link(dir / content.substr(1), dir / name);
    }
    const int held = open(dir.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(held, 0);
    if (c.batchAtWork) {
      ASSERT_EQ(flock(held, LOCK_SH), 0);
    }
    // A later run, at once: a killed batch holds nothing.
    RemoveStaleTemporaryFiles(dir.path().string() + "/", std::chrono::system_clock::now());
    close(held);
    std::map<std::string, std::string> after;
    for (const auto& entry : fs::directory_iterator(dir.path()))
      after[entry.path().filename().string()] = ReadBytes(entry.path());
    EXPECT_EQ(after, c.after);
  }
}

// Groups handed to a session go in place with its batch: nothing of them is
// seen before, each whole after, and a group that fails is taken back out,
// its earlier files standing.
TEST(PlacingBatch, GroupsArePlacedWholeWhenTheBatchIs) {
  if (!PlacingBatch::Available()) GTEST_SKIP() << "files are placed one group at a time here";
  test::TempDir dir;
  WriteBytes(dir / "a.htm", "old a.htm");
  WriteBytes(dir / "a.csv", "old a.csv");
  std::vector<std::pair<std::size_t, int>> failures;
  {
    WriteSession session;
    for (const char* stem : {"a", "b", "c"}) {
      AtomicFileWriter document(FromUtf8((dir / (std::string(stem) + ".htm")).string()),
                                ExistingTarget::Replace);
      AtomicFileWriter csv(FromUtf8((dir / (std::string(stem) + ".csv")).string()), ExistingTarget::Replace);
      document.write(std::string("new ") + stem + ".htm");
      csv.write(std::string("new ") + stem + ".csv");
      AtomicFileWriter* const group[] = {&document, &csv};
      CommitTogether(group,
                     [&failures](std::size_t index, int error) { failures.emplace_back(index, error); });
    }
    EXPECT_EQ(ReadBytes(dir / "a.htm"), "old a.htm");
    EXPECT_FALSE(fs::exists(dir / "c.htm"));
    fs::create_directory(dir / "b.csv");  // meanwhile: b's CSV file cannot be placed, nor its group
    EXPECT_TRUE(session.finish().empty());
  }
  EXPECT_EQ(failures, (std::vector<std::pair<std::size_t, int>>{{1, EISDIR}}));
  EXPECT_EQ(ReadBytes(dir / "a.htm"), "new a.htm");
  EXPECT_EQ(ReadBytes(dir / "a.csv"), "new a.csv");
  EXPECT_FALSE(fs::exists(dir / "b.htm"));
  EXPECT_TRUE(fs::is_directory(dir / "b.csv"));
  EXPECT_EQ(ReadBytes(dir / "c.htm"), "new c.htm");
  EXPECT_EQ(ReadBytes(dir / "c.csv"), "new c.csv");
  EXPECT_TRUE(test::TemporaryFilesIn(dir.path()).empty());
}

}  // namespace
}  // namespace brevant
