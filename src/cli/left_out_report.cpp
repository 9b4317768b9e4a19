#include "cli/left_out_report.h"

namespace brevant {

namespace {
constexpr std::size_t kNamesInSummary = 5;
}  // namespace

std::vector<std::string> LeftOutLines(const PropertyTally& leftOut, bool verbose) {
  if (leftOut.empty()) return {};
  const auto names = leftOut.byCount();
  std::string first = std::to_string(leftOut.total()) + (leftOut.total() == 1 ? " property" : " properties") +
                      " left out (no column for them):";
  if (verbose) {
    std::vector<std::string> lines = {first};
    for (const auto& [name, count] : names) lines.push_back("  " + name + " " + std::to_string(count));
    if (leftOut.unnamed() > 0) lines.push_back("  (other names) " + std::to_string(leftOut.unnamed()));
    return lines;
  }
  for (std::size_t i = 0; i < names.size() && i < kNamesInSummary; ++i) {
    first += (i == 0 ? " " : ", ") + names[i].first + " " + std::to_string(names[i].second);
  }
  const std::size_t more = names.size() > kNamesInSummary ? names.size() - kNamesInSummary : 0;
  if (more > 0 || leftOut.unnamed() > 0) {
    first += more > 0 ? ", and " + std::to_string(more) + (more == 1 ? " more name" : " more names")
                      : std::string(", and more");
    first += " (--verbose lists them)";
  }
  return {first};
}

}  // namespace brevant
