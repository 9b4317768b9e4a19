#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace brevant {

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
