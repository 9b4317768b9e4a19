#include "engine/contact_columns.h"

#include <algorithm>

namespace brevant {

void SortForRow(std::span<ContactCell> cells) {
  const auto before = [](const ContactCell& a, const ContactCell& b) {
    return a.caption() != b.caption() ? a.caption() < b.caption() : a.number() < b.number();
  };
  if (!std::is_sorted(cells.begin(), cells.end(), before)) std::sort(cells.begin(), cells.end(), before);
}

}  // namespace brevant
