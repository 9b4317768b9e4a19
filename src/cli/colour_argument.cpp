#include "cli/colour_argument.h"

#include <cstdint>

namespace brevant {

namespace {

std::optional<std::uint32_t> HexDigit(char c) {
  if (c >= '0' && c <= '9') return static_cast<std::uint32_t>(c - '0');
  if (c >= 'a' && c <= 'f') return static_cast<std::uint32_t>(c - 'a' + 10);
  if (c >= 'A' && c <= 'F') return static_cast<std::uint32_t>(c - 'A' + 10);
  return std::nullopt;
}

std::optional<Colour> FromHtmlHex(std::string_view digits) {
  std::uint32_t rgb = 0;
  for (char c : digits) {
    const auto digit = HexDigit(c);
    if (!digit) return std::nullopt;
    rgb = rgb * 16 + *digit;
  }
  // The window system keeps red in the lowest byte: reverse the byte order.
  const std::uint32_t red = (rgb >> 16) & 0xFF;
  const std::uint32_t green = (rgb >> 8) & 0xFF;
  const std::uint32_t blue = rgb & 0xFF;
  return static_cast<Colour>(red | (green << 8) | (blue << 16));
}

std::optional<Colour> FromDecimal(std::string_view digits) {
  if (digits.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
    if (value > UINT32_MAX) return std::nullopt;
  }
  return static_cast<Colour>(static_cast<std::uint32_t>(value));
}

}  // namespace

std::optional<Colour> ParseColourArgument(std::string_view text) {
  if (!text.empty() && text.front() == '#') {
    if (text.size() != 7) return std::nullopt;
    return FromHtmlHex(text.substr(1));
  }
  return FromDecimal(text);
}

}  // namespace brevant
