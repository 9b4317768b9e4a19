#include "engine/contacts/property_captions.h"

#include <array>
#include <utility>

#include "engine/contacts/contact_values.h"
#include "engine/text/packed_name.h"

namespace brevant {

namespace {

// The components of N, in their order.
constexpr std::array<Caption, 5> kNameCaptions = {Caption::LastName, Caption::FirstName, Caption::MiddleName,
                                                  Caption::NamePrefix, Caption::NameSuffix};

std::string UpperCopy(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = UpperAscii(c);
  return upper;
}

}  // namespace

void PropertyCaptions::emitComponent(Caption caption, std::size_t index) {
  if (index < parts_.size()) store_.emit(caption, store_.unescaped(parts_[index]));
}

void PropertyCaptions::property(const ContentLine& line) {
  switch (line.name) {
    case PropertyName::FN:
      return store_.emit(Caption::DisplayName, store_.unescaped(store_.decode(line)));
    case PropertyName::N:
      CutComponents(store_.stable(store_.decode(line)), ';', parts_);
      for (std::size_t i = 0; i < kNameCaptions.size(); ++i) emitComponent(kNameCaptions[i], i);
      return;
    case PropertyName::ORG:
      // The organisation, then its departments from the largest down.
      CutComponents(store_.stable(store_.decode(line)), ';', parts_);
      emitComponent(Caption::Organization, 0);
      for (std::size_t i = 1; i < parts_.size(); ++i) emitComponent(Caption::Department, i);
      return;
    case PropertyName::BDAY:
      return store_.emit(Caption::Birthday,
                         NormalDate(store_.unescaped(store_.decode(line)), line.omitYear, scratch_));
    case PropertyName::ANNIVERSARY:
      return store_.emit(Caption::Anniversary,
                         NormalDate(store_.unescaped(store_.decode(line)), line.omitYear, scratch_));
    case PropertyName::NICKNAME:
      return store_.emit(Caption::Nickname, store_.unescaped(store_.decode(line)));
    case PropertyName::TITLE:
      return store_.emit(Caption::JobTitle, store_.unescaped(store_.decode(line)));
    case PropertyName::ROLE:
      return store_.emit(Caption::Role, store_.unescaped(store_.decode(line)));
    case PropertyName::EMAIL:
      return store_.emit(Caption::EmailAddress, store_.unescaped(store_.decode(line)));
    case PropertyName::URL:
      return store_.emit(Caption::Website, store_.unescaped(store_.decode(line)));
    case PropertyName::NOTE:
      return store_.emit(Caption::Notes, store_.unescaped(store_.decode(line)));
    case PropertyName::ADR:
      return address(store_.stable(store_.decode(line)), line.types);
    case PropertyName::TEL:
      return store_.emit(TelephoneCaption(line.types),
                         TelephoneNumber(store_.unescaped(store_.decode(line)), scratch_));
    case PropertyName::CATEGORIES:
      return store_.emit(Caption::Categories, categories(store_.stable(store_.decode(line))));
    case PropertyName::GENDER:
      return store_.emit(Caption::Gender, GenderText(store_.decode(line), scratch_));
    case PropertyName::IMPP:
      return store_.emit(Caption::IMAddress,
                         ImppText(store_.unescaped(store_.decode(line)), line.service, scratch_));
    case PropertyName::IM:
      return store_.emit(Caption::IMAddress,
                         ImText(line.nameText, store_.unescaped(store_.decode(line)), scratch_));
    case PropertyName::RELATED:
      return store_.emit(Caption::Related, store_.unescaped(store_.decode(line)));
    case PropertyName::PHONETIC_FIRST_NAME:
      return store_.emit(Caption::PhoneticFirstName, store_.unescaped(store_.decode(line)));
    case PropertyName::PHONETIC_LAST_NAME:
      return store_.emit(Caption::PhoneticLastName, store_.unescaped(store_.decode(line)));
    case PropertyName::ABDATE:
      return labelledDate(line);
    case PropertyName::ABLABEL:
      if (UpperCopy(store_.unescaped(store_.decode(line))).find("ANNIVERSARY") != std::string::npos) {
        anniversaryGroups_.insert(UpperCopy(line.group));
      } else {
        sink_.leftOut(line.nameText);
      }
      return;
    case PropertyName::Begin:
    case PropertyName::End:
    case PropertyName::Version:
      return;
    default:
      return sink_.leftOut(line.nameText);
  }
}

// An X-ABDATE is an anniversary when the label of its group says so; that
// label may come before or after it.
void PropertyCaptions::labelledDate(const ContentLine& line) {
  const std::string_view date =
      TrimBlanks(NormalDate(store_.unescaped(store_.decode(line)), line.omitYear, scratch_));
  if (date.empty()) return;
  datesByLabel_.push_back({UpperCopy(line.group), store_.hold(date)});
}

void PropertyCaptions::finishContact() {
  for (const LabelledDate& date : datesByLabel_) {
    if (anniversaryGroups_.contains(date.group)) {
      store_.emitHeld(Caption::Anniversary, date.held);
    } else {
      sink_.leftOut("X-ABDATE");
    }
  }
}

void PropertyCaptions::dropContact() {
  datesByLabel_.clear();
  anniversaryGroups_.clear();
}

// Comma-separated words, shown as a list.
std::string_view PropertyCaptions::categories(std::string_view value) {
  CutComponents(value, ',', parts_);
  joined_.clear();
  for (const std::string_view part : parts_) {
    const std::string_view word = TrimBlanks(store_.unescaped(part));
    if (word.empty()) continue;
    if (!joined_.empty()) joined_ += ", ";
    joined_.append(word);
  }
  return joined_;
}

// The components from `from` up to `to` that are not empty, joined by the separator.
std::string_view PropertyCaptions::joinComponents(std::size_t from, std::size_t to,
                                                  std::string_view separator) {
  joined_.clear();
  for (std::size_t i = from; i < to && i < parts_.size(); ++i) {
    const std::string_view part = TrimBlanks(store_.unescaped(parts_[i]));
    if (part.empty()) continue;
    if (!joined_.empty()) joined_ += separator;
    joined_.append(part);
  }
  return joined_;
}

// Post-office box, extended address, street, city, region, postal code,
// country. Address 1 is the street with the box before it, Address 2 the
// extended address; components past the seventh join the country.
void PropertyCaptions::address(std::string_view value, unsigned types) {
  CutComponents(value, ';', parts_);
  const Caption first = (types & kTypeWork) ? Caption::BusinessAddress1 : Caption::HomeAddress1;
  const auto caption = [first](int offset) { return static_cast<Caption>(static_cast<int>(first) + offset); };
  if (parts_.size() > 2) std::swap(parts_[1], parts_[2]);  // box, street, extended address
  store_.emit(caption(0), joinComponents(0, 2, ", "));
  emitComponent(caption(1), 2);
  for (std::size_t i = 3; i < 6; ++i) emitComponent(caption(static_cast<int>(i) - 1), i);
  store_.emit(caption(5), joinComponents(6, parts_.size(), ", "));
}

}  // namespace brevant
