#include "engine/scan/property_names.h"

#include <algorithm>
#include <array>
#include <iterator>

#include "engine/text/packed_name.h"

namespace brevant {

namespace {

constexpr PropertyNameRow kUnknown{"", PropertyName::Other, kNotScanned};
constexpr std::size_t kPackedLength = 8;

constexpr bool IsShort(const PropertyNameRow& row) { return row.upper.size() <= kPackedLength; }

constexpr std::size_t kShortCount =
    static_cast<std::size_t>(std::count_if(std::begin(kPropertyNames), std::end(kPropertyNames), IsShort));

// Names of up to eight characters, packed and sorted, so that a name is found
// with one packing and a few comparisons: the line scanner asks for every line.
struct PackedRow {
  std::uint64_t packed;
  std::size_t row;
};
constexpr auto kShortRows = [] {
  std::array<PackedRow, kShortCount> rows{};
  std::size_t n = 0;
  for (std::size_t i = 0; i < std::size(kPropertyNames); ++i) {
    if (IsShort(kPropertyNames[i])) rows[n++] = {Packed(kPropertyNames[i].upper), i};
  }
  std::sort(rows.begin(), rows.end(),
            [](const PackedRow& a, const PackedRow& b) { return a.packed < b.packed; });
  return rows;
}();

constexpr auto kLongRows = [] {
  std::array<std::size_t, std::size(kPropertyNames) - kShortCount> rows{};
  std::size_t n = 0;
  for (std::size_t i = 0; i < std::size(kPropertyNames); ++i) {
    if (!IsShort(kPropertyNames[i])) rows[n++] = i;
  }
  return rows;
}();

// Every name is upper-case ASCII (so that it packs) and stands in the table once.
constexpr bool NamesAreWellFormed() {
  for (const PropertyNameRow& row : kPropertyNames) {
    for (const char c : row.upper) {
      if (c <= ' ' || c > '~' || UpperAscii(c) != c) return false;
    }
    if (row.upper.empty() || row.name == PropertyName::Other) return false;
  }
  for (std::size_t i = 1; i < kShortRows.size(); ++i) {
    if (kShortRows[i - 1].packed == kShortRows[i].packed) return false;
  }
  for (const std::size_t a : kLongRows) {
    for (const std::size_t b : kLongRows) {
      if (a != b && kPropertyNames[a].upper == kPropertyNames[b].upper) return false;
    }
  }
  return true;
}
static_assert(NamesAreWellFormed());

template <class Ch>
bool EqualsUpper(std::basic_string_view<Ch> text, std::string_view upper) {
  if (text.size() != upper.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (UpperAscii(text[i]) != Ch(static_cast<unsigned char>(upper[i]))) return false;
  }
  return true;
}

}  // namespace

template <class Ch>
const PropertyNameRow& FindPropertyName(std::basic_string_view<Ch> name) {
  if (const std::uint64_t packed = PackUpper(name); packed != 0) {
    const auto found = std::lower_bound(kShortRows.begin(), kShortRows.end(), packed,
                                        [](const PackedRow& row, std::uint64_t p) { return row.packed < p; });
    return found != kShortRows.end() && found->packed == packed ? kPropertyNames[found->row] : kUnknown;
  }
  if (name.size() > kPackedLength) {
    for (const std::size_t row : kLongRows) {
      if (EqualsUpper(name, kPropertyNames[row].upper)) return kPropertyNames[row];
    }
  }
  return kUnknown;
}

template const PropertyNameRow& FindPropertyName<char>(std::string_view);
template const PropertyNameRow& FindPropertyName<char16_t>(std::u16string_view);

}  // namespace brevant
