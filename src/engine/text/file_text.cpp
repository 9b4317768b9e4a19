#include "engine/text/file_text.h"

#include <cstdint>
#include <cstring>

#include "support/ansi_code_page.h"

namespace brevant {

namespace {

constexpr char kEmptyFileText[] = "empty file";

// Two bytes a character, in place; FE FF marks big-endian, anything else is
// little-endian. An odd last byte is dropped.
std::size_t DecodeUtf16InPlace(char16_t* storage, std::size_t bytes) {
  auto* raw = reinterpret_cast<unsigned char*>(storage);
  const bool bigEndian = bytes >= 2 && raw[0] == 0xFE && raw[1] == 0xFF;
  const std::size_t count = bytes / 2;
  for (std::size_t i = 0; i < count; ++i) {
    const unsigned first = raw[2 * i];
    const unsigned second = raw[2 * i + 1];
    storage[i] = static_cast<char16_t>(bigEndian ? (first << 8 | second) : (second << 8 | first));
  }
  return count;
}

// Four bytes a code point, in place, into UTF-16 (which never takes more room):
// 00 00 FE FF marks big-endian, FF FE 00 00 little-endian. A value beyond
// Unicode, or one that UTF-16 keeps for its pairs, becomes U+FFFD; the bytes of
// an incomplete last code point are dropped.
std::size_t DecodeUtf32InPlace(char16_t* storage, std::size_t bytes, bool bigEndian) {
  const auto* raw = reinterpret_cast<const unsigned char*>(storage);
  std::size_t count = 0;
  for (std::size_t i = 0; i + 4 <= bytes; i += 4) {
    const std::uint32_t b0 = raw[i], b1 = raw[i + 1], b2 = raw[i + 2], b3 = raw[i + 3];
    std::uint32_t point =
        bigEndian ? (b0 << 24 | b1 << 16 | b2 << 8 | b3) : (b3 << 24 | b2 << 16 | b1 << 8 | b0);
    if (point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) point = 0xFFFD;
    // The characters written end no later than the code point just read.
    if (point >= 0x10000) {
      storage[count++] = static_cast<char16_t>(0xD800 + ((point - 0x10000) >> 10));
      storage[count++] = static_cast<char16_t>(0xDC00 + ((point - 0x10000) & 0x3FF));
    } else {
      storage[count++] = static_cast<char16_t>(point);
    }
  }
  return count;
}

enum class Encoding { Ansi, Utf16, Utf32LittleEndian, Utf32BigEndian };

Encoding EncodingOf(std::string_view bytes) {
  if (bytes.empty()) return Encoding::Ansi;
  if (bytes.starts_with(std::string_view("\xFF\xFE\0\0", 4))) return Encoding::Utf32LittleEndian;
  if (bytes.starts_with(std::string_view("\0\0\xFE\xFF", 4))) return Encoding::Utf32BigEndian;
  const auto first = static_cast<unsigned char>(bytes.front());
  return first == 0xFF || first == 0xFE ? Encoding::Utf16 : Encoding::Ansi;
}

}  // namespace

InputText::InputText(std::string_view ansi)
    : storage_(AllocateInputStorage(ansi.size())), size_(ansi.size()) {
  std::memcpy(storage_.get(), ansi.data(), ansi.size());
}

InputText ReadInput(TextView path, const ReadOptions& options) {
  FileContent content = ReadFileContent(path, options);
  if (content.kind == FileContent::Kind::Missing) return InputText();
  InputText input;
  if (content.kind == FileContent::Kind::Empty) input = InputText(kEmptyFileText);
  input.readOnce_ = content.readOnce;
  if (content.kind == FileContent::Kind::Empty) return input;
  input.storage_ = std::move(content.storage);
  input.size_ = content.size;
  const Encoding encoding = EncodingOf(input.ansi());
  input.utf16_ = encoding != Encoding::Ansi;
  if (encoding == Encoding::Utf16) {
    input.size_ = DecodeUtf16InPlace(input.storage_.get(), input.size_);
  } else if (encoding != Encoding::Ansi) {
    input.size_ = DecodeUtf32InPlace(input.storage_.get(), input.size_, encoding == Encoding::Utf32BigEndian);
  }
  return input;
}

}  // namespace brevant
