#pragma once

#include <cstdint>
#include <string_view>

namespace brevant {

// Letter case is folded for ASCII only: property names and type words are ASCII.
template <class Ch>
constexpr Ch UpperAscii(Ch c) {
  return (c >= Ch('a') && c <= Ch('z')) ? static_cast<Ch>(c - ('a' - 'A')) : c;
}

// Up to eight printable ASCII characters, upper-cased, packed into one number so
// that a name is recognised with one switch; 0 for anything else.
template <class Ch>
constexpr std::uint64_t PackUpper(std::basic_string_view<Ch> text) {
  if (text.empty() || text.size() > 8) return 0;
  std::uint64_t packed = 0;
  for (Ch c : text) {
    if (c <= Ch(0) || c > Ch(0x7E)) return 0;
    packed = packed << 8 | static_cast<std::uint8_t>(UpperAscii(c));
  }
  return packed;
}

// A name as the label of such a switch.
constexpr std::uint64_t Packed(std::string_view name) { return PackUpper(name); }

}  // namespace brevant
