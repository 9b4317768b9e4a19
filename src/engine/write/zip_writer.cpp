#include "engine/write/zip_writer.h"

#include <zlib.h>

#include <new>

#include "support/files/file_error.h"

namespace brevant {

namespace {

// The fastest level: spreadsheet text repeats so much that it still shrinks
// to a fraction, and it keeps the workbook's cost near that of the CSV file.
constexpr int kLevel = Z_BEST_SPEED;
constexpr std::uint16_t kVersion = 20;        // 2.0: deflate
constexpr std::uint16_t kSizesFollow = 0x08;  // a data descriptor after the data
constexpr std::uint16_t kDeflated = 8;
constexpr std::uint16_t kTime = 0;
constexpr std::uint16_t kDate = (0 << 9) | (1 << 5) | 1;  // 1980-01-01, the first date zip knows
constexpr char kTooLarge[] = "The spreadsheet file would be larger than 4 GB";

void Put16(std::string& out, std::uint16_t value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>(value >> 8);
}

void Put32(std::string& out, std::uint64_t value) {
  for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((value >> shift) & 0xFF);
}

std::uint32_t Crc(std::uint32_t crc, std::string_view bytes) {
  // zlib takes lengths of 32 bits.
  while (!bytes.empty()) {
    const std::size_t take = std::min<std::size_t>(bytes.size(), std::size_t{1} << 30);
    crc = static_cast<std::uint32_t>(
        crc32(crc, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(take)));
    bytes.remove_prefix(take);
  }
  return crc;
}

}  // namespace

// One raw deflate stream (no zlib header: zip has headers of its own).
class RawDeflater {
 public:
  RawDeflater() {
    if (deflateInit2(&stream_, kLevel, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
      throw std::bad_alloc();
  }
  ~RawDeflater() { deflateEnd(&stream_); }
  RawDeflater(const RawDeflater&) = delete;
  RawDeflater& operator=(const RawDeflater&) = delete;

  void reset() { deflateReset(&stream_); }

  // Compresses the bytes and hands every output buffer to `out`. `flush` is
  // Z_NO_FLUSH, Z_SYNC_FLUSH (all output so far, ending on a byte) or Z_FINISH.
  template <class Out>
  void run(std::string_view bytes, int flush, Out&& out) {
    stream_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    stream_.avail_in = 0;
    std::size_t left = bytes.size();
    for (;;) {
      if (stream_.avail_in == 0 && left > 0) {
        const std::size_t take = std::min<std::size_t>(left, std::size_t{1} << 30);
        stream_.avail_in = static_cast<uInt>(take);
        left -= take;
      }
      stream_.next_out = buffer_;
      stream_.avail_out = sizeof buffer_;
      const bool lastInput = left == 0;
      const int result = deflate(&stream_, lastInput ? flush : Z_NO_FLUSH);
      if (result == Z_STREAM_ERROR) throw std::bad_alloc();
      const std::size_t made = sizeof buffer_ - stream_.avail_out;
      if (made > 0) out(std::string_view(reinterpret_cast<const char*>(buffer_), made));
      if (!lastInput || stream_.avail_in != 0) continue;
      if (flush == Z_FINISH ? result == Z_STREAM_END : stream_.avail_out != 0) return;
    }
  }

 private:
  z_stream stream_{};
  Bytef buffer_[std::size_t{1} << 16];
};

namespace {

// Deflaters set up once and used again (reset): setting one up costs more than
// deflating the sheet of a one-contact workbook.
thread_local std::vector<std::unique_ptr<RawDeflater>> spareDeflaters;

std::unique_ptr<RawDeflater> TakeDeflater() {
  if (spareDeflaters.empty()) return std::make_unique<RawDeflater>();
  std::unique_ptr<RawDeflater> deflater = std::move(spareDeflaters.back());
  spareDeflaters.pop_back();
  deflater->reset();
  return deflater;
}

void GiveBack(std::unique_ptr<RawDeflater>& deflater) {
  if (deflater && spareDeflaters.size() < 4) spareDeflaters.push_back(std::move(deflater));
  deflater.reset();
}

// The CRC-32 of two texts one after the other, from theirs: the first's moved
// past the second's length (zlib takes lengths of 31 bits), then joined.
std::uint32_t JoinedCrc(std::uint32_t first, std::uint32_t second, std::uint64_t secondSize) {
  uLong crc = first;
  for (std::uint64_t left = secondSize; left > 0;) {
    const std::uint64_t step = std::min<std::uint64_t>(left, std::uint64_t{1} << 30);
    crc = crc32_combine(crc, 0, static_cast<z_off_t>(step));
    left -= step;
  }
  return static_cast<std::uint32_t>(crc ^ second);
}

}  // namespace

DeflatedText::DeflatedText() = default;
DeflatedText::~DeflatedText() { GiveBack(deflater_); }

DeflatedText DeflatedText::Stored(std::string_view content) {
  DeflatedText text;
  text.crc_ = Crc(0, content);
  text.size_ = content.size();
  // A stored block, not the last: its header bits (0, 00) in a byte, then the
  // length and its complement, then the bytes.
  const auto length = static_cast<std::uint16_t>(content.size());
  text.data_ = {'\0', static_cast<char>(length & 0xFF), static_cast<char>(length >> 8),
                static_cast<char>(~length & 0xFF), static_cast<char>((~length >> 8) & 0xFF)};
  text.data_ += content;
  return text;
}
DeflatedText::DeflatedText(DeflatedText&&) noexcept = default;
DeflatedText& DeflatedText::operator=(DeflatedText&&) noexcept = default;

void DeflatedText::write(std::string_view text) {
  crc_ = Crc(crc_, text);
  size_ += text.size();
  if (!deflater_) deflater_ = TakeDeflater();
  deflater_->run(text, Z_NO_FLUSH, [this](std::string_view bytes) { data_ += bytes; });
}

void DeflatedText::finish() {
  if (!deflater_) deflater_ = TakeDeflater();
  deflater_->run({}, Z_FINISH, [this](std::string_view bytes) { data_ += bytes; });
  GiveBack(deflater_);
}

void DeflatedText::flush() {
  if (!deflater_) deflater_ = TakeDeflater();
  deflater_->run({}, Z_SYNC_FLUSH, [this](std::string_view bytes) { data_ += bytes; });
  GiveBack(deflater_);
}

DeflatedText Deflated(std::string_view content, bool last) {
  DeflatedText text;
  text.write(content);
  if (last) {
    text.finish();
  } else {
    text.flush();
  }
  return text;
}

ZipWriter::ZipWriter(DocumentOutput& output, std::uint64_t mostBytes)
    : output_(output), mostBytes_(mostBytes) {}

ZipWriter::~ZipWriter() { GiveBack(deflater_); }

void ZipWriter::put(std::string_view bytes) {
  if (written_ + bytes.size() > mostBytes_) throw FileError(kTooLarge);
  output_.write(bytes);
  written_ += bytes.size();
}

void ZipWriter::putLocalHeader(const Entry& entry) {
  std::string header;
  Put32(header, 0x04034B50);
  Put16(header, kVersion);
  Put16(header, entry.sizesFollow ? kSizesFollow : 0);
  Put16(header, kDeflated);
  Put16(header, kTime);
  Put16(header, kDate);
  Put32(header, entry.crc);
  Put32(header, entry.compressed);
  Put32(header, entry.size);
  Put16(header, static_cast<std::uint16_t>(entry.name.size()));
  Put16(header, 0);  // no extra field
  header += entry.name;
  put(header);
}

void ZipWriter::add(std::string_view name, const std::vector<const DeflatedText*>& streams) {
  Entry entry{std::string(name), 0, 0, 0, written_, false};
  for (const DeflatedText* stream : streams) {
    entry.crc = JoinedCrc(entry.crc, stream->crc(), stream->size());
    entry.compressed += stream->data().size();
    entry.size += stream->size();
  }
  if (entry.size > mostBytes_) throw FileError(kTooLarge);
  putLocalHeader(entry);
  for (const DeflatedText* stream : streams) put(stream->data());
  entries_.push_back(std::move(entry));
}

void ZipWriter::beginEntry(std::string_view name) {
  streamed_ = {std::string(name), 0, 0, 0, written_, true};
  putLocalHeader(streamed_);
  streamedDataStart_ = written_;
  if (deflater_) {
    deflater_->reset();
  } else {
    deflater_ = TakeDeflater();
  }
}

void ZipWriter::deflateInto(std::string_view bytes, bool finish) {
  deflater_->run(bytes, finish ? Z_FINISH : Z_NO_FLUSH, [this](std::string_view out) { put(out); });
}

void ZipWriter::write(std::string_view bytes) {
  if (bytes.empty()) return;
  streamed_.crc = Crc(streamed_.crc, bytes);
  streamed_.size += bytes.size();
  if (streamed_.size > mostBytes_) throw FileError(kTooLarge);
  deflateInto(bytes, false);
}

void ZipWriter::endEntry() {
  deflateInto({}, true);
  streamed_.compressed = written_ - streamedDataStart_;
  std::string descriptor;
  Put32(descriptor, 0x08074B50);
  Put32(descriptor, streamed_.crc);
  Put32(descriptor, streamed_.compressed);
  Put32(descriptor, streamed_.size);
  put(descriptor);
  entries_.push_back(std::move(streamed_));
}

void ZipWriter::finish() {
  const std::uint64_t start = written_;
  std::string directory;
  for (const Entry& entry : entries_) {
    Put32(directory, 0x02014B50);
    Put16(directory, kVersion);  // made by: 2.0, MS-DOS attributes, whatever the system
    Put16(directory, kVersion);
    Put16(directory, entry.sizesFollow ? kSizesFollow : 0);
    Put16(directory, kDeflated);
    Put16(directory, kTime);
    Put16(directory, kDate);
    Put32(directory, entry.crc);
    Put32(directory, entry.compressed);
    Put32(directory, entry.size);
    Put16(directory, static_cast<std::uint16_t>(entry.name.size()));
    Put16(directory, 0);  // extra field
    Put16(directory, 0);  // comment
    Put16(directory, 0);  // disk
    Put16(directory, 0);  // internal attributes
    Put32(directory, 0);  // external attributes
    Put32(directory, entry.offset);
    directory += entry.name;
  }
  put(directory);
  std::string end;
  Put32(end, 0x06054B50);
  Put16(end, 0);
  Put16(end, 0);
  Put16(end, static_cast<std::uint16_t>(entries_.size()));
  Put16(end, static_cast<std::uint16_t>(entries_.size()));
  Put32(end, directory.size());
  Put32(end, start);
  Put16(end, 0);  // no comment
  put(end);
}

}  // namespace brevant
