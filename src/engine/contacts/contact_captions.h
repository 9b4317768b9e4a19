#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/scan/captions.h"

namespace brevant {

// The captions of a table with one row per contact: a caption with its label
// and number ("Home Email 2", "Assistant Phone", "Spouse"), the parts of an
// address as one block ("Home Address 2 - City"), and the fixed order of the
// columns.

// Appends the caption's text; `label` in UTF-8, empty for none.
void AppendContactCaption(std::string& out, Caption caption, std::string_view label, std::uint64_t number);

// The parts of an address, in the order they stand in its block.
inline constexpr Caption kAddressParts[] = {
    Caption::AddressStreet, Caption::AddressPOBox,      Caption::AddressExtended, Caption::AddressCity,
    Caption::AddressState,  Caption::AddressPostalCode, Caption::AddressCountry};
inline bool IsAddressPart(Caption caption) {
  return (caption >= Caption::AddressStreet && caption <= Caption::AddressCountry) ||
         caption == Caption::AddressPOBox;
}
// Where a part stands in kAddressParts.
inline std::size_t AddressPartIndex(Caption caption) {
  if (caption == Caption::AddressPOBox) return 1;
  const auto index = static_cast<std::size_t>(caption) - static_cast<std::size_t>(Caption::AddressStreet);
  return index == 0 ? 0 : index + 1;
}
// The part `steps` after `first` in an address's block.
inline Caption AddressPartAfter(Caption first, std::size_t steps) {
  return kAddressParts[AddressPartIndex(first) + steps];
}
inline bool IsPicture(Caption caption) { return caption == Caption::Photo || caption == Caption::Logo; }

// Where a column stands among the others: pictures first, then names,
// organisation, telephones, e-mail and IM, addresses (each address's parts
// together), web, dates, related people, categories, notes and "More". A
// caption's labels and numbers follow it in order; the parts of all addresses
// share one place, ordered by label, number and part.
// The place of the caption alone, 0 first; address parts share one.
extern const std::array<std::uint8_t, kCaptionCount> kColumnRankOf;
inline unsigned ColumnRank(Caption caption) { return kColumnRankOf[static_cast<std::size_t>(caption)]; }
inline constexpr unsigned kColumnRanks = 64;
// Place, label, number and address part, from the highest bits down: the
// next number of a caption and label is kNumberStep further, the next part
// of an address 1.
inline constexpr std::uint64_t kNumberStep = 8;
inline constexpr unsigned kRankShift = 51;  // the key shifted right by this is the place
inline std::uint64_t ColumnKey(Caption caption, std::uint16_t label, std::uint32_t number) {
  const bool part = IsAddressPart(caption);
  return std::uint64_t{ColumnRank(caption)} << kRankShift | std::uint64_t{label} << 35 |
         std::uint64_t{number} * kNumberStep | (part ? AddressPartIndex(caption) : 0);
}

}  // namespace brevant
