#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace brevant {

// Eight bytes of a text looked at as one 64-bit word, for the scans that run
// over every byte of a value: a few arithmetic steps say whether any of the
// eight needs a closer look, without a call or a branch per byte. Each test
// gives a word that is zero exactly when no byte of the eight is of its kind
// (which bits are set besides is not to be relied on).
namespace byte_words {
inline constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
inline constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

inline std::uint64_t Load(const char* p) {
  std::uint64_t eight;
  std::memcpy(&eight, p, sizeof eight);
  return eight;
}

// Some byte is zero.
constexpr std::uint64_t ZeroByte(std::uint64_t eight) { return (eight - kOnes) & ~eight & kHighBits; }

// Some byte is `byte`.
constexpr std::uint64_t Byte(std::uint64_t eight, char byte) {
  return ZeroByte(eight ^ (static_cast<unsigned char>(byte) * kOnes));
}

// Some byte lies beyond ASCII (0x80 and above).
constexpr std::uint64_t HighByte(std::uint64_t eight) { return eight & kHighBits; }

// Some byte is below 0x20, a control character (exact for the bytes below
// 0x80; every test that uses it takes the high bytes apart anyway).
constexpr std::uint64_t ControlByte(std::uint64_t eight) {
  return (eight - 0x20 * kOnes) & ~eight & kHighBits;
}
}  // namespace byte_words

// Where the run of ASCII bytes that starts at `from` ends (the size when it
// does not), eight bytes at a time.
inline std::size_t AsciiRunEnd(std::string_view bytes, std::size_t from) {
  std::size_t i = from;
  for (; i + 8 <= bytes.size(); i += 8) {
    if (byte_words::HighByte(byte_words::Load(bytes.data() + i))) break;
  }
  while (i < bytes.size() && static_cast<unsigned char>(bytes[i]) < 0x80) ++i;
  return i;
}

namespace detail {
#if defined(__SSE2__)
inline constexpr std::uintptr_t kPageSize = 4096;
inline constexpr std::size_t kBlock = 16;

// Sixteen bytes from p on may be read when they stay within p's page: the page
// is readable, whatever lies beyond the text, and bytes past the text are never
// taken as a match. The sanitizers would see reads past the text, so they are
// told that these are intended.
__attribute__((no_sanitize("address"))) inline __m128i LoadBlock(const char* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

inline int MatchMask(const char* p, __m128i needle) {
  return _mm_movemask_epi8(_mm_cmpeq_epi8(LoadBlock(p), needle));
}

inline int MarkupMask(const char* p) {
  const __m128i block = LoadBlock(p);
  const __m128i hits = _mm_or_si128(
      _mm_or_si128(_mm_cmpeq_epi8(block, _mm_set1_epi8('&')), _mm_cmpeq_epi8(block, _mm_set1_epi8('<'))),
      _mm_cmpeq_epi8(block, _mm_set1_epi8('>')));
  return _mm_movemask_epi8(hits);
}

inline bool BlockStaysInPage(const char* p) {
  return (reinterpret_cast<std::uintptr_t>(p) & (kPageSize - 1)) <= kPageSize - kBlock;
}
#endif
}  // namespace detail

#if defined(__SSE2__)
namespace detail {
// The first byte at or after `from` that `matches`, sixteen bytes at a time
// where a block stays within its page (`blockMask` gives a bit for each byte
// of the block that matches), one at a time where it would not.
template <class BlockMask, class Matches>
std::size_t FindInBlocks(std::string_view text, std::size_t from, BlockMask blockMask, Matches matches) {
  const std::size_t size = text.size();
  std::size_t i = from;
  while (i < size) {
    const char* p = text.data() + i;
    if (!BlockStaysInPage(p)) {
      if (matches(*p)) return i;
      ++i;
    } else if (const int mask = blockMask(p)) {
      const std::size_t hit = i + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(mask)));
      return hit < size ? hit : std::string_view::npos;
    } else {
      i += kBlock;
    }
  }
  return std::string_view::npos;
}
}  // namespace detail
#endif

// Position of the first byte c in text at or after `from`, or npos. Lines and
// their pieces are short: sixteen bytes at a time with vector instructions,
// without the cost of a library call for every search.
inline std::size_t FindByte(std::string_view text, char c, std::size_t from = 0) {
#if defined(__SSE2__)
  const __m128i needle = _mm_set1_epi8(c);
  return detail::FindInBlocks(
      text, from, [needle](const char* p) { return detail::MatchMask(p, needle); },
      [c](char byte) { return byte == c; });
#else
  return text.find(c, from);
#endif
}

// Position of the first "&", "<" or ">" at or after `from`, or npos: the bytes
// that a cell value may not carry into a document as they are.
inline std::size_t FindMarkupByte(std::string_view text, std::size_t from = 0) {
#if defined(__SSE2__)
  return detail::FindInBlocks(text, from, detail::MarkupMask,
                              [](char byte) { return byte == '&' || byte == '<' || byte == '>'; });
#else
  return text.find_first_of("&<>", from);
#endif
}

}  // namespace brevant
