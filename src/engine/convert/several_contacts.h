#pragma once

#include <cstddef>
#include <cstdint>

#include "support/text/text.h"

namespace brevant {

// Tallies, over one run read one row per file, the inputs that held several
// BEGIN:VCARD blocks: their contacts all went into one row, which a user with a
// phone's export does not expect.
class SeveralContactsTally {
 public:
  void note(std::uint64_t blocks) {
    ++filesRead_;
    if (blocks > 1) ++filesWithSeveral_;
  }
  std::size_t filesRead() const { return filesRead_; }
  std::size_t filesWithSeveral() const { return filesWithSeveral_; }

 private:
  std::size_t filesRead_ = 0;
  std::size_t filesWithSeveral_ = 0;
};

// What became of such files, e.g. "3 of the 7 files hold several contacts
// each, and each file became one row."; empty when there were none.
Text SeveralContactsNote(const SeveralContactsTally& tally);

}  // namespace brevant
