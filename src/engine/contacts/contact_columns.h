#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <unordered_map>
#include <vector>

#include "engine/contacts/contact_captions.h"
#include "engine/contacts/contact_reader.h"

namespace brevant {

// The columns of a contact table: each caption, label and number that some
// contact fills, once, in the fixed order of ColumnKey. A column that no
// contact fills is not there. Kept as a few bits a column, so that a contact
// with millions of numbered values costs little more than its cells.
class ContactColumns {
 public:
  explicit ContactColumns(const ContactLabels& labels) : labels_(labels) {}

  // Adds the columns the contact's cells need that are not there yet.
  void add(std::span<const ContactCell> cells);

  bool empty() const { return columns_ == 0; }
  std::size_t size() const { return columns_; }
  const ContactLabels& labels() const { return labels_; }

  // Columns side by side, in order: the numbers `first` to `first + count - 1`
  // of one caption and label, or, for the parts of one address, the parts
  // from `caption` on, of one label and number.
  struct Run {
    Caption caption;
    std::uint16_t label;
    bool parts;
    std::uint32_t first;
    std::uint32_t count;
    std::uint64_t key;  // the ColumnKey of its first column; the others follow a fixed step apart
  };
  // Fixed from the first call on: add() no more after it.
  const std::vector<Run>& runs() const;

  // Calls column(caption, label, number) for every column, in order.
  template <class Column>
  void forEach(Column&& column) const {
    for (const Run& run : runs()) {
      for (std::uint32_t i = 0; i < run.count; ++i) {
        if (run.parts) {
          column(AddressPartAfter(run.caption, i), run.label, run.first);
        } else {
          column(run.caption, run.label, run.first + i);
        }
      }
    }
  }

 private:
  static constexpr std::uint32_t kNoGroup = UINT32_MAX;
  struct Group {
    Caption caption;
    std::uint16_t label;
    std::uint64_t low = 0;            // a bit for each number from 1 to 64, the usual ones
    std::vector<std::uint64_t> high;  // a bit for each number from 65 on
    bool has(std::uint32_t number) const {
      const std::size_t bit = number - 1;
      if (bit < 64) return (low >> bit & 1) != 0;
      const std::size_t k = bit / 64 - 1;
      return k < high.size() && (high[k] >> (bit % 64) & 1) != 0;
    }
    // Beyond the highest number filled.
    std::uint32_t end() const { return static_cast<std::uint32_t>(64 * (1 + high.size())); }
  };
  std::uint32_t group(Caption caption, std::uint16_t label) {
    // The labels met first (type words, built-in labels) are looked up directly.
    if (label < kDirectLabels) {
      const std::size_t at = std::size_t{label} * kCaptionCount + static_cast<std::size_t>(caption);
      if (at < direct_.size() && direct_[at] != kNoGroup) [[likely]]
        return direct_[at];
    }
    return newGroup(caption, label);
  }
  std::uint32_t newGroup(Caption caption, std::uint16_t label);

  const ContactLabels& labels_;
  std::vector<Group> groups_;
  static constexpr std::uint16_t kDirectLabels = 256;
  std::vector<std::uint32_t> direct_;  // label * kCaptionCount + caption to its group, for the first labels
  std::unordered_map<std::uint32_t, std::uint32_t>
      labelled_;  // caption << 16 | label to its group, for the rest
  std::size_t columns_ = 0;
  mutable std::vector<Run> runs_;
  mutable bool laidOut_ = false;
};

}  // namespace brevant
