#include "engine/scan/captions.h"

#include <charconv>

namespace brevant {

void AppendCaptionText(std::string& out, CaptionKey key) {
  out += CaptionName(key.caption);
  if (key.number >= 2) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, key.number).ptr;
    out += ' ';
    out.append(digits, end);
  }
}

}  // namespace brevant
