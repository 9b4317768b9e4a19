#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/scan/line_scanner.h"

namespace brevant {

// Keeps the values of a file's cells until its document is written, each named
// by 64 bits whose lowest six are left to the user. A value is a place in the
// file's text wherever it can be, so a large file is not held twice; a value
// that cleaning changed is copied into one shared text, or handed over whole
// when it is large. Only values of a million characters or more (or places
// beyond 64 G characters) take an entry of their own.
template <class Ch>
class KeptValues {
 public:
  using View = std::basic_string_view<Ch>;
  static constexpr std::uint64_t kUserBits = 6;
  static constexpr std::uint64_t kUserMask = (std::uint64_t{1} << kUserBits) - 1;
  // The reference of the empty value.
  static constexpr std::uint64_t kEmpty = 0;

  // Forgets every value kept so far: the values of the next file follow.
  void startFile(View text) {
    text_ = text;
    shared_.clear();
    shared_.shrink_to_fit();
    entries_.clear();
    owned_.clear();
  }

  std::uint64_t keep(View value) {
    if (value.empty()) return kEmpty;
    // Before the text the difference wraps round to a huge place, which fails the test.
    const std::uint64_t offset =
        (reinterpret_cast<std::uintptr_t>(value.data()) - reinterpret_cast<std::uintptr_t>(text_.data())) /
        sizeof(Ch);
    if (offset < text_.size() && value.size() <= text_.size() - offset) {
      if (value.size() < kLengthLimit && offset < kOffsetLimit)
        return offset << kOffsetShift | value.size() << kLengthShift;
      return entry(Where::Text, offset, value.size());
    }
    std::basic_string<Ch> handedOver;
    if (TakeCleanedValue(value, handedOver)) {
      owned_.push_back(std::move(handedOver));
      return entry(Where::Owned, owned_.size() - 1, value.size());
    }
    const std::uint64_t start = shared_.size();
    shared_.append(value);
    if (value.size() < kLengthLimit && start < kOffsetLimit)
      return start << kOffsetShift | value.size() << kLengthShift | kSharedBit;
    return entry(Where::Shared, start, value.size());
  }

  View value(std::uint64_t reference) const {
    if (reference & kEntryBit) {
      const Entry& e = entries_[reference >> kIndexShift];
      return at(e.where, e.offset, e.length);
    }
    const Where where = (reference & kSharedBit) ? Where::Shared : Where::Text;
    return at(where, reference >> kOffsetShift, (reference >> kLengthShift) & (kLengthLimit - 1));
  }

 private:
  enum class Where : std::uint8_t { Text, Shared, Owned };
  struct Entry {
    std::uint64_t offset;  // or the index among the owned values
    std::uint64_t length;
    Where where;
  };

  // Bit 6 says the value has an entry of its own (its index from bit 7 on);
  // otherwise bit 7 says it lies in the shared text rather than the file's,
  // bits 8-27 give its length and bits 28-63 its place.
  static constexpr std::uint64_t kEntryBit = std::uint64_t{1} << kUserBits;
  static constexpr std::uint64_t kSharedBit = kEntryBit << 1;
  static constexpr int kIndexShift = kUserBits + 1;
  static constexpr int kLengthShift = kUserBits + 2;
  static constexpr std::uint64_t kLengthLimit = std::uint64_t{1} << 20;
  static constexpr int kOffsetShift = kLengthShift + 20;
  static constexpr std::uint64_t kOffsetLimit = std::uint64_t{1} << (64 - kOffsetShift);

  std::uint64_t entry(Where where, std::uint64_t offset, std::uint64_t length) {
    entries_.push_back({offset, length, where});
    return (entries_.size() - 1) << kIndexShift | kEntryBit;
  }

  View at(Where where, std::uint64_t offset, std::uint64_t length) const {
    switch (where) {
      case Where::Text:
        return text_.substr(offset, length);
      case Where::Shared:
        return View(shared_).substr(offset, length);
      case Where::Owned:
        return owned_[offset];
    }
    return {};
  }

  View text_;
  std::basic_string<Ch> shared_;
  std::vector<Entry> entries_;
  std::vector<std::basic_string<Ch>> owned_;
};

}  // namespace brevant
