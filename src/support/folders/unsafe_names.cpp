#include "support/folders/unsafe_names.h"

#include "support/text/utf8.h"

namespace brevant {

namespace {

bool IsControl(char32_t code) { return code < 0x20 || (code >= 0x7F && code <= 0x9F); }

}  // namespace

bool HasUnsafeCharacters(TextView name) {
  for (std::size_t i = 0; i < name.size(); ++i) {
    const char16_t unit = name[i];
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < name.size() && name[i + 1] >= 0xDC00 &&
        name[i + 1] <= 0xDFFF) {
      ++i;  // a pair: one character beyond the controls
      continue;
    }
    // A lone surrogate stands for a byte that was not valid UTF-8.
    if ((unit >= 0xD800 && unit <= 0xDFFF) || IsControl(unit)) return true;
  }
  return false;
}

bool IsUsableListedName(std::string_view bytes) {
  if (!IsValidUtf8(bytes)) return false;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    if (byte < 0x20 || byte == 0x7F) return false;
    // U+0080 to U+009F: C2 80 to C2 9F.
    if (byte == 0xC2 && i + 1 < bytes.size() && static_cast<unsigned char>(bytes[i + 1]) <= 0x9F)
      return false;
  }
  return true;
}

}  // namespace brevant
