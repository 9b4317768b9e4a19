#include "engine/text/base64.h"

#include <array>
#include <cstdint>

namespace brevant {

namespace {

constexpr int kBlank = -2;
constexpr int kOther = -1;

constexpr std::array<signed char, 256> MakeDigits() {
  std::array<signed char, 256> digits{};
  for (auto& digit : digits) digit = kOther;
  for (int c = 'A'; c <= 'Z'; ++c) digits[c] = static_cast<signed char>(c - 'A');
  for (int c = 'a'; c <= 'z'; ++c) digits[c] = static_cast<signed char>(c - 'a' + 26);
  for (int c = '0'; c <= '9'; ++c) digits[c] = static_cast<signed char>(c - '0' + 52);
  digits['+'] = 62;
  digits['/'] = 63;
  for (const char blank : {' ', '\t', '\r', '\n'}) digits[static_cast<unsigned char>(blank)] = kBlank;
  return digits;
}
constexpr std::array<signed char, 256> kDigits = MakeDigits();

int DigitOf(char c) { return kDigits[static_cast<unsigned char>(c)]; }

}  // namespace

Base64Scan ScanBase64(std::string_view text) {
  std::uint64_t digits = 0;
  std::size_t padding = 0;
  for (const char c : text) {
    const int digit = DigitOf(c);
    if (digit >= 0 && padding == 0) {
      ++digits;
    } else if (c == '=' && padding < 2) {
      ++padding;
    } else if (digit != kBlank) {
      return {};
    }
  }
  // A last group of one character stands for no whole byte.
  if (digits == 0 || digits % 4 == 1) return {};
  return {true, digits / 4 * 3 + (digits % 4 == 0 ? 0 : digits % 4 - 1)};
}

std::string DecodeBase64Start(std::string_view text, std::size_t count) {
  std::string bytes;
  std::uint32_t bits = 0;
  int held = 0;
  for (std::size_t i = 0; i < text.size() && bytes.size() < count; ++i) {
    const int digit = DigitOf(text[i]);
    if (digit == kBlank) continue;
    if (digit < 0) break;
    bits = bits << 6 | static_cast<std::uint32_t>(digit);
    held += 6;
    if (held >= 8) {
      held -= 8;
      bytes += static_cast<char>(bits >> held & 0xFF);
    }
  }
  return bytes;
}

std::string DecodeBase64End(std::string_view text, const Base64Scan& scan, std::size_t count) {
  // The characters of the last groups, from the start of a group (or of the
  // text): the last group holds 2, 3 or 4 of them, each earlier one 4.
  const std::size_t lastGroup = scan.decodedBytes % 3 == 0 ? 4 : scan.decodedBytes % 3 + 1;
  const std::size_t wanted = lastGroup + (count + 2) / 3 * 4;
  std::string tail(wanted, '\0');
  std::size_t start = wanted;  // filled from the end
  for (std::size_t i = text.size(); i > 0 && start > 0; --i) {
    if (DigitOf(text[i - 1]) >= 0) tail[--start] = text[i - 1];
  }
  std::string bytes = DecodeBase64Start(std::string_view(tail).substr(start), SIZE_MAX);
  if (bytes.size() > count) bytes.erase(0, bytes.size() - count);
  return bytes;
}

std::size_t Base64PieceEnd(std::string_view text, std::size_t from, std::size_t most) {
  most -= most % 4;
  std::size_t taken = 0;
  std::size_t i = from;
  for (; i < text.size() && taken < most; ++i) {
    if (DigitOf(text[i]) != kBlank) ++taken;
  }
  return i;
}

void AppendBase64Characters(std::string& out, std::string_view text) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const int digit = DigitOf(text[i]);
    if (digit >= 0 || text[i] == '=') continue;
    out.append(text.substr(start, i - start));  // a blank, or what is no base64 at all, goes
    start = i + 1;
  }
  out.append(text.substr(start));
}

}  // namespace brevant
