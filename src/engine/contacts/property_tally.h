#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace brevant {

// How often each property name was met: the properties that one row per
// contact leaves out, so that the summary can say what no column shows. Names
// are kept upper-case, at most 64 characters, anything but letters, digits and
// "-" as "?"; past 1,000 distinct names the rest are only counted together.
class PropertyTally {
 public:
  void add(std::string_view name, std::uint64_t count = 1);
  void add(const PropertyTally& other);

  bool empty() const { return total_ == 0; }
  std::uint64_t total() const { return total_; }
  // Properties whose names came past the limit.
  std::uint64_t unnamed() const { return unnamed_; }
  // The names with their counts, the most frequent first, then by name.
  std::vector<std::pair<std::string, std::uint64_t>> byCount() const;

 private:
  void addClean(std::string_view name, std::uint64_t count);

  // Looked up by the name's text as it stands, without making a string of it.
  struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const { return std::hash<std::string_view>()(name); }
  };
  std::unordered_map<std::string, std::uint64_t, NameHash, std::equal_to<>> counts_;
  std::uint64_t total_ = 0;
  std::uint64_t unnamed_ = 0;
  std::string name_;  // the name at hand, cleaned
};

}  // namespace brevant
