#include "engine/vcard_reader.h"

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

}  // namespace

InputText::InputText(std::string_view ansi)
    : storage_(AllocateInputStorage(ansi.size())), size_(ansi.size()) {
  std::memcpy(storage_.get(), ansi.data(), ansi.size());
}

InputText ReadInput(TextView path) {
  FileContent content = ReadFileContent(path);
  if (content.kind == FileContent::Kind::Missing) return InputText();
  if (content.kind == FileContent::Kind::Empty) return InputText(kEmptyFileText);
  InputText input;
  input.storage_ = std::move(content.storage);
  input.size_ = content.size;
  const auto first = *reinterpret_cast<const unsigned char*>(input.storage_.get());
  if (first == 0xFF || first == 0xFE) {
    input.utf16_ = true;
    input.size_ = DecodeUtf16InPlace(input.storage_.get(), input.size_);
  }
  return input;
}

}  // namespace brevant
