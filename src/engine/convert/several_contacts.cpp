#include "engine/convert/several_contacts.h"

#include <string>

#include "support/text/utf8.h"

namespace brevant {

Text SeveralContactsNote(const SeveralContactsTally& tally) {
  const std::size_t several = tally.filesWithSeveral();
  const std::size_t read = tally.filesRead();
  if (several == 0) return Text();
  std::string note;
  if (read == 1) {
    note = "The file holds several contacts, and it became one row.";
  } else if (several == read) {
    note = "All " + std::to_string(read) + " files hold several contacts each, and each file became one row.";
  } else if (several == 1) {
    note = "1 of the " + std::to_string(read) + " files holds several contacts, and it became one row.";
  } else {
    note = std::to_string(several) + " of the " + std::to_string(read) +
           " files hold several contacts each, and each file became one row.";
  }
  return FromUtf8(note);
}

}  // namespace brevant
