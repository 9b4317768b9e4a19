#include "engine/contacts/contact_columns.h"

#include <algorithm>
#include <stdexcept>

namespace brevant {

std::uint32_t ContactColumns::newGroup(Caption caption, std::uint16_t label) {
  std::uint32_t* index = nullptr;
  if (label < kDirectLabels) {
    const std::size_t at = std::size_t{label} * kCaptionCount + static_cast<std::size_t>(caption);
    if (at >= direct_.size()) direct_.resize((std::size_t{label} + 1) * kCaptionCount, kNoGroup);
    index = &direct_[at];
  } else {
    index = &labelled_.try_emplace(static_cast<std::uint32_t>(caption) << 16 | label, kNoGroup).first->second;
  }
  if (*index == kNoGroup) {
    *index = static_cast<std::uint32_t>(groups_.size());
    groups_.push_back({caption, label, 0, {}});
  }
  return *index;
}

void ContactColumns::add(std::span<const ContactCell> cells) {
  if (laidOut_) throw std::logic_error("columns added after they were laid out");
  for (const ContactCell& cell : cells) {
    if (cell.number() == 0) continue;
    Group& columns = groups_[group(cell.caption(), cell.label())];
    const std::size_t bit = cell.number() - 1;
    std::uint64_t* word = &columns.low;
    if (bit >= 64) {
      const std::size_t k = bit / 64 - 1;
      if (k >= columns.high.size()) columns.high.resize(k + 1);
      word = &columns.high[k];
    }
    const std::uint64_t mask = std::uint64_t{1} << (bit % 64);
    if ((*word & mask) == 0) ++columns_;
    *word |= mask;
  }
}

const std::vector<ContactColumns::Run>& ContactColumns::runs() const {
  if (laidOut_) return runs_;
  laidOut_ = true;
  // The groups in the order of their columns; the parts of the addresses of one label together.
  std::vector<const Group*> order;
  for (const Group& each : groups_) order.push_back(&each);
  std::sort(order.begin(), order.end(), [](const Group* a, const Group* b) {
    return ColumnKey(a->caption, a->label, 0) < ColumnKey(b->caption, b->label, 0);
  });
  for (std::size_t i = 0; i < order.size();) {
    const Group& first = *order[i];
    if (!IsAddressPart(first.caption)) {
      // Runs of numbers side by side.
      const std::uint32_t most = first.end();
      for (std::uint32_t number = 1; number <= most; ++number) {
        if (!first.has(number)) continue;
        Run run{first.caption, first.label, false, number, 0, 0};
        while (number <= most && first.has(number)) ++run.count, ++number;
        run.key = ColumnKey(run.caption, run.label, run.first);
        runs_.push_back(run);
      }
      ++i;
      continue;
    }
    // The addresses of one label, each as a block of its parts.
    std::array<const Group*, std::size(kAddressParts)> parts{};
    std::size_t end = i;
    std::uint32_t most = 0;
    for (; end < order.size() && IsAddressPart(order[end]->caption) && order[end]->label == first.label;
         ++end) {
      const Group& part = *order[end];
      parts[AddressPartIndex(part.caption)] = &part;
      most = std::max(most, part.end());
    }
    for (std::uint32_t number = 1; number <= most; ++number) {
      for (std::size_t p = 0; p < parts.size();) {
        if (parts[p] == nullptr || !parts[p]->has(number)) {
          ++p;
          continue;
        }
        Run run{kAddressParts[p], first.label, true, number, 0, 0};
        while (p < parts.size() && parts[p] != nullptr && parts[p]->has(number)) ++run.count, ++p;
        run.key = ColumnKey(run.caption, run.label, run.first);
        runs_.push_back(run);
      }
    }
    i = end;
  }
  return runs_;
}

}  // namespace brevant
