#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/write/document_output.h"

namespace brevant {

class RawDeflater;  // zlib's stream

// Text deflated as it comes, kept compressed in memory until it goes into an
// archive: for an entry written while another one streams into the file.
class DeflatedText {
 public:
  DeflatedText();
  // A short text as it is (a stored block), which a further stream may follow.
  static DeflatedText Stored(std::string_view content);
  ~DeflatedText();
  DeflatedText(DeflatedText&&) noexcept;
  DeflatedText& operator=(DeflatedText&&) noexcept;

  void write(std::string_view text);
  // Ends the stream, the last of its entry.
  void finish();
  // Ends the stream so that a further one may follow it in the same entry:
  // its blocks end on a byte, none marked last.
  void flush();

  const std::string& data() const { return data_; }  // raw deflate
  std::uint32_t crc() const { return crc_; }
  std::uint64_t size() const { return size_; }  // before compression

 private:
  std::unique_ptr<RawDeflater> deflater_;
  std::string data_;
  std::uint32_t crc_ = 0;
  std::uint64_t size_ = 0;
};

// A whole text deflated at once; `last`: nothing follows it (see DeflatedText::finish).
DeflatedText Deflated(std::string_view content, bool last = true);

// Writes a zip archive into a document's output as it goes: every entry
// deflated, one of them streamed (its sizes and CRC-32 follow its data). Every
// entry carries the same fixed date (1980-01-01), so the same parts make the
// same bytes on every system and at every time. An archive holds at most 4 GB,
// what its sizes and offsets of 32 bits can say: past that, writing throws
// FileError and nothing more is written.
inline constexpr std::uint64_t kZipMostBytes = 0xFFFFFFFF;

class ZipWriter {
 public:
  // `mostBytes`: the most that the archive, and the content of one entry, may
  // hold (less only in tests, which reach the limit without writing 4 GB).
  explicit ZipWriter(DocumentOutput& output, std::uint64_t mostBytes = kZipMostBytes);
  ~ZipWriter();
  ZipWriter(const ZipWriter&) = delete;
  ZipWriter& operator=(const ZipWriter&) = delete;

  // An entry of deflate streams that follow one another, the last finished.
  void add(std::string_view name, const std::vector<const DeflatedText*>& streams);

  // An entry whose content is given a piece at a time.
  void beginEntry(std::string_view name);
  void write(std::string_view bytes);
  void endEntry();

  // Writes the archive's directory; the output is then complete.
  void finish();

 private:
  struct Entry {
    std::string name;
    std::uint32_t crc;
    std::uint64_t compressed;
    std::uint64_t size;
    std::uint64_t offset;
    bool sizesFollow;
  };
  void put(std::string_view bytes);
  void putLocalHeader(const Entry& entry);
  // Deflates the bytes into the output; `finish` ends the entry's stream.
  void deflateInto(std::string_view bytes, bool finish);

  DocumentOutput& output_;
  std::uint64_t mostBytes_;
  std::uint64_t written_ = 0;
  std::vector<Entry> entries_;
  std::unique_ptr<RawDeflater> deflater_;
  Entry streamed_{};
  std::uint64_t streamedDataStart_ = 0;
};

}  // namespace brevant
