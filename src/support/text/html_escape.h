#pragma once

#include <array>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

#include "support/text/byte_search.h"

namespace brevant {

// The characters that HTML and XML text cannot hold as they are, and the
// entities that stand for them. Quotes need one only inside an attribute value.
struct HtmlEntityOf {
  char byte;
  std::string_view entity;
  bool onlyInAttributes;
};

inline constexpr std::array<HtmlEntityOf, 5> kHtmlEntities = {{
    {'&', "&amp;", false},
    {'<', "&lt;", false},
    {'>', "&gt;", false},
    {'"', "&quot;", true},
    {'\'', "&#39;", true},
}};

// The most bytes that the entity of one byte takes: in text ("&amp;"), or in
// an attribute value too ("&quot;").
constexpr std::size_t MostHtmlEntityBytes(bool inAttribute = false) {
  std::size_t most = 1;
  for (const HtmlEntityOf& entry : kHtmlEntities) {
    if ((inAttribute || !entry.onlyInAttributes) && entry.entity.size() > most) most = entry.entity.size();
  }
  return most;
}

// The entity for the byte in text (or, with `inAttribute`, in an attribute
// value), empty when it stands for itself.
constexpr std::string_view HtmlEntity(char byte, bool inAttribute = false) {
  for (const HtmlEntityOf& entry : kHtmlEntities) {
    if (entry.byte == byte && (inAttribute || !entry.onlyInAttributes)) return entry.entity;
  }
  return {};
}

// Hands the bytes to `put` in pieces, runs as they are and "&", "<" and ">" as
// their entities: the runs between them (most values are one run) are found
// sixteen bytes at a time and passed whole.
template <class Put>
void ForEachHtmlEscapedPiece(std::string_view bytes, Put put) {
  if (bytes.empty()) return;  // an empty text may point nowhere
  std::size_t runStart = 0;
  for (std::size_t hit; (hit = FindMarkupByte(bytes, runStart)) != std::string_view::npos;
       runStart = hit + 1) {
    if (hit > runStart) put(bytes.substr(runStart, hit - runStart));
    put(HtmlEntity(bytes[hit]));
  }
  if (runStart < bytes.size()) put(bytes.substr(runStart));
}

// Writes the bytes escaped at `out` (room for MostHtmlEntityBytes() a byte) and gives the end.
inline char* PutHtmlEscaped(char* out, std::string_view bytes) {
  ForEachHtmlEscapedPiece(bytes, [&out](std::string_view piece) {
    std::memcpy(out, piece.data(), piece.size());
    out += piece.size();
  });
  return out;
}

// Appends the bytes escaped.
inline void AppendHtmlEscaped(std::string& out, std::string_view bytes) {
  ForEachHtmlEscapedPiece(bytes, [&out](std::string_view piece) { out += piece; });
}

}  // namespace brevant
