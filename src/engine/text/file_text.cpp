#include "engine/text/file_text.h"

#include <cstdint>
#include <cstring>

#include "support/text/ansi_code_page.h"

namespace brevant {

namespace {

constexpr char kEmptyFileText[] = "empty file";

// Two bytes a character, in place. An odd last byte is dropped.
std::size_t DecodeUtf16InPlace(char16_t* storage, std::size_t bytes, bool bigEndian) {
  auto* raw = reinterpret_cast<unsigned char*>(storage);
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

enum class Encoding { Ansi, Utf16LittleEndian, Utf16BigEndian, Utf32LittleEndian, Utf32BigEndian };

struct UnitForm {
  Encoding encoding;
  std::size_t unit;   // bytes a character
  std::size_t ascii;  // where in its unit an ASCII character's byte stands; the others are 0
};
constexpr UnitForm kUnitForms[] = {{Encoding::Utf32LittleEndian, 4, 0},
                                   {Encoding::Utf32BigEndian, 4, 3},
                                   {Encoding::Utf16LittleEndian, 2, 0},
                                   {Encoding::Utf16BigEndian, 2, 1}};

// How far into a file without a byte-order mark its first BEGIN:VCARD is looked for.
constexpr std::size_t kProbeBytes = 4096;

bool IsBeginVcardAt(std::string_view bytes, std::size_t at, const UnitForm& form) {
  constexpr std::string_view kBegin = "BEGIN:VCARD";
  if (at + kBegin.size() * form.unit > bytes.size()) return false;
  for (std::size_t i = 0; i < kBegin.size(); ++i) {
    for (std::size_t b = 0; b < form.unit; ++b) {
      char byte = bytes[at + i * form.unit + b];
      if (b != form.ascii) {
        if (byte != 0) return false;
        continue;
      }
      if (byte >= 'a' && byte <= 'z') byte = static_cast<char>(byte - 'a' + 'A');
      if (byte != kBegin[i]) return false;
    }
  }
  return true;
}

// UTF-16 or UTF-32 without a byte-order mark, told by a BEGIN:VCARD (in any
// letter case) in one of them near the start. Text in the ANSI code page holds
// no zero byte there, and is not looked at further.
Encoding EncodingWithoutMark(std::string_view bytes) {
  const std::string_view probe = bytes.substr(0, kProbeBytes);
  if (probe.find('\0') == std::string_view::npos) return Encoding::Ansi;
  for (const UnitForm& form : kUnitForms) {
    for (std::size_t at = 0; at < probe.size(); at += form.unit) {
      if (IsBeginVcardAt(probe, at, form)) return form.encoding;
    }
  }
  return Encoding::Ansi;
}

Encoding EncodingOf(std::string_view bytes) {
  if (bytes.empty()) return Encoding::Ansi;
  if (bytes.starts_with(std::string_view("\xFF\xFE\0\0", 4))) return Encoding::Utf32LittleEndian;
  if (bytes.starts_with(std::string_view("\0\0\xFE\xFF", 4))) return Encoding::Utf32BigEndian;
  if (bytes.starts_with("\xFE\xFF")) return Encoding::Utf16BigEndian;
  const auto first = static_cast<unsigned char>(bytes.front());
  if (first == 0xFF || first == 0xFE) return Encoding::Utf16LittleEndian;
  return EncodingWithoutMark(bytes);
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
  if (encoding == Encoding::Utf16LittleEndian || encoding == Encoding::Utf16BigEndian) {
    input.size_ = DecodeUtf16InPlace(input.storage_.get(), input.size_, encoding == Encoding::Utf16BigEndian);
  } else if (encoding != Encoding::Ansi) {
    input.size_ = DecodeUtf32InPlace(input.storage_.get(), input.size_, encoding == Encoding::Utf32BigEndian);
  }
  return input;
}

}  // namespace brevant
