#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/write/document_output.h"

namespace brevant {

// A part made and compressed once, to go into any number of archives.
struct DeflatedPart {
  std::string name;
  std::string data;  // raw deflate
  std::uint32_t crc = 0;
  std::uint64_t size = 0;  // before compression
};
DeflatedPart DeflatePart(std::string_view name, std::string_view content);

class RawDeflater;  // zlib's stream, set up once a writer and reset for every entry

// Writes a zip archive into a document's output as it goes: every entry
// deflated, one of them streamed (its sizes and CRC-32 follow its data). Every
// entry carries the same fixed date (1980-01-01), so the same parts make the
// same bytes on every system and at every time. An archive holds at most 4 GB:
// past that, writing throws FileError and nothing more is written.
class ZipWriter {
 public:
  explicit ZipWriter(DocumentOutput& output);
  ~ZipWriter();
  ZipWriter(const ZipWriter&) = delete;
  ZipWriter& operator=(const ZipWriter&) = delete;

  void add(const DeflatedPart& part);

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
  std::uint64_t written_ = 0;
  std::vector<Entry> entries_;
  std::unique_ptr<RawDeflater> deflater_;
  Entry streamed_{};
  std::uint64_t streamedDataStart_ = 0;
};

}  // namespace brevant
