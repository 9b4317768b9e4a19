#include "support/folders/name_order.h"

#include <algorithm>

#include "support/text/upper_case.h"

namespace brevant {

bool ListsBefore(TextView a, TextView b) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    if (a[i] == b[i]) continue;  // names of one folder often share long beginnings
    const char16_t upperA = UpperCaseUnit(a[i]);
    const char16_t upperB = UpperCaseUnit(b[i]);
    if (upperA != upperB) return upperA < upperB;
  }
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;
}

void SortAsListed(std::vector<Text>& names) {
  std::sort(names.begin(), names.end(), [](const Text& a, const Text& b) { return ListsBefore(a, b); });
}

}  // namespace brevant
