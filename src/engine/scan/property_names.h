#pragma once

#include <cstdint>
#include <string_view>

namespace brevant {

// The properties that either reader maps or needs for its structure.
enum class PropertyName : std::uint8_t {
  Other,
  Begin,
  End,
  Version,
  Agent,
  FN,
  N,
  ORG,
  BDAY,
  NICKNAME,
  TITLE,
  ROLE,
  EMAIL,
  URL,
  NOTE,
  ADR,
  TEL,
  CATEGORIES,
  ANNIVERSARY,
  ABDATE,   // X-ABDATE: a date whose label says what it is
  ABLABEL,  // X-ABLABEL: the label of the properties of its group
  GENDER,
  IMPP,
  IM,  // X-AIM, X-JABBER, X-SKYPE, ...: a handle of the service the name says
  RELATED,
  PHONETIC_FIRST_NAME,
  PHONETIC_LAST_NAME,
};

// How the line scanner takes a name: as a plain name (the whole trimmed name
// part, no parameters), as a type name (the name before the first ";"), both,
// or not at all. The full reader takes every name of the table.
enum LineScan : std::uint8_t { kNotScanned = 0, kPlainName = 1, kTypeName = 2 };

struct PropertyNameRow {
  std::string_view upper;  // as written, letter case aside
  PropertyName name;
  std::uint8_t lineScan;  // LineScan bits
};

// Every property name either reader knows, once.
inline constexpr PropertyNameRow kPropertyNames[] = {
    {"BEGIN", PropertyName::Begin, kPlainName},  // the line scanner counts the contacts of a file
    {"END", PropertyName::End, kNotScanned},
    {"VERSION", PropertyName::Version, kNotScanned},
    {"AGENT", PropertyName::Agent, kNotScanned},
    {"FN", PropertyName::FN, kPlainName},
    {"N", PropertyName::N, kPlainName | kTypeName},
    {"ORG", PropertyName::ORG, kPlainName},
    {"BDAY", PropertyName::BDAY, kPlainName},
    {"NICKNAME", PropertyName::NICKNAME, kPlainName},
    {"TITLE", PropertyName::TITLE, kPlainName},
    {"ROLE", PropertyName::ROLE, kPlainName},
    {"EMAIL", PropertyName::EMAIL, kTypeName},
    {"URL", PropertyName::URL, kTypeName},
    {"NOTE", PropertyName::NOTE, kTypeName},
    {"ADR", PropertyName::ADR, kTypeName},
    {"TEL", PropertyName::TEL, kTypeName},
    {"CATEGORIES", PropertyName::CATEGORIES, kNotScanned},
    {"ANNIVERSARY", PropertyName::ANNIVERSARY, kNotScanned},
    {"X-ANNIVERSARY", PropertyName::ANNIVERSARY, kNotScanned},
    {"X-ABDATE", PropertyName::ABDATE, kNotScanned},
    {"X-ABLABEL", PropertyName::ABLABEL, kNotScanned},
    {"GENDER", PropertyName::GENDER, kNotScanned},
    {"X-GENDER", PropertyName::GENDER, kNotScanned},
    {"IMPP", PropertyName::IMPP, kNotScanned},
    {"X-AIM", PropertyName::IM, kNotScanned},
    {"X-JABBER", PropertyName::IM, kNotScanned},
    {"X-SKYPE", PropertyName::IM, kNotScanned},
    {"X-SKYPE-USERNAME", PropertyName::IM, kNotScanned},
    {"X-GOOGLE-TALK", PropertyName::IM, kNotScanned},
    {"X-ICQ", PropertyName::IM, kNotScanned},
    {"X-MSN", PropertyName::IM, kNotScanned},
    {"X-YAHOO", PropertyName::IM, kNotScanned},
    {"X-QQ", PropertyName::IM, kNotScanned},
    {"RELATED", PropertyName::RELATED, kNotScanned},
    {"X-ABRELATEDNAMES", PropertyName::RELATED, kNotScanned},
    {"X-PHONETIC-FIRST-NAME", PropertyName::PHONETIC_FIRST_NAME, kNotScanned},
    {"X-PHONETIC-LAST-NAME", PropertyName::PHONETIC_LAST_NAME, kNotScanned},
};

// The row of a name (without group or parameters), ASCII letter case aside; a
// row of PropertyName::Other that no reader takes for any other name.
template <class Ch>
const PropertyNameRow& FindPropertyName(std::basic_string_view<Ch> name);

extern template const PropertyNameRow& FindPropertyName<char>(std::string_view);
extern template const PropertyNameRow& FindPropertyName<char16_t>(std::u16string_view);

}  // namespace brevant
