// The one table of what each address book's own properties mean.
#include "engine/contacts/address_book_properties.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace brevant {
namespace {

TEST(AddressBookProperties, EachAddressBooksNamesAreFoundInAnyLetterCase) {
  const struct {
    const char* name;
    PropertyMeaning meaning;
    const char* label;
  } cases[] = {
      {"X-MS-ANNIVERSARY", PropertyMeaning::Anniversary, ""},
      {"X-MS-IMADDRESS", PropertyMeaning::IMAddress, ""},
      {"x-ms-manager", PropertyMeaning::Related, "Manager"},
      {"X-MS-Assistant", PropertyMeaning::Related, "Assistant"},
      {"X-MS-OL-DESIGN", PropertyMeaning::Machine, ""},
      {"X-MS-CARDPICTURE", PropertyMeaning::Picture, "Photo"},
      {"X-EVOLUTION-SPOUSE", PropertyMeaning::Related, "Spouse"},
      {"X-EVOLUTION-MANAGER", PropertyMeaning::Related, "Manager"},
      {"X-EVOLUTION-ASSISTANT", PropertyMeaning::Related, "Assistant"},
      {"X-EVOLUTION-ANNIVERSARY", PropertyMeaning::Anniversary, ""},
      {"X-EVOLUTION-FILE-AS", PropertyMeaning::Machine, ""},
      {"X-EVOLUTION-BLOG-URL", PropertyMeaning::Website, "Blog"},
      {"X-WAB-WEDDING_ANNIVERSARY", PropertyMeaning::Anniversary, ""},
      {"X-WAB-SPOUSE_NAME", PropertyMeaning::Related, "Spouse"},
      {"X-WAB-GENDER", PropertyMeaning::Gender, ""},
      {"X-SPOUSE", PropertyMeaning::Related, "Spouse"},
      {"X-GTALK", PropertyMeaning::IMAddress, "Google Talk"},
      {"X-SOCIALPROFILE", PropertyMeaning::SocialProfile, ""},
      {"X-ABUID", PropertyMeaning::Machine, ""},
      {"X-ABShowAs", PropertyMeaning::Machine, ""},
      {"X-KADDRESSBOOK-X-SpousesName", PropertyMeaning::Related, "Spouse"},
      {"X-KADDRESSBOOK-X-Anniversary", PropertyMeaning::Anniversary, ""},
      {"TZ", PropertyMeaning::TimeZone, ""},
      {"GEO", PropertyMeaning::Location, ""},
      {"PRODID", PropertyMeaning::Machine, ""},
      {"DEATHDATE", PropertyMeaning::LabelledDate, "Date of Death"},
  };
  for (const auto& c : cases) {
    const AddressBookProperty* found = FindAddressBookProperty(c.name);
    ASSERT_NE(found, nullptr) << c.name;
    EXPECT_EQ(found->meaning, c.meaning) << c.name;
    EXPECT_EQ(found->label, c.label) << c.name;
  }
  for (const char* unknown : {"", "X", "X-MS", "X-MS-ANNIVERSARYX", "X-CUSTOM", "ZZZ", "A"}) {
    EXPECT_EQ(FindAddressBookProperty(unknown), nullptr) << unknown;
  }
}

// Every entry is found by its own name, names are unique and upper-case, and
// each says whose documentation names it.
TEST(AddressBookProperties, EveryEntryIsFoundByItsName) {
  std::set<std::string> names;
  for (const AddressBookProperty& entry : AddressBookProperties()) {
    EXPECT_EQ(FindAddressBookProperty(entry.name), &entry) << entry.name;
    EXPECT_TRUE(names.insert(std::string(entry.name)).second) << entry.name;
    EXPECT_EQ(entry.name.find_first_of("abcdefghijklmnopqrstuvwxyz"), std::string_view::npos) << entry.name;
    EXPECT_FALSE(entry.maker.empty()) << entry.name;
    const bool needsLabel = entry.meaning == PropertyMeaning::More ||
                            entry.meaning == PropertyMeaning::LabelledDate ||
                            entry.meaning == PropertyMeaning::Picture;
    EXPECT_TRUE(!needsLabel || !entry.label.empty()) << entry.name;
  }
}

}  // namespace
}  // namespace brevant
