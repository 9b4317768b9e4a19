#include "engine/scan/captions.h"

#include <array>
#include <charconv>

namespace brevant {

namespace {
constexpr std::array<std::string_view, kCaptionCount> kCaptionNames = {
    "Display Name",
    "Last Name",
    "First Name",
    "Organization",
    "Birthday",
    "Nickname",
    "Job Title",
    "Role",
    "Email Address",
    "Website",
    "Notes",
    "Business Address 1",
    "Business Address 2",
    "Business City",
    "Business State",
    "Business Postal Code",
    "Business Country",
    "Home Address 1",
    "Home Address 2",
    "Home City",
    "Home State",
    "Home Postal Code",
    "Home Country",
    "Home Fax",
    "Mobile Phone",
    "Pager",
    "Business Phone",
    "Home Phone",
    "Business Fax",
    "Middle Name",
    "Name Prefix",
    "Name Suffix",
    "Department",
    "Categories",
    "Anniversary",
    "Gender",
    "IM Address",
    "Related",
    "Phonetic First Name",
    "Phonetic Last Name",
    "Other Phone",
    "Other Fax",
};
}  // namespace

std::string_view CaptionName(Caption caption) { return kCaptionNames[static_cast<std::size_t>(caption)]; }

void AppendCaptionText(std::string& out, CaptionKey key) {
  out += CaptionName(key.caption);
  if (key.number >= 2) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, key.number).ptr;
    out += ' ';
    out.append(digits, end);
  }
}

}  // namespace brevant
