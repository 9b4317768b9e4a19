#include "engine/write/xlsx_texts.h"

#include <functional>

#include "engine/write/xlsx_parts.h"

namespace brevant {

namespace {

// Texts kept for finding them again: shorter than this, and this many bytes
// and texts in all (about 2 MB with their slots: a table that stays in the
// processor's cache costs less to search than the texts it saves cost to deflate).
constexpr std::size_t kLongestKept = 256;
constexpr std::size_t kMostKeptBytes = std::size_t{1} << 20;
constexpr std::size_t kMostKept = std::size_t{1} << 14;
// The table goes on into its deflate stream once this much is waiting.
constexpr std::size_t kPieceSize = std::size_t{1} << 20;

constexpr std::string_view kTextStart = "<si><t>";
constexpr std::string_view kPreservedTextStart = "<si><t xml:space=\"preserve\">";
constexpr std::string_view kTextEnd = "</t></si>";

}  // namespace

SharedTexts::SharedTexts() : slots_(64) {}

std::uint64_t SharedTexts::number(std::string_view xml, bool preserveSpaces) {
  ++uses_;
  if (xml.size() >= kLongestKept) return add(xml, preserveSpaces);
  const std::uint64_t hash = std::hash<std::string_view>{}(xml);
  const Slot& slot = find(xml, hash);
  if (slot.length != 0) return slot.number;
  const std::uint64_t number = add(xml, preserveSpaces);
  if (used_ < kMostKept && kept_.size() + xml.size() <= kMostKeptBytes) keep(xml, hash, number);
  return number;
}

std::uint64_t SharedTexts::add(std::string_view xml, bool preserveSpaces) {
  piece_ += preserveSpaces ? kPreservedTextStart : kTextStart;
  piece_ += xml;
  piece_ += kTextEnd;
  if (piece_.size() >= kPieceSize) {
    deflated_.write(piece_);
    piece_.clear();
  }
  return count_++;
}

SharedTexts::Slot& SharedTexts::find(std::string_view xml, std::uint64_t hash) {
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
    Slot& slot = slots_[i];
    if (slot.length == 0) return slot;
    if (slot.hash == hash && std::string_view(kept_).substr(slot.offset, slot.length) == xml) return slot;
  }
}

void SharedTexts::keep(std::string_view xml, std::uint64_t hash, std::uint64_t number) {
  if (xml.empty()) return;  // an empty slot means none
  if (2 * (used_ + 1) > slots_.size()) {
    std::vector<Slot> old(slots_.size() * 2);
    old.swap(slots_);
    for (const Slot& slot : old) {
      if (slot.length != 0) find(std::string_view(kept_).substr(slot.offset, slot.length), slot.hash) = slot;
    }
  }
  find(xml, hash) = {hash, number, static_cast<std::uint32_t>(kept_.size()),
                     static_cast<std::uint32_t>(xml.size())};
  kept_ += xml;
  ++used_;
}

void SharedTexts::addTo(ZipWriter& zip, std::string_view name) {
  slots_ = {};
  kept_ = {};
  piece_ += kSharedStringsClosing;
  deflated_.write(piece_);
  piece_ = {};
  deflated_.finish();
  const DeflatedText opening = DeflatedText::Stored(SharedStringsOpening(uses_, count_));
  zip.add(name, {&opening, &deflated_});
}

}  // namespace brevant
