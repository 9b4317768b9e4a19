#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace brevant {

// What a property that neither reader's table of names holds means when every
// contact gets its own row: the address books' own properties (Outlook,
// Evolution, Windows Address Book, Apple, Google, KDE, Android, Mozilla) and
// the vCard properties beyond the usual few, each as its makers document it.
enum class PropertyMeaning : std::uint8_t {
  Machine,        // for programs only (identifiers, versions, layouts, file-as texts): left out
  More,           // what a person typed, with no column of its own: a line of "More", under `label`
  Anniversary,    // a date
  LabelledDate,   // a date that `label` names ("Date of Death")
  Related,        // a person; `label` is the relation, when the property says it
  IMAddress,      // a handle of the service `label` names
  Gender,         // a word, or Windows' 1 (female) and 2 (male)
  Website,        // `label` names what kind ("Blog")
  SocialProfile,  // a profile on the network `label` names
  Telephone,      // a TEL of another name: its TYPE says what kind
  Picture,        // a photo
  Department,
  Role,
  PhoneticFirstName,
  PhoneticMiddleName,
  PhoneticLastName,
  TimeZone,
  Location,  // GEO
  Language,
  FreeBusy,
  Calendar,
  Key,
  Sound,
  AndroidCustom,  // Android's nickname, relation or event, in its own packed form
  AddressLabel,   // an address as printed on an envelope: a copy when the contact has the address itself
};

struct AddressBookProperty {
  std::string_view name;  // upper-case
  PropertyMeaning meaning;
  std::string_view label;  // the word the meaning takes, if any
  std::string_view maker;  // whose documentation names it
};

// The property of this name (any letter case); nullptr for a name the table
// does not hold.
const AddressBookProperty* FindAddressBookProperty(std::string_view name);

// The whole table, sorted by name.
std::span<const AddressBookProperty> AddressBookProperties();

}  // namespace brevant
