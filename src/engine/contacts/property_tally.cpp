#include "engine/contacts/property_tally.h"

#include <algorithm>

#include "engine/text/packed_name.h"

namespace brevant {

namespace {
constexpr std::size_t kLongestName = 64;
constexpr std::size_t kMostNames = 1000;

bool IsClean(std::string_view name) {
  if (name.size() > kLongestName) return false;
  for (const char c : name) {
    if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-')) return false;
  }
  return true;
}

}  // namespace

void PropertyTally::add(std::string_view name, std::uint64_t count) {
  if (IsClean(name)) return addClean(name, count);  // the usual case: nothing to change
  name_.clear();
  for (const char c : name.substr(0, kLongestName)) {
    const char upper = UpperAscii(c);
    name_ += (upper >= 'A' && upper <= 'Z') || (upper >= '0' && upper <= '9') || upper == '-' ? upper : '?';
  }
  if (name.size() > kLongestName) name_ += "...";
  addClean(name_, count);
}

void PropertyTally::addClean(std::string_view name, std::uint64_t count) {
  total_ += count;
  const auto found = counts_.find(name);
  if (found != counts_.end()) {
    found->second += count;
  } else if (counts_.size() < kMostNames) {
    counts_.emplace(name, count);
  } else {
    unnamed_ += count;
  }
}

void PropertyTally::add(const PropertyTally& other) {
  for (const auto& [name, count] : other.counts_) addClean(name, count);
  unnamed_ += other.unnamed_;
  total_ += other.unnamed_;
}

std::vector<std::pair<std::string, std::uint64_t>> PropertyTally::byCount() const {
  std::vector<std::pair<std::string, std::uint64_t>> names(counts_.begin(), counts_.end());
  std::sort(names.begin(), names.end(), [](const auto& a, const auto& b) {
    return a.second != b.second ? a.second > b.second : a.first < b.first;
  });
  return names;
}

}  // namespace brevant
