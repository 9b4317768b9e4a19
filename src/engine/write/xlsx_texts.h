#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/write/zip_writer.h"

namespace brevant {

// A worksheet's table of texts (its shared strings): every cell names its text
// by number. Each text goes in once, as far as the texts kept for finding it
// again allow (the first sixteen thousand short ones: the towns, countries and
// companies that contacts share); any other goes in again. The table is
// deflated as it grows and waits compressed in memory, to follow the sheet
// into the archive.
class SharedTexts {
 public:
  SharedTexts();

  // The number of the text, as XML ready for the table (escaped); a new one
  // is added. `preserveSpaces`: the text starts or ends with blanks.
  std::uint64_t number(std::string_view xml, bool preserveSpaces);

  // Ends the table and puts it into the archive under `name`.
  void addTo(ZipWriter& zip, std::string_view name);

 private:
  struct Slot {
    std::uint64_t hash = 0;
    std::uint64_t number = 0;
    std::uint32_t offset = 0;  // in kept_
    std::uint32_t length = 0;  // 0: an empty slot
  };
  std::uint64_t add(std::string_view xml, bool preserveSpaces);
  // Where the text is, or the empty slot where it would go.
  Slot& find(std::string_view xml, std::uint64_t hash);
  void keep(std::string_view xml, std::uint64_t hash, std::uint64_t number);

  DeflatedText deflated_;
  std::string piece_;  // the latest texts on their way into the deflated table
  std::uint64_t uses_ = 0;
  std::uint64_t count_ = 0;
  std::vector<Slot> slots_;  // open addressing; at most half of them used
  std::size_t used_ = 0;
  std::string kept_;  // the texts the slots point into
};

}  // namespace brevant
