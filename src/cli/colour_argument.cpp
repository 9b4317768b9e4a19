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

// The signed form the window stores (from -2147483648) and the unsigned one (to
// 4294967295) name the same 32 bits.
std::optional<Colour> FromDecimal(std::string_view text) {
  const bool negative = !text.empty() && text.front() == '-';
  const std::string_view digits = negative ? text.substr(1) : text;
  if (digits.empty()) return std::nullopt;
  const std::uint64_t limit = negative ? std::uint64_t{1} << 31 : UINT32_MAX;
  std::uint64_t value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
    if (value > limit) return std::nullopt;
  }
  if (negative) value = (std::uint64_t{1} << 32) - value;
  return static_cast<Colour>(static_cast<std::uint32_t>(value));
}

// "0x" and one to eight hexadecimal digits: the same number as the decimal form.
std::optional<Colour> FromPrefixedHex(std::string_view digits) {
  if (digits.empty() || digits.size() > 8) return std::nullopt;
  std::uint32_t value = 0;
  for (char c : digits) {
    const auto digit = HexDigit(c);
    if (!digit) return std::nullopt;
    value = value * 16 + *digit;
  }
  return static_cast<Colour>(value);
}

}  // namespace

std::optional<Colour> ParseColourArgument(std::string_view text) {
  if (!text.empty() && text.front() == '#') {
    if (text.size() != 7) return std::nullopt;
    return FromHtmlHex(text.substr(1));
  }
  if (text.starts_with("0x") || text.starts_with("0X")) return FromPrefixedHex(text.substr(2));
  return FromDecimal(text);
}

}  // namespace brevant
