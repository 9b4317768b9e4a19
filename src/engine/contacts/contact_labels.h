#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace brevant {

// The labels that cells carry beside their caption ("Home" of a home e-mail
// address, "Spouse" of a related name, a label the user typed in an address
// book), each text once, by a small number: 0 is no label. The words that
// type parameters and the address books' built-in labels give come first, in
// the order their columns take; the labels users typed follow as they are met.
// Past 65,535 texts, further ones are told as "Other".
class ContactLabels {
 public:
  ContactLabels();
  ContactLabels(const ContactLabels&) = delete;
  ContactLabels& operator=(const ContactLabels&) = delete;
  ContactLabels(ContactLabels&&) = default;
  ContactLabels& operator=(ContactLabels&&) = default;

  std::uint16_t id(std::string_view text);
  std::string_view text(std::uint16_t id) const { return texts_[id]; }
  std::size_t size() const { return texts_.size(); }

  static constexpr std::uint16_t kNone = 0;

 private:
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>()(text); }
  };
  std::vector<std::string> texts_;
  std::unordered_map<std::string, std::uint16_t, Hash, std::equal_to<>> ids_;
};

// The words a label shows: Apple's built-in labels ("_$!<HomePage>!$_") as
// words ("Home Page"), a label in capitals ("BLOG", "HOME_PAGE") in ordinary
// letter case, any other as the user wrote it, blanks trimmed.
std::string LabelWords(std::string_view label);

// The label that a type word of TYPE gives (HOME, WORK, OTHER, and the kinds
// of telephone beyond the usual: CAR, ISDN, VIDEO, Outlook's and Evolution's
// ASSISTANT, CALLBACK, COMPANY, RADIO, TELEX, TTYTDD, ...); empty for a type
// word that names no label (PREF, VOICE, INTERNET, ...).
std::string_view TypeLabel(std::string_view typeWord);

// A relation's kind as a word ("spouse" and Apple's "_$!<Spouse>!$_" are
// "Spouse", "co-worker" is "Co-worker"); empty for none.
std::string RelationWords(std::string_view kind);

}  // namespace brevant
