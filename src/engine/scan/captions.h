#pragma once

#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>

#include "support/text/text.h"

namespace brevant {

// The fixed column captions. A new caption goes at the end, before Count,
// with its row in kCaptions.
enum class Caption : std::uint8_t {
  DisplayName,
  LastName,
  FirstName,
  Organization,
  Birthday,
  Nickname,
  JobTitle,
  Role,
  EmailAddress,
  Website,
  Notes,
  BusinessAddress1,
  BusinessAddress2,
  BusinessCity,
  BusinessState,
  BusinessPostalCode,
  BusinessCountry,
  HomeAddress1,
  HomeAddress2,
  HomeCity,
  HomeState,
  HomePostalCode,
  HomeCountry,
  HomeFax,
  MobilePhone,
  Pager,
  BusinessPhone,
  HomePhone,
  // Read only when every contact gets its own row:
  BusinessFax,
  MiddleName,
  NamePrefix,
  NameSuffix,
  Department,
  Categories,
  Anniversary,
  Gender,
  IMAddress,
  Related,
  PhoneticFirstName,
  PhoneticLastName,
  OtherPhone,
  OtherFax,
  Photo,
  Logo,
  // The parts of an address; which address ("Home", "Business", a label) the cell's label says.
  AddressStreet,
  AddressExtended,
  AddressCity,
  AddressState,
  AddressPostalCode,
  AddressCountry,
  LabelledDate,  // a date that its label names
  SocialProfile,
  TimeZone,
  Location,
  Language,
  FreeBusy,
  Calendar,
  Key,
  PhoneticMiddleName,
  More,          // what a person typed that no other column takes, as "NAME: value" lines
  AddressPOBox,  // the post-office box of an address, beside its street
  Count          // not a caption: how many there are
};

struct CaptionRow {
  Caption caption;
  std::string_view text;  // ASCII
};

// Every caption and its text in the documents, in the order of Caption.
inline constexpr CaptionRow kCaptions[] = {
    {Caption::DisplayName, "Display Name"},
    {Caption::LastName, "Last Name"},
    {Caption::FirstName, "First Name"},
    {Caption::Organization, "Organization"},
    {Caption::Birthday, "Birthday"},
    {Caption::Nickname, "Nickname"},
    {Caption::JobTitle, "Job Title"},
    {Caption::Role, "Role"},
    {Caption::EmailAddress, "Email Address"},
    {Caption::Website, "Website"},
    {Caption::Notes, "Notes"},
    {Caption::BusinessAddress1, "Business Address 1"},
    {Caption::BusinessAddress2, "Business Address 2"},
    {Caption::BusinessCity, "Business City"},
    {Caption::BusinessState, "Business State"},
    {Caption::BusinessPostalCode, "Business Postal Code"},
    {Caption::BusinessCountry, "Business Country"},
    {Caption::HomeAddress1, "Home Address 1"},
    {Caption::HomeAddress2, "Home Address 2"},
    {Caption::HomeCity, "Home City"},
    {Caption::HomeState, "Home State"},
    {Caption::HomePostalCode, "Home Postal Code"},
    {Caption::HomeCountry, "Home Country"},
    {Caption::HomeFax, "Home Fax"},
    {Caption::MobilePhone, "Mobile Phone"},
    {Caption::Pager, "Pager"},
    {Caption::BusinessPhone, "Business Phone"},
    {Caption::HomePhone, "Home Phone"},
    // Read only when every contact gets its own row:
    {Caption::BusinessFax, "Business Fax"},
    {Caption::MiddleName, "Middle Name"},
    {Caption::NamePrefix, "Name Prefix"},
    {Caption::NameSuffix, "Name Suffix"},
    {Caption::Department, "Department"},
    {Caption::Categories, "Categories"},
    {Caption::Anniversary, "Anniversary"},
    {Caption::Gender, "Gender"},
    {Caption::IMAddress, "IM Address"},
    {Caption::Related, "Related"},
    {Caption::PhoneticFirstName, "Phonetic First Name"},
    {Caption::PhoneticLastName, "Phonetic Last Name"},
    {Caption::OtherPhone, "Other Phone"},
    {Caption::OtherFax, "Other Fax"},
    {Caption::Photo, "Photo"},
    {Caption::Logo, "Logo"},
    {Caption::AddressStreet, "Street"},
    {Caption::AddressExtended, "Extended Address"},
    {Caption::AddressCity, "City"},
    {Caption::AddressState, "State"},
    {Caption::AddressPostalCode, "Postal Code"},
    {Caption::AddressCountry, "Country"},
    {Caption::LabelledDate, "Date"},
    {Caption::SocialProfile, "Social Profile"},
    {Caption::TimeZone, "Time Zone"},
    {Caption::Location, "Location"},
    {Caption::Language, "Language"},
    {Caption::FreeBusy, "Free/Busy"},
    {Caption::Calendar, "Calendar"},
    {Caption::Key, "Key"},
    {Caption::PhoneticMiddleName, "Phonetic Middle Name"},
    {Caption::More, "More"},
    {Caption::AddressPOBox, "PO Box"},
};
inline constexpr int kCaptionCount = static_cast<int>(std::size(kCaptions));

constexpr bool CaptionsInOrder() {
  for (int i = 0; i < kCaptionCount; ++i) {
    if (static_cast<int>(kCaptions[i].caption) != i) return false;
  }
  return kCaptionCount == static_cast<int>(Caption::Count);
}
static_assert(CaptionsInOrder(), "kCaptions holds every caption once, in the order of Caption");

// A caption with its occurrence number; numbers below 2 mean the caption alone
// ("Email Address"), 2 and up are appended ("Email Address 2").
struct CaptionKey {
  Caption caption;
  std::uint64_t number = 1;
  bool operator==(const CaptionKey&) const = default;
};

inline std::string_view CaptionName(Caption caption) {
  return kCaptions[static_cast<std::size_t>(caption)].text;
}
void AppendCaptionText(std::string& out, CaptionKey key);

}  // namespace brevant
