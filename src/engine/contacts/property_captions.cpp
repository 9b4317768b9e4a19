#include "engine/contacts/property_captions.h"

#include <algorithm>
#include <array>
#include <functional>
#include <initializer_list>
#include <utility>

#include "engine/contacts/contact_values.h"
#include "engine/contacts/other_values.h"
#include "engine/contacts/pictures.h"
#include "engine/text/file_text.h"
#include "engine/text/packed_name.h"

namespace brevant {

namespace {

// Letters, digits and hyphens, as the vCard documents define a property name.
bool IsPropertyName(std::string_view name) {
  if (name.empty()) return false;
  for (const char c : name)
    if (!(('A' <= c && c <= 'Z') || ('a' <= c && c <= 'z') || ('0' <= c && c <= '9') || c == '-'))
      return false;
  return true;
}

// The components of N, in their order.
constexpr std::array<Caption, 5> kNameCaptions = {Caption::LastName, Caption::FirstName, Caption::MiddleName,
                                                  Caption::NamePrefix, Caption::NameSuffix};

std::string UpperCopy(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = UpperAscii(c);
  return upper;
}

bool Is(std::string_view words, std::string_view upper) { return EqualsUpperAscii(words, upper); }

// A label's letters alone, in capitals: "homeFax", "Home Fax" and "HOME_FAX" are all "HOMEFAX".
std::string LettersOf(std::string_view words) {
  std::string letters;
  for (const char c : words) {
    const char upper = UpperAscii(c);
    if (upper >= 'A' && upper <= 'Z') letters += upper;
  }
  return letters;
}

// The caption a telephone's label gives it: Apple's built-in labels and the
// plain words, however written, name a kind of telephone; any other label
// keeps Other Phone (or Other Fax) and becomes the cell's label.
std::pair<Caption, bool> TelephoneOfLabel(std::string_view words, bool fax) {
  const std::string letters = LettersOf(words);
  const auto is = [&](std::initializer_list<std::string_view> names) {
    return std::find(names.begin(), names.end(), letters) != names.end();
  };
  if (is({"MOBILE", "CELL", "IPHONE", "MOBILEPHONE", "CELLPHONE"})) return {Caption::MobilePhone, false};
  if (is({"HOME"})) return {fax ? Caption::HomeFax : Caption::HomePhone, false};
  if (is({"HOMEPHONE"})) return {Caption::HomePhone, false};
  if (is({"BUSINESS", "WORK"})) return {fax ? Caption::BusinessFax : Caption::BusinessPhone, false};
  if (is({"BUSINESSPHONE", "WORKPHONE"})) return {Caption::BusinessPhone, false};
  if (is({"HOMEFAX"})) return {Caption::HomeFax, false};
  if (is({"BUSINESSFAX", "WORKFAX"})) return {Caption::BusinessFax, false};
  if (is({"OTHERFAX", "FAX"})) return {Caption::OtherFax, false};
  if (is({"PAGER"})) return {Caption::Pager, false};
  if (is({"OTHER", "OTHERPHONE"})) return {fax ? Caption::OtherFax : Caption::OtherPhone, false};
  return {fax ? Caption::OtherFax : Caption::OtherPhone, true};
}

// The label a type word gives that a telephone's own label names, with or
// without "Phone" ("AssistantPhone", "Car phone"); empty for none.
std::string_view TelephoneTypeLabel(std::string_view words) {
  std::string letters = LettersOf(words);
  if (letters.size() > 5 && letters.ends_with("PHONE")) letters.resize(letters.size() - 5);
  return TypeLabel(letters);
}

std::string Capitalized(std::string_view word) {
  std::string text = LabelWords(word);
  if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') text[0] = static_cast<char>(text[0] - 'a' + 'A');
  return text;
}

// The name that a name written as X-FCENCODED-<hex> stands for (one with
// characters no property name may hold, "X-FC-RelatedNames:Mother"); empty
// for any other name, or hex that is not whole.
std::string HexEncodedName(std::string_view name) {
  constexpr std::string_view kPrefix = "X-FCENCODED-";
  if (name.size() <= kPrefix.size() || !EqualsUpperAscii(name.substr(0, kPrefix.size()), kPrefix)) return {};
  name.remove_prefix(kPrefix.size());
  const auto digit = [](char c) {
    const char upper = UpperAscii(c);
    if (c >= '0' && c <= '9') return c - '0';
    return upper >= 'A' && upper <= 'F' ? upper - 'A' + 10 : -1;
  };
  std::string decoded;
  for (std::size_t i = 0; i + 1 < name.size(); i += 2) {
    const int high = digit(name[i]), low = digit(name[i + 1]);
    if (high < 0 || low < 0) return {};
    decoded += static_cast<char>(high << 4 | low);
  }
  if (name.size() % 2 != 0) return {};
  return decoded;
}

bool IsWabGender(std::string_view value) {
  value = TrimBlanks(value);
  return value == "0" || value == "1" || value == "2";
}

}  // namespace

std::string_view PropertyCaptions::text(const ContentLine& line) {
  return store_.unescaped(store_.decode(line));
}

void PropertyCaptions::emitComponent(Caption caption, std::size_t index, std::uint16_t label,
                                     std::uint32_t number) {
  if (index < parts_.size()) store_.emit(caption, store_.unescaped(parts_[index]), label, number);
}

std::uint16_t PropertyCaptions::typeLabel(const ContentLine& line, bool ownWords) {
  if (line.types & kTypeHome) return home_;
  if (line.types & kTypeWork) return business_;
  if (line.typeWord.empty()) return ContactLabels::kNone;
  const std::string_view known = TypeLabel(line.typeWord);
  // A type word of the user's own ("school") names an e-mail or postal address too.
  if (known.empty() && ownWords) return labels_.id(Capitalized(line.typeWord));
  return labels_.id(known);
}

void PropertyCaptions::grouped(const ContentLine& line, Kind kind, std::size_t firstCell) {
  if (line.group.empty()) return;
  grouped_.push_back({UpperCopy(line.group), kind, (line.types & kTypeFax) != 0, firstCell,
                      store_.contactCells().size(), more_.size() - (kind == Kind::More ? 1 : 0)});
}

void PropertyCaptions::property(const ContentLine& line) {
  if (line.name == PropertyName::Other) return bookProperty(line);
  mapped(line);
}

void PropertyCaptions::mapped(const ContentLine& line) {
  const std::size_t first = cellsSoFar(line);
  switch (line.name) {
    case PropertyName::FN:
      return store_.emit(Caption::DisplayName, text(line));
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
      return store_.emit(Caption::Birthday, NormalDate(text(line), line.omitYear, scratch_));
    case PropertyName::ANNIVERSARY:
      return store_.emit(Caption::Anniversary, NormalDate(text(line), line.omitYear, scratch_));
    case PropertyName::NICKNAME:
      return store_.emit(Caption::Nickname, text(line));
    case PropertyName::TITLE:
      return store_.emit(Caption::JobTitle, text(line));
    case PropertyName::ROLE:
      return store_.emit(Caption::Role, text(line));
    case PropertyName::NOTE:
      return store_.emit(Caption::Notes, text(line));
    case PropertyName::CATEGORIES:
      return store_.emit(Caption::Categories, categories(store_.stable(store_.decode(line))));
    case PropertyName::GENDER:
      return store_.emit(Caption::Gender, GenderText(store_.decode(line), scratch_));
    case PropertyName::PHONETIC_FIRST_NAME:
      return store_.emit(Caption::PhoneticFirstName, text(line));
    case PropertyName::PHONETIC_LAST_NAME:
      return store_.emit(Caption::PhoneticLastName, text(line));
    case PropertyName::EMAIL:
      store_.emit(Caption::EmailAddress, text(line), typeLabel(line, true));
      return grouped(line, Kind::Email, first);
    case PropertyName::URL:
      store_.emit(Caption::Website, text(line), websiteLabel(typeLabel(line)));
      return grouped(line, Kind::Website, first);
    case PropertyName::ADR:
      return address(line, store_.stable(store_.decode(line)));
    case PropertyName::TEL:
      return telephone(line, TelephoneNumber(text(line), scratch_));
    case PropertyName::IMPP:
      return imAddress(line, ImppParts(text(line), line.service));
    case PropertyName::IM:
      return imAddress(line, ImParts(line.nameText, text(line)));
    case PropertyName::RELATED:
      store_.emit(Caption::Related, text(line), labels_.id(RelationWords(line.typeWord)));
      return grouped(line, Kind::Related, first);
    case PropertyName::ABDATE:
      store_.emit(Caption::LabelledDate, NormalDate(text(line), line.omitYear, scratch_));
      return grouped(line, Kind::Date, first);
    case PropertyName::ABLABEL:
      groupLabels_[UpperCopy(line.group)].text = Utf8Of(TrimBlanks(text(line)));
      return;
    case PropertyName::Agent:
      // An agent given as a block of its own is another contact, which no column shows.
      if (TrimBlanks(line.value).empty()) {
        agent_ = true;
        return;
      }
      return moreLine(line, "Agent", text(line));
    case PropertyName::Begin:
    case PropertyName::End:
    case PropertyName::Version:
    case PropertyName::Other:
      return;
  }
}

void PropertyCaptions::bookProperty(const ContentLine& line) {
  const AddressBookProperty* book = line.book;
  if (book == nullptr) {
    if (const std::string decoded = HexEncodedName(line.nameText); !decoded.empty()) {
      return encodedProperty(line, decoded);
    }
    // A name of letters, digits and hyphens is a property someone wrote; any
    // other bytes before a colon (a binary file's) are no one's data.
    if (!IsPropertyName(line.nameText)) return sink_.leftOut(line.nameText, {});
    return moreLine(line, line.nameText, text(line));
  }
  const std::size_t first = cellsSoFar(line);
  const auto emit = [&](Caption caption, std::string_view value, std::string_view label = {}) {
    store_.emit(caption, value, labels_.id(label));
  };
  switch (book->meaning) {
    case PropertyMeaning::Machine:
      return sink_.leftOut(line.nameText, {});
    case PropertyMeaning::More:
      return moreLine(line, book->label, text(line));
    case PropertyMeaning::Anniversary:
      return emit(Caption::Anniversary, NormalDate(text(line), line.omitYear, scratch_));
    case PropertyMeaning::LabelledDate:
      emit(Caption::LabelledDate, NormalDate(text(line), line.omitYear, scratch_), book->label);
      return grouped(line, Kind::Date, first);
    case PropertyMeaning::Related:
      emit(Caption::Related, text(line),
           book->label.empty() ? RelationWords(line.typeWord) : std::string(book->label));
      return grouped(line, Kind::Related, first);
    case PropertyMeaning::IMAddress:
      return imAddress(line, ImppParts(text(line), book->label.empty() ? line.service : book->label));
    case PropertyMeaning::Gender: {
      const std::string_view value = store_.decode(line);
      return emit(Caption::Gender, IsWabGender(value) ? WabGenderText(value) : GenderText(value, scratch_));
    }
    case PropertyMeaning::Website:
      store_.emit(Caption::Website, text(line),
                  book->label.empty() ? websiteLabel(typeLabel(line)) : labels_.id(book->label));
      return grouped(line, Kind::Website, first);
    case PropertyMeaning::SocialProfile:
      emit(Caption::SocialProfile, text(line),
           book->label.empty() ? Capitalized(line.typeWord) : std::string(book->label));
      return grouped(line, Kind::Social, first);
    case PropertyMeaning::Telephone:
      return telephone(line, TelephoneNumber(text(line), scratch_));
    case PropertyMeaning::Picture:
      return picture(line, book->label == "Logo" ? Caption::Logo : Caption::Photo);
    case PropertyMeaning::Department:
      return emit(Caption::Department, text(line));
    case PropertyMeaning::Role:
      return emit(Caption::Role, text(line));
    case PropertyMeaning::PhoneticFirstName:
      return emit(Caption::PhoneticFirstName, text(line));
    case PropertyMeaning::PhoneticMiddleName:
      return emit(Caption::PhoneticMiddleName, text(line));
    case PropertyMeaning::PhoneticLastName:
      return emit(Caption::PhoneticLastName, text(line));
    case PropertyMeaning::TimeZone:
      return emit(Caption::TimeZone, text(line));
    case PropertyMeaning::Location:
      return emit(Caption::Location, LocationText(text(line), scratch_));
    case PropertyMeaning::Language:
      return emit(Caption::Language, text(line));
    case PropertyMeaning::FreeBusy:
      return emit(Caption::FreeBusy, text(line));
    case PropertyMeaning::Calendar:
      return emit(Caption::Calendar, text(line));
    case PropertyMeaning::Key:
      return emit(Caption::Key,
                  KeyText(line.value, line.base64, line.typeWord.empty() ? line.mediaType : line.typeWord));
    case PropertyMeaning::Sound:
      return moreLine(line, "Sound", SoundText(line.value, line.base64));
    case PropertyMeaning::AndroidCustom:
      return androidItem(line);
    case PropertyMeaning::AddressLabel:
      addressLabels_.push_back({store_.hold(text(line)), typeLabel(line, true)});
      return;
  }
}

// A property whose name was written in hex: a kind ("X-FC-RelatedNames",
// "X-FC-Dates") and the label after its colon ("Mother", "Graduation").
void PropertyCaptions::encodedProperty(const ContentLine& line, std::string_view decoded) {
  const std::size_t colon = decoded.find(':');
  const std::string kind = UpperCopy(decoded.substr(0, colon));
  const std::string label =
      colon == std::string_view::npos ? std::string() : LabelWords(decoded.substr(colon + 1));
  const auto mentions = [&](std::string_view word) { return kind.find(word) != std::string::npos; };
  if (mentions("RELATED")) return store_.emit(Caption::Related, text(line), labels_.id(RelationWords(label)));
  if (mentions("DATE") || mentions("EVENT")) {
    const std::string_view date = NormalDate(text(line), line.omitYear, scratch_);
    if (Is(label, "ANNIVERSARY")) return store_.emit(Caption::Anniversary, date);
    if (Is(label, "BIRTHDAY")) return store_.emit(Caption::Birthday, date);
    return store_.emit(Caption::LabelledDate, date, labels_.id(label));
  }
  moreLine(line, label.empty() ? Utf8Of(decoded) : label, text(line));
}

void PropertyCaptions::androidItem(const ContentLine& line) {
  const AndroidItem item = ReadAndroidItem(store_.stable(store_.decode(line)));
  if (item.kind == "nickname") return store_.emit(Caption::Nickname, store_.unescaped(item.data1));
  if (item.kind == "relation") {
    return store_.emit(Caption::Related, store_.unescaped(item.data1),
                       labels_.id(RelationWords(AndroidRelation(item))));
  }
  if (item.kind == "contact_event") {
    const std::string_view kind = AndroidEvent(item);
    const std::string_view date = NormalDate(store_.unescaped(item.data1), {}, scratch_);
    if (Is(kind, "ANNIVERSARY")) return store_.emit(Caption::Anniversary, date);
    if (Is(kind, "BIRTHDAY")) return store_.emit(Caption::Birthday, date);
    return store_.emit(Caption::LabelledDate, date, labels_.id(LabelWords(kind)));
  }
  moreLine(line, line.nameText, text(line));
}

// An IM address of a type ("Home IM") says its service in its value; any
// other is captioned by its service ("Skype IM"), and keeps it in its value
// too when its group's label may caption it instead.
void PropertyCaptions::imAddress(const ContentLine& line, ImAddress address) {
  const std::size_t first = cellsSoFar(line);
  std::uint16_t label = typeLabel(line);
  if (label == ContactLabels::kNone && !address.service.empty()) {
    std::string service(address.service);  // as the table names it, or a scheme ("matrix") capitalised
    if (service[0] >= 'a' && service[0] <= 'z') service[0] = static_cast<char>(service[0] - 'a' + 'A');
    label = labels_.id(service);
    if (line.group.empty()) return store_.emit(Caption::IMAddress, address.handle, label);
  }
  if (address.service.empty() || address.handle.empty()) {
    store_.emit(Caption::IMAddress, address.handle, label);
  } else {
    const std::string service(address.service);  // it may stand in the scratch text
    store_.emit(Caption::IMAddress, scratch_.assign(service).append(": ").append(address.handle), label);
  }
  grouped(line, Kind::IM, first);
}

void PropertyCaptions::picture(const ContentLine& line, Caption caption) {
  const PictureCell cell =
      ReadPicture(line.value, line.base64, line.typeWord.empty() ? line.mediaType : line.typeWord);
  store_.emit(caption, cell.base64.empty() ? std::string_view(cell.text) : cell.base64);
}

void PropertyCaptions::telephone(const ContentLine& line, std::string_view number) {
  const std::size_t first = cellsSoFar(line);
  const Caption caption = TelephoneCaption(line.types);
  std::uint16_t label = 0;
  if (caption == Caption::OtherPhone || caption == Caption::OtherFax) {
    // A kind of telephone that has no caption of its own: a car phone, an assistant's.
    const std::string_view words = TypeLabel(line.typeWord);
    if (!Is(words, "OTHER")) label = labels_.id(words);
  }
  store_.emit(caption, number, label);
  grouped(line, Kind::Telephone, first);
}

// Post-office box, extended address, street, city, region, postal code,
// country, each a part of its own; components past the seventh join the
// country. All parts take the address's number, so that a second home
// address reads as one block beside the first.
void PropertyCaptions::address(const ContentLine& line, std::string_view value) {
  CutComponents(value, ';', parts_);
  bool any = false;
  for (const std::string_view part : parts_) any = any || !TrimBlanks(part).empty();
  if (!any) return;
  const std::uint16_t label = typeLabel(line, true);
  const std::uint32_t number = store_.nextAddressNumber(label);
  const std::size_t first = store_.contactCells().size();
  emitComponent(Caption::AddressStreet, 2, label, number);
  emitComponent(Caption::AddressPOBox, 0, label, number);
  emitComponent(Caption::AddressExtended, 1, label, number);
  emitComponent(Caption::AddressCity, 3, label, number);
  emitComponent(Caption::AddressState, 4, label, number);
  emitComponent(Caption::AddressPostalCode, 5, label, number);
  store_.emit(Caption::AddressCountry, joinComponents(6, parts_.size(), ", "), label, number);
  const std::size_t end = store_.contactCells().size();
  if (end == first) return;
  // The value as read, for a label that may repeat it (the cells of a sink that
  // keeps no values hold none): where it stands in the input, or else a copy.
  const std::string_view input = store_.input();
  const std::less_equal<const char*> atOrBefore;
  if (atOrBefore(input.data(), value.data()) &&
      atOrBefore(value.data() + value.size(), input.data() + input.size())) {
    addressValues_.push_back({false, static_cast<std::size_t>(value.data() - input.data()), value.size()});
  } else {
    addressValues_.push_back({true, addressCopies_.size(), value.size()});
    addressCopies_.append(value);
  }
  addresses_.emplace_back(first, end);
  grouped(line, Kind::Address, first);
}

void PropertyCaptions::moreLine(const ContentLine& line, std::string_view name, std::string_view value) {
  value = TrimBlanks(value);
  if (value.empty()) return;
  more_.push_back({std::string(name), UpperCopy(line.group), store_.hold(value)});
  grouped(line, Kind::More, store_.contactCells().size());
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

// The label of each group goes to the cells of its properties; gives whether
// any caption or label changed.
bool PropertyCaptions::applyLabels() {
  bool changed = false;
  const std::span<ContactCell> cells = store_.contactCells();
  for (const Grouped& property : grouped_) {
    const auto found = groupLabels_.find(property.group);
    if (found == groupLabels_.end() || found->second.text.empty()) continue;
    found->second.used = true;
    const std::string words = LabelWords(found->second.text);
    if (property.kind == Kind::More) {
      more_[property.more].name = words;
      continue;
    }
    for (std::size_t k = property.firstCell; k < property.endCell && k < cells.size(); ++k) {
      Caption caption = cells[k].caption();
      std::uint16_t label = labels_.id(words);
      switch (property.kind) {
        case Kind::Telephone: {
          const auto [kind, keepsLabel] = TelephoneOfLabel(words, property.fax);
          caption = kind;
          if (!keepsLabel) {
            label = 0;
          } else if (const std::string_view known = TelephoneTypeLabel(words); !known.empty()) {
            label = labels_.id(known);  // one column with the telephones of that type word
          }
          break;
        }
        case Kind::Website: {
          label = websiteLabel(label);
          break;
        }
        case Kind::Related:
          label = labels_.id(RelationWords(found->second.text));
          break;
        case Kind::Date:
          if (Is(words, "ANNIVERSARY")) {
            caption = Caption::Anniversary, label = 0;
          } else if (Is(words, "BIRTHDAY")) {
            caption = Caption::Birthday, label = 0;
          }
          break;
        default:
          break;
      }
      cells[k] = cells[k].with(caption, label, cells[k].number());
      changed = true;
    }
  }
  return changed;
}

std::string PropertyCaptions::contactName() {
  std::string first, last, organisation;
  for (const ContactCell& cell : store_.contactCells()) {
    switch (cell.caption()) {
      case Caption::DisplayName:
        return store_.utf8Value(cell);
      case Caption::FirstName:
        first = store_.utf8Value(cell);
        break;
      case Caption::LastName:
        last = store_.utf8Value(cell);
        break;
      case Caption::Organization:
        organisation = store_.utf8Value(cell);
        break;
      default:
        break;
    }
  }
  if (!first.empty() || !last.empty()) return first + (first.empty() || last.empty() ? "" : " ") + last;
  return organisation.empty() ? "a contact without a name" : organisation;
}

// Whether an address label repeats one of the contact's addresses: the
// street, box, city and postal code of one all stand in it.
bool PropertyCaptions::repeatsAnAddress(std::string_view label) {
  for (const AddressValue& address : addressValues_) {
    CutComponents((address.copied ? std::string_view(addressCopies_) : store_.input())
                      .substr(address.offset, address.length),
                  ';', parts_);
    bool all = true;
    for (const std::size_t part : {2u, 0u, 3u, 5u}) {
      if (part >= parts_.size() || TrimBlanks(parts_[part]).empty()) continue;
      scratch_.clear();
      AppendUnescaped(scratch_, TrimBlanks(parts_[part]));
      ForEachLine(std::string_view(scratch_),
                  [&](std::string_view piece) { all = all && label.find(piece) != std::string_view::npos; });
    }
    if (all) return true;
  }
  return false;
}

void PropertyCaptions::finishContact() {
  // An address label that repeats an address is a copy; any other is an address of its kind.
  for (const auto& [held, label] : addressLabels_) {
    if (repeatsAnAddress(store_.held(held))) {
      sink_.leftOut("LABEL", "copies of shown addresses");
      continue;
    }
    labelAddresses_.push_back({held, label});
  }
  for (const auto& [held, label] : labelAddresses_) {
    const std::size_t first = store_.contactCells().size();
    store_.emit(Caption::AddressStreet, store_.held(held), label, store_.nextAddressNumber(label));
    if (store_.contactCells().size() > first) addresses_.emplace_back(first, store_.contactCells().size());
  }
  if (applyLabels()) store_.renumber(addresses_);
  std::vector<ValueStore::Line> lines;
  for (const More& more : more_) lines.push_back({more.name, more.held});
  store_.emitLines(Caption::More, lines);
  // What a person might miss is named with the contact it belongs to.
  const auto leftOutOfContact = [&](std::string_view name, std::string_view what) {
    sink_.leftOut(name, std::string(what) + " of " + contactName());
  };
  for (const auto& [group, label] : groupLabels_) {
    if (label.used || label.text.empty()) continue;
    // Apple's built-in labels as the words a person saw, any other as written.
    leftOutOfContact("X-ABLABEL",
                     "\"" + (label.text.starts_with("_$!<") ? LabelWords(label.text) : label.text) + "\"");
  }
  if (agent_) leftOutOfContact("AGENT", "a contact");
}

void PropertyCaptions::dropContact() {
  grouped_.clear();
  groupLabels_.clear();
  addresses_.clear();
  more_.clear();
  addressLabels_.clear();
  labelAddresses_.clear();
  addressValues_.clear();
  addressCopies_.clear();
  agent_ = false;
}

}  // namespace brevant
