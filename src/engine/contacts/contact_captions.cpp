#include "engine/contacts/contact_captions.h"

#include <array>
#include <charconv>
#include <initializer_list>

#include "engine/text/packed_name.h"

namespace brevant {

namespace {

// The columns in the order they stand; the parts of an address share the place of the first.
constexpr Caption kColumnOrder[] = {
    Caption::Photo,
    Caption::Logo,
    Caption::DisplayName,
    Caption::NamePrefix,
    Caption::FirstName,
    Caption::MiddleName,
    Caption::LastName,
    Caption::NameSuffix,
    Caption::Nickname,
    Caption::PhoneticFirstName,
    Caption::PhoneticMiddleName,
    Caption::PhoneticLastName,
    Caption::Gender,
    Caption::Language,
    Caption::Organization,
    Caption::Department,
    Caption::JobTitle,
    Caption::Role,
    Caption::MobilePhone,
    Caption::HomePhone,
    Caption::BusinessPhone,
    Caption::OtherPhone,
    Caption::Pager,
    Caption::HomeFax,
    Caption::BusinessFax,
    Caption::OtherFax,
    Caption::EmailAddress,
    Caption::IMAddress,
    Caption::AddressStreet,
    Caption::TimeZone,
    Caption::Location,
    Caption::Website,
    Caption::SocialProfile,
    Caption::Calendar,
    Caption::FreeBusy,
    Caption::Key,
    Caption::Birthday,
    Caption::Anniversary,
    Caption::LabelledDate,
    Caption::Related,
    Caption::Categories,
    Caption::Notes,
    Caption::More,
    // The line scanner's own, which one row per contact does not fill.
    Caption::BusinessAddress1,
    Caption::BusinessAddress2,
    Caption::BusinessCity,
    Caption::BusinessState,
    Caption::BusinessPostalCode,
    Caption::BusinessCountry,
    Caption::HomeAddress1,
    Caption::HomeAddress2,
    Caption::HomeCity,
    Caption::HomeState,
    Caption::HomePostalCode,
    Caption::HomeCountry,
};

constexpr std::array<std::uint8_t, kCaptionCount> kRanks = [] {
  std::array<std::uint8_t, kCaptionCount> ranks{};
  for (std::size_t i = 0; i < std::size(kColumnOrder); ++i) {
    ranks[static_cast<std::size_t>(kColumnOrder[i])] = static_cast<std::uint8_t>(i);
  }
  const auto street = ranks[static_cast<std::size_t>(Caption::AddressStreet)];
  for (const Caption part : kAddressParts) ranks[static_cast<std::size_t>(part)] = street;
  return ranks;
}();

// Every caption has its place: the ones placed and the address parts after the street are all.
static_assert(std::size(kColumnOrder) + std::size(kAddressParts) - 1 == kCaptionCount,
              "every caption has its place in kColumnOrder");
static_assert(std::size(kColumnOrder) <= kColumnRanks);

bool Mentions(std::string_view text, std::initializer_list<std::string_view> words) {
  for (const std::string_view word : words) {
    for (std::size_t i = 0; i + word.size() <= text.size(); ++i) {
      bool equal = true;
      for (std::size_t k = 0; k < word.size() && equal; ++k) equal = UpperAscii(text[i + k]) == word[k];
      if (equal) return true;
    }
  }
  return false;
}

void AppendNumber(std::string& out, std::uint64_t number) {
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
  out.append(digits, end);
}

// The label, and the word of its kind unless the label says it already ("Assistant Phone", "Home Page").
void AppendLabelled(std::string& out, std::string_view label,
                    std::initializer_list<std::string_view> kindWords, std::string_view kind) {
  out += label;
  if (!Mentions(label, kindWords)) out.append(" ").append(kind);
}

}  // namespace

const std::array<std::uint8_t, kCaptionCount> kColumnRankOf = kRanks;

void AppendContactCaption(std::string& out, Caption caption, std::string_view label, std::uint64_t number) {
  if (IsAddressPart(caption)) {
    // "Address", "Home Address 2", "Ferienhaus Address", then the part.
    if (label.empty()) {
      out += "Address";
    } else {
      AppendLabelled(out, label, {"ADDRESS"}, "Address");
    }
    if (number >= 2) {
      out += ' ';
      AppendNumber(out, number);
    }
    out.append(" - ").append(CaptionName(caption));
    return;
  }
  if (label.empty()) {
    out += CaptionName(caption);
  } else {
    switch (caption) {
      case Caption::MobilePhone:
      case Caption::HomePhone:
      case Caption::BusinessPhone:
      case Caption::OtherPhone:
      case Caption::Pager:
        AppendLabelled(out, label, {"PHONE", "FAX", "MOBILE", "PAGER", "MODEM"}, "Phone");
        break;
      case Caption::HomeFax:
      case Caption::BusinessFax:
      case Caption::OtherFax:
        AppendLabelled(out, label, {"FAX"}, "Fax");
        break;
      case Caption::EmailAddress:
        AppendLabelled(out, label, {"MAIL"}, "Email");
        break;
      case Caption::IMAddress:
        AppendLabelled(out, label, {"CHAT", "MESSENGER"}, "IM");
        break;
      case Caption::Website:
        AppendLabelled(out, label, {"PAGE", "SITE", "BLOG", "WEB", "URL", "LINK", "FEED", "PROFILE", "CHAT"},
                       "Website");
        break;
      case Caption::SocialProfile:
        AppendLabelled(out, label, {"PROFILE"}, "Profile");
        break;
      case Caption::LabelledDate:
        AppendLabelled(out, label, {"DATE", "DAY", "ANNIVERSARY"}, "Date");
        break;
      case Caption::Related:
        out += label;
        break;
      default:
        out.append(CaptionName(caption)).append(" (").append(label).append(")");
        break;
    }
  }
  if (number >= 2) {
    out += ' ';
    AppendNumber(out, number);
  }
}

}  // namespace brevant
