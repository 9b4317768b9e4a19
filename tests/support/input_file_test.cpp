#include "support/input_file.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <fstream>
#include <string>
#include <thread>

#include "test_support/temp_dir.h"
#include "test_support/test_texts.h"

namespace brevant {
namespace {

using testing::PathText;
using testing::TempDir;

std::string_view BytesOf(const FileContent& content) {
  return {reinterpret_cast<const char*>(content.storage.get()), content.size};
}

TEST(ReadFileContent, FilesAreReadWholeAndTellMissingAndEmpty) {
  TempDir dir;
  testing::WriteBytes(dir / "a.vcf", "FN:Ann\r\n");
  testing::WriteBytes(dir / "empty.vcf", "");
  const FileContent file = ReadFileContent(PathText(dir / "a.vcf"));
  EXPECT_EQ(file.kind, FileContent::Kind::Bytes);
  EXPECT_EQ(BytesOf(file), "FN:Ann\r\n");
  EXPECT_EQ(ReadFileContent(PathText(dir / "empty.vcf")).kind, FileContent::Kind::Empty);
  EXPECT_EQ(ReadFileContent(PathText(dir / "missing.vcf")).kind, FileContent::Kind::Missing);
  EXPECT_EQ(ReadFileContent(u"").kind, FileContent::Kind::Missing);
}

// A pipe's size is zero whatever comes through it; a device likewise.
TEST(ReadFileContent, PipesAndDevicesAreReadToTheirEnd) {
#ifdef _WIN32
  GTEST_SKIP() << "FIFOs and /dev/null are POSIX; the standard input is checked through the tool";
#else
  TempDir dir;
  const auto fifo = dir / "pipe.vcf";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  // Larger than the first room, with no two blocks alike, so that growing the room loses nothing.
  std::string bytes;
  for (int i = 0; bytes.size() < (std::size_t{5} << 20); ++i) bytes += "NOTE:" + std::to_string(i) + "\r\n";
  std::thread writer([&] { std::ofstream(fifo, std::ios::binary) << bytes; });
  const FileContent piped = ReadFileContent(PathText(fifo));
  writer.join();
  EXPECT_EQ(piped.kind, FileContent::Kind::Bytes);
  EXPECT_TRUE(BytesOf(piped) == bytes) << piped.size << " of " << bytes.size() << " bytes";

  // A writer that closes at once: the pipe gave nothing.
  std::thread closer([&] { std::ofstream(fifo, std::ios::binary).close(); });
  EXPECT_EQ(ReadFileContent(PathText(fifo)).kind, FileContent::Kind::Empty);
  closer.join();
  EXPECT_EQ(ReadFileContent(u"/dev/null").kind, FileContent::Kind::Empty);
#endif
}

}  // namespace
}  // namespace brevant
