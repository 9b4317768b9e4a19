#include "engine/contacts/contact_labels.h"

#include <limits>

#include "engine/contacts/contact_values.h"
#include "engine/text/packed_name.h"

namespace brevant {

namespace {

// The labels of type words and built-in labels, in the order their columns
// take among the columns of one kind.
constexpr std::string_view kKnownLabels[] = {
    "Home",     "Business",  "Other",   "Main",      "Car",        "Assistant", "Callback",
    "Company",  "ISDN",      "Radio",   "Telex",     "TTY/TDD",    "Text",      "Video",
    "Modem",    "Home Page", "Blog",    "Profile",   "Video Chat", "Spouse",    "Partner",
    "Child",    "Parent",    "Mother",  "Father",    "Sibling",    "Brother",   "Sister",
    "Relative", "Friend",    "Manager", "Co-worker", "Colleague",  "Emergency", "Date of Death",
};

struct Word {
  std::string_view key;  // upper-case
  std::string_view words;
};

// Type words of TYPE that name a label.
constexpr Word kTypeLabels[] = {
    {"HOME", "Home"},
    {"WORK", "Business"},
    {"OTHER", "Other"},
    {"PERSONAL", "Home"},
    {"BUSINESS", "Business"},
    {"MAIN", "Main"},
    {"CAR", "Car"},
    {"ISDN", "ISDN"},
    {"VIDEO", "Video"},
    {"BBS", "Modem"},
    {"MODEM", "Modem"},
    {"TEXT", "Text"},
    {"TEXTPHONE", "TTY/TDD"},
    // Outlook's X-MS-TEL, and Evolution's own kinds of telephone.
    {"ASSISTANT", "Assistant"},
    {"CALLBACK", "Callback"},
    {"COMPANY", "Company"},
    {"RADIO", "Radio"},
    {"TELEX", "Telex"},
    {"TTYTDD", "TTY/TDD"},
    {"X-EVOLUTION-ASSISTANT", "Assistant"},
    {"X-EVOLUTION-CALLBACK", "Callback"},
    {"X-EVOLUTION-CAR", "Car"},
    {"X-EVOLUTION-COMPANY", "Company"},
    {"X-EVOLUTION-PRIMARY", "Main"},
    {"X-EVOLUTION-RADIO", "Radio"},
    {"X-EVOLUTION-TELEX", "Telex"},
    {"X-EVOLUTION-TTYTDD", "TTY/TDD"},
};

// Apple's built-in labels, "_$!<Name>!$_", whose names are not plain words.
constexpr Word kAppleLabels[] = {
    {"HOMEFAX", "Home Fax"},   {"WORKFAX", "Business Fax"}, {"OTHERFAX", "Other Fax"},
    {"HOMEPAGE", "Home Page"}, {"WORK", "Business"},        {"IPHONE", "iPhone"},
};

bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }
bool IsLower(char c) { return c >= 'a' && c <= 'z'; }

std::string_view Find(const auto& table, std::string_view key) {
  for (const Word& word : table) {
    if (EqualsUpperAscii(key, word.key)) return word.words;
  }
  return {};
}

}  // namespace

ContactLabels::ContactLabels() {
  texts_.emplace_back();
  for (const std::string_view known : kKnownLabels) id(known);
}

std::uint16_t ContactLabels::id(std::string_view text) {
  if (text.empty()) return kNone;
  if (const auto found = ids_.find(text); found != ids_.end()) return found->second;
  if (texts_.size() > std::numeric_limits<std::uint16_t>::max()) return id("Other");
  const auto next = static_cast<std::uint16_t>(texts_.size());
  texts_.emplace_back(text);
  ids_.emplace(texts_.back(), next);
  return next;
}

std::string LabelWords(std::string_view label) {
  label = TrimBlanks(label);
  std::string words;
  if (label.starts_with("_$!<") && label.ends_with(">!$_") && label.size() > 8) {
    const std::string_view name = label.substr(4, label.size() - 8);
    if (const std::string_view known = Find(kAppleLabels, name); !known.empty()) return std::string(known);
    // A name in camel case: "HomePage", "Mobile".
    for (std::size_t i = 0; i < name.size(); ++i) {
      if (i > 0 && IsUpper(name[i]) && IsLower(name[i - 1])) words += ' ';
      words += name[i];
    }
  } else {
    words.assign(label);
    // A label in capitals, as some exports write their own: "BLOG", "HOME_PAGE".
    bool capitals = words.size() > 1;
    for (const char c : words) capitals = capitals && (IsUpper(c) || c == '_' || c == ' ');
    if (capitals) {
      for (std::size_t i = 0; i < words.size(); ++i) {
        if (words[i] == '_') words[i] = ' ';
        if (i > 0 && words[i - 1] != ' ' && IsUpper(words[i]))
          words[i] = static_cast<char>(words[i] - 'A' + 'a');
      }
    }
  }
  // The three words every address book has read alike, however they were written.
  if (EqualsUpperAscii(words, "HOME")) return "Home";
  if (EqualsUpperAscii(words, "WORK") || EqualsUpperAscii(words, "BUSINESS")) return "Business";
  if (EqualsUpperAscii(words, "OTHER")) return "Other";
  return words;
}

std::string_view TypeLabel(std::string_view typeWord) { return Find(kTypeLabels, TrimBlanks(typeWord)); }

std::string RelationWords(std::string_view kind) {
  std::string words = LabelWords(kind);
  if (!words.empty() && IsLower(words[0])) words[0] = static_cast<char>(words[0] - 'a' + 'A');
  return words;
}

}  // namespace brevant
