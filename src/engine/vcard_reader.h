#pragma once

#include <string>
#include <vector>

#include "support/text.h"

namespace brevant {

// One copy of an input file's content. A file read in the ANSI code page keeps
// its bytes (each byte is one character); a UTF-16 file is decoded once.
struct InputText {
  bool utf16 = false;
  std::string bytes;    // when !utf16
  std::u16string chars; // when utf16, byte-order mark kept as first character
};

// The empty text for a missing file, "empty file" for a file of length zero,
// otherwise the whole content. A file that cannot be opened or read throws FileError.
InputText ReadInput(TextView path);

// The same content as characters.
Text ReadWholeFile(TextView path);

// Cuts at every line feed; an empty text gives no lines.
std::vector<TextView> CutLines(TextView text);

}  // namespace brevant

namespace brevant {

// Calls handle(line) for every line of the text, cut at every line feed, in
// order; an empty text has no lines.
template <class Ch, class Handle>
void ForEachLine(std::basic_string_view<Ch> text, Handle&& handle) {
  if (text.empty()) return;
  std::size_t start = 0;
  while (true) {
    const std::size_t feed = text.find(Ch('\n'), start);
    if (feed == std::basic_string_view<Ch>::npos) {
      handle(text.substr(start));
      return;
    }
    handle(text.substr(start, feed - start));
    start = feed + 1;
  }
}

}  // namespace brevant
