#pragma once

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

bool IsAddressPart(Caption caption);
bool IsPicture(Caption caption);

// Where a column stands among the others: pictures first, then names,
// organisation, telephones, e-mail and IM, addresses (each address's parts
// together), web, dates, related people, categories, notes and "More". A
// caption's labels and numbers follow it in order; the parts of all addresses
// share one place, ordered by label, number and part.
std::uint64_t ColumnKey(Caption caption, std::uint16_t label, std::uint32_t number);
// The place of the caption alone, 0 first; address parts share one.
unsigned ColumnRank(Caption caption);
inline constexpr unsigned kColumnRanks = 64;

}  // namespace brevant
