#include "cli/size_text.h"

#include <array>
#include <cstdio>

namespace brevant {

std::string SizeText(std::uint64_t bytes) {
  if (bytes < 1000) return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
  static constexpr std::array<const char*, 5> kUnits = {"kB", "MB", "GB", "TB", "PB"};
  // Tenths of the unit, rounded, and moved on to the next unit once they reach 1000.0.
  const auto tenthsOf = [bytes](std::uint64_t tenth) { return bytes / tenth + (bytes % tenth >= tenth / 2); };
  std::uint64_t tenth = 100;
  std::size_t unit = 0;
  while (unit + 1 < kUnits.size() && tenthsOf(tenth) >= 10000) {
    tenth *= 1000;
    ++unit;
  }
  const std::uint64_t tenths = tenthsOf(tenth);
  char text[48];
  std::snprintf(text, sizeof text, "%llu.%llu %s", static_cast<unsigned long long>(tenths / 10),
                static_cast<unsigned long long>(tenths % 10), kUnits[unit]);
  return text;
}

}  // namespace brevant
