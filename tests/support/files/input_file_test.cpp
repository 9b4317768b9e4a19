#include "support/files/input_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <chrono>
#include <fstream>
#include <string>
#include <thread>

#include "support/files/file_error.h"
#include "test_support/child_process.h"
#include "test_support/temp_dir.h"
#include "test_support/test_texts.h"

namespace brevant {
namespace {

using test::PathText;
using test::TempDir;

std::string_view BytesOf(const FileContent& content) {
  return {reinterpret_cast<const char*>(content.storage.get()), content.size};
}

TEST(ReadFileContent, FilesAreReadWholeAndTellMissingAndEmpty) {
  TempDir dir;
  test::WriteBytes(dir / "a.vcf", "FN:Ann\r\n");
  test::WriteBytes(dir / "empty.vcf", "");
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
  test::WriteBytes(dir / "file.vcf", "FN:Ann\r\n");
  const auto fifo = dir / "pipe.vcf";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  // Larger than the first room, with no two blocks alike, so that growing the room loses nothing.
  std::string bytes;
  for (int i = 0; bytes.size() < (std::size_t{5} << 20); ++i) bytes += "NOTE:" + std::to_string(i) + "\r\n";
  const auto kindName = [](FileContent::Kind kind) {
    return kind == FileContent::Kind::Bytes   ? "bytes"
           : kind == FileContent::Kind::Empty ? "empty"
                                              : "missing";
  };
  // Apart and with a bound: a reader that does not wait for the pipe's writer
  // leaves the writer waiting for ever, and fails here alone.
  std::string seen;
  ASSERT_TRUE(test::ResultInChild(
      [&] {
        std::thread writer([&] { std::ofstream(fifo, std::ios::binary) << bytes; });
        const FileContent piped = ReadFileContent(PathText(fifo));
        writer.join();
        std::string seen = std::string("pipe: ") + kindName(piped.kind) + ", " +
                           (BytesOf(piped) == bytes ? "all " : "") + std::to_string(piped.size) + " bytes" +
                           (piped.readOnce ? ", read once" : "") + "\n";
        seen += ReadFileContent(PathText(fifo.parent_path() / "file.vcf")).readOnce ? "file: read once\n"
                                                                                    : "file: read again\n";
        // A writer that closes at once: the pipe gave nothing.
        std::thread closer([&] { std::ofstream(fifo, std::ios::binary).close(); });
        seen += std::string("closed pipe: ") + kindName(ReadFileContent(PathText(fifo)).kind) + "\n";
        closer.join();
        // A device other than a terminal is refused (PipesAreBoundedAndDevicesOtherThanTerminalsRefused).
        try {
          seen += std::string("/dev/null: ") + kindName(ReadFileContent(u"/dev/null").kind) + "\n";
        } catch (const FileError&) {
          seen += "/dev/null: refused\n";
        }
        return seen;
      },
      seen));
  EXPECT_EQ(seen, "pipe: bytes, all " + std::to_string(bytes.size()) +
                      " bytes, read once\nfile: read again\nclosed pipe: empty\n/dev/null: refused\n");
#endif
}

// What has no length of its own is bounded: a pipe that gives more than the
// bound fails the read, naming the bound; a device that is neither a pipe nor a
// terminal is refused before it is read (one that never ends would take all the
// memory there is); a terminal is read to the end its user gives.
TEST(ReadFileContent, PipesAreBoundedAndDevicesOtherThanTerminalsRefused) {
#ifdef _WIN32
  GTEST_SKIP() << "FIFOs, devices and terminals are POSIX; the standard input is checked through the tool";
#else
  TempDir dir;
  const auto fifo = dir / "pipe.vcf";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  // A writer whose reader stopped gets a failed write, not the end of the program.
  const auto previous = signal(SIGPIPE, SIG_IGN);
  const struct {
    std::uint64_t most;
    std::size_t given;
    const char* failure;  // "" when read whole
  } pipes[] = {
      {3 << 20, 5 << 20, "Input too long: a pipe or terminal is read up to 3 MB, and this one gave more"},
      {100000, 100001,
       "Input too long: a pipe or terminal is read up to 100000 bytes, and this one gave more"},
      {100000, 100000, ""},
      {4 << 20, 4 << 20, ""},
  };
  // Apart and with a bound, as a pipe whose reader fails to come leaves its writer waiting.
  std::string seen;
  ASSERT_TRUE(test::ResultInChild(
      [&] {
        std::string seen;
        for (const auto& p : pipes) {
          // The writer may find the reader gone: it stops at the first failed write.
          std::thread writer([&] {
            std::ofstream out(fifo, std::ios::binary);
            const std::string block(4096, 'x');
            for (std::size_t sent = 0; sent < p.given && out; sent += block.size())
              out.write(block.data(), static_cast<std::streamsize>(std::min(block.size(), p.given - sent)));
          });
          try {
            seen += std::to_string(ReadFileContent(PathText(fifo), {.mostStreamBytes = p.most}).size) + "\n";
          } catch (const FileError& error) {
            seen += error.description() + "\n";
          }
          writer.join();
        }
        return seen;
      },
      seen));
  signal(SIGPIPE, previous);
  std::string expected;
  for (const auto& p : pipes)
    expected += (*p.failure != '\0' ? std::string(p.failure) : std::to_string(p.given)) + "\n";
  EXPECT_EQ(seen, expected);

  for (const char16_t* device : {u"/dev/zero", u"/dev/urandom", u"/dev/null"}) {
    EXPECT_THAT([&] { ReadFileContent(device); },
                ::testing::ThrowsMessage<FileError>(::testing::StrEq(kDeviceIsNoInput)));
  }

  // A terminal: the line typed, then Ctrl+D at the start of the next.
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_GE(master, 0);
  ASSERT_EQ(grantpt(master), 0);
  ASSERT_EQ(unlockpt(master), 0);
  const std::string terminal = ptsname(master);
  std::thread typist([master] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(write(master, "FN:Ann\n\x04", 8), 8);
  });
  const FileContent typed = ReadFileContent(PathText(terminal));
  typist.join();
  close(master);
  EXPECT_EQ(BytesOf(typed), "FN:Ann\n");
  EXPECT_TRUE(typed.readOnce);
#endif
}

// However large the file, its reader gets turns between pieces (and may end the
// read in one); a length known beforehand is only where reading starts.
TEST(ReadFileContent, LongReadsGiveTurnsAndKnownLengthsAreReadToTheEnd) {
  TempDir dir;
  std::string large;
  for (int i = 0; large.size() < (std::size_t{20} << 20); ++i) large += "NOTE:" + std::to_string(i) + "\r\n";
  test::WriteBytes(dir / "large.vcf", large);
  int turns = 0;
  const FileContent read =
      ReadFileContent(PathText(dir / "large.vcf"), {.betweenPieces = [&turns] { ++turns; }});
  EXPECT_TRUE(BytesOf(read) == large);
  EXPECT_GE(turns, 2);
  struct Ended {};
  EXPECT_THROW(ReadFileContent(PathText(dir / "large.vcf"), {.betweenPieces = [] { throw Ended{}; }}), Ended);

  test::WriteBytes(dir / "a.vcf", "FN:Ann\r\n");
  const struct {
    const char* name;
    std::uint64_t knownSize;
    FileContent::Kind kind;
    std::string_view bytes;
  } cases[] = {
      {"a.vcf", 8, FileContent::Kind::Bytes, "FN:Ann\r\n"},     // as it was
      {"a.vcf", 3, FileContent::Kind::Bytes, "FN:Ann\r\n"},     // grew since
      {"a.vcf", 4000, FileContent::Kind::Bytes, "FN:Ann\r\n"},  // shrank since
      {"gone.vcf", 8, FileContent::Kind::Missing, ""},          // removed since
      {"large.vcf", 1, FileContent::Kind::Bytes, large},        // grew far
  };
  for (const auto& c : cases) {
    const FileContent content = ReadFileContent(PathText(dir / c.name), {.knownSize = c.knownSize});
    EXPECT_EQ(content.kind, c.kind) << c.name << " " << c.knownSize;
    EXPECT_TRUE(BytesOf(content) == c.bytes) << c.name << " " << c.knownSize;
  }
}

}  // namespace
}  // namespace brevant
