#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "engine/contacts/contact_reader.h"
#include "engine/scan/captions.h"

namespace brevant {

// The columns of a contact table: each caption once, in order of first
// appearance. Captions are numbered 1, 2, 3 within each contact, so the k-th
// column of a caption is always its number k: one byte a column is all it takes.
class ContactColumns {
 public:
  // Adds the columns the contact's cells need that are not there yet, in the cells' order.
  void add(std::span<const ContactCell> cells) {
    for (const ContactCell& cell : cells) {
      std::uint64_t& count = counts_[static_cast<std::size_t>(cell.caption())];
      for (; count < cell.number(); ++count) captions_.push_back(cell.caption());
    }
  }

  std::size_t size() const { return captions_.size(); }
  bool empty() const { return captions_.empty(); }
  const std::vector<Caption>& captions() const { return captions_; }

 private:
  std::vector<Caption> captions_;
  std::array<std::uint64_t, kCaptionCount> counts_{};
};

}  // namespace brevant
