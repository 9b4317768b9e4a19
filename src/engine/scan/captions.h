#pragma once

#include <cstdint>
#include <string>

#include "support/text.h"

namespace brevant {

// The fixed column captions.
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
};
inline constexpr int kCaptionCount = 42;

// A caption with its occurrence number; numbers below 2 mean the caption alone
// ("Email Address"), 2 and up are appended ("Email Address 2").
struct CaptionKey {
  Caption caption;
  std::uint64_t number = 1;
  bool operator==(const CaptionKey&) const = default;
};

std::string_view CaptionName(Caption caption);  // ASCII
void AppendCaptionText(std::string& out, CaptionKey key);

}  // namespace brevant
