#include "engine/contacts/property_tally.h"

#include <algorithm>

#include "engine/text/packed_name.h"
#include "engine/text/text_encodings.h"

namespace brevant {

namespace {
constexpr std::size_t kLongestName = 64;
constexpr std::size_t kMostNames = 1000;
constexpr std::size_t kLongestDetail = 80;

bool IsClean(std::string_view name) {
  if (name.size() > kLongestName) return false;
  for (const char c : name) {
    if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-')) return false;
  }
  return true;
}

// The name as the tally keeps it.
void CleanName(std::string& out, std::string_view name) {
  for (const char c : name.substr(0, kLongestName)) {
    const char upper = UpperAscii(c);
    out += (upper >= 'A' && upper <= 'Z') || (upper >= '0' && upper <= '9') || upper == '-' ? upper : '?';
  }
  if (name.size() > kLongestName) out += "...";
}

}  // namespace

void PropertyTally::add(std::string_view name, std::uint64_t count) {
  if (IsClean(name)) return addClean(name, count);  // the usual case: nothing to change
  name_.clear();
  CleanName(name_, name);
  addClean(name_, count);
}

void PropertyTally::add(std::string_view name, std::string_view detail) {
  if (detail.empty()) return add(name);
  name_.clear();
  CleanName(name_, name);
  name_ += ' ';
  std::size_t i = 0;
  while (i < detail.size() && i < kLongestDetail) {
    char32_t c = static_cast<unsigned char>(detail[i]);
    const std::size_t length = c < 0x80 ? 1 : Utf8SequenceAt(detail, i, c);
    if (length == 0 || c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0)) {
      name_ += ' ';
      i += length == 0 ? 1 : length;
    } else {
      name_.append(detail.substr(i, length));
      i += length;
    }
  }
  if (i < detail.size()) name_ += "...";
  addClean(name_, 1);
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
