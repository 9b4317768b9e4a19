// Values of the properties beyond the usual few, as their cells show them.
#include "engine/contacts/other_values.h"

#include <gtest/gtest.h>

#include <string>

namespace brevant {
namespace {

TEST(OtherValues, KeysAndSoundsSayWhatTheyAre) {
  const struct {
    const char* name;
    std::string value;
    bool base64;
    const char* declared;
    const char* text;
  } cases[] = {
      // "-----BEGIN PGP PUBLIC KEY BLOCK-----" and a DER certificate's first bytes, in base64.
      {"armored PGP in base64", "LS0tLS1CRUdJTiBQR1AgUFVCTElDIEtFWSBCTE9DSy0tLS0t", true, "",
       "PGP key, 36 bytes"},
      {"a binary PGP key", "mQENBF", true, "PGP", "PGP key, 4 bytes"},
      {"a DER certificate", "MIIBIjAN", true, "X509", "X.509 certificate, 6 bytes"},
      {"only the type says", "AAAA", true, "application/pgp-keys", "PGP key, 3 bytes"},
      {"a data URI", "data:application/pgp-keys;base64,mQENBF", false, "", "PGP key, 4 bytes"},
      {"an address stays", "https://keys.example/anna.asc", false, "", "https://keys.example/anna.asc"},
      {"armored text inline", "-----BEGIN PGP PUBLIC KEY BLOCK-----\nmQENBF\n", false, "",
       "PGP key, 43 bytes"},
      {"unknown bytes", "AAAA", true, "", "Key, 3 bytes"},
      {"a page of base64", std::string(4096, 'A'), true, "", "Key, 3 KB"},
      {"a short text", "fingerprint 0xABCD", false, "", "fingerprint 0xABCD"},
  };
  for (const auto& c : cases) EXPECT_EQ(KeyText(c.value, c.base64, c.declared), c.text) << c.name;
  EXPECT_EQ(SoundText(std::string(3000, 'Q'), true), "2 KB of audio");
  EXPECT_EQ(SoundText("https://example.org/name.ogg", false), "https://example.org/name.ogg");
}

TEST(OtherValues, LocationsGendersAndAndroidItems) {
  std::string scratch;
  for (const auto& [value, text] :
       {std::pair{"48.137;11.575", "48.137, 11.575"}, std::pair{"geo:48.137,11.575", "48.137, 11.575"},
        std::pair{"geo:37.386013,-122.082932;u=10", "37.386013, -122.082932"},
        std::pair{"near the station", "near the station"}, std::pair{"1;2;3", "1;2;3"}}) {
    EXPECT_EQ(LocationText(value, scratch), text) << value;
  }
  EXPECT_EQ(WabGenderText("1"), "Female");
  EXPECT_EQ(WabGenderText(" 2 "), "Male");
  EXPECT_EQ(WabGenderText("0"), "");
  EXPECT_EQ(WabGenderText("Female"), "Female");

  const AndroidItem relation = ReadAndroidItem("vnd.android.cursor.item/relation;Kim Berg;14;;;;;;;;;;;;;");
  EXPECT_EQ(relation.kind, "relation");
  EXPECT_EQ(relation.data1, "Kim Berg");
  EXPECT_EQ(AndroidRelation(relation), "Spouse");
  EXPECT_EQ(AndroidRelation(ReadAndroidItem("vnd.android.cursor.item/relation;Jo;0;Godfather")), "Godfather");
  EXPECT_EQ(AndroidEvent(ReadAndroidItem("vnd.android.cursor.item/contact_event;2001-05-06;1")),
            "Anniversary");
  EXPECT_EQ(ReadAndroidItem("something else").kind, "");
}

}  // namespace
}  // namespace brevant
