#include "engine/convert/several_contacts.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/text/utf8.h"

namespace brevant {
namespace {

std::string NoteFor(const std::vector<std::uint64_t>& blocksPerFile) {
  SeveralContactsTally tally;
  for (const std::uint64_t blocks : blocksPerFile) tally.note(blocks);
  return ToUtf8(SeveralContactsNote(tally));
}

TEST(SeveralContacts, TheNoteCountsTheFilesWhoseContactsShareARow) {
  const std::pair<std::vector<std::uint64_t>, std::string> cases[] = {
      {{}, ""},
      {{1, 0, 1}, ""},
      {{300}, "The file holds several contacts, and it became one row."},
      {{2, 1, 0}, "1 of the 3 files holds several contacts, and it became one row."},
      {{2, 5, 1, 1, 0}, "2 of the 5 files hold several contacts each, and each file became one row."},
      {{2, 3}, "All 2 files hold several contacts each, and each file became one row."},
  };
  for (const auto& [files, note] : cases) EXPECT_EQ(NoteFor(files), note) << note;
}

}  // namespace
}  // namespace brevant
