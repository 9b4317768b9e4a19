#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "support/text/byte_search.h"
#include "support/files/input_file.h"
#include "support/text/text.h"

namespace brevant {

// One copy of an input file's content, in one buffer that is never zero-filled
// first. A file read in the ANSI code page keeps its bytes (each byte is one
// character); a UTF-16 or UTF-32 file (with a byte-order mark, or with its
// BEGIN:VCARD near the start in either byte order) is decoded in place into
// 16-bit characters.
class InputText {
 public:
  InputText() = default;
  explicit InputText(std::string_view ansi);

  bool utf16() const { return utf16_; }
  std::string_view ansi() const { return {reinterpret_cast<const char*>(storage_.get()), size_}; }
  // Byte-order mark kept as the first character.
  std::u16string_view chars() const { return {storage_.get(), size_}; }
  // Read from a pipe or device, which cannot give it a second time.
  bool readOnce() const { return readOnce_; }
  // No file stood at the path (an empty file reads as "empty file").
  bool missing() const { return storage_ == nullptr; }

 private:
  friend InputText ReadInput(TextView path, const ReadOptions& options);
  InputStorage storage_;
  std::size_t size_ = 0;  // bytes, or characters when utf16_
  bool utf16_ = false;
  bool readOnce_ = false;
};

// The empty text for a missing file, "empty file" for a file of length zero (or
// a pipe that gives nothing), otherwise the whole content, read to its end. A
// file that cannot be opened or read throws FileError.
InputText ReadInput(TextView path, const ReadOptions& options = {});

}  // namespace brevant

namespace brevant {

// Calls handle(line) for every line of the text, cut at every line feed, in
// order; an empty text has no lines.
template <class Ch, class Handle>
void ForEachLine(std::basic_string_view<Ch> text, Handle&& handle) {
  if (text.empty()) return;
  std::size_t start = 0;
  while (true) {
    std::size_t feed;
    if constexpr (std::is_same_v<Ch, char>) {
      feed = FindByte(text, '\n', start);  // lines are short: no library call per line
    } else {
      feed = text.find(Ch('\n'), start);
    }
    if (feed == std::basic_string_view<Ch>::npos) {
      handle(text.substr(start));
      return;
    }
    handle(text.substr(start, feed - start));
    start = feed + 1;
  }
}

}  // namespace brevant
