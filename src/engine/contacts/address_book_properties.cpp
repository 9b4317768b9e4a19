#include "engine/contacts/address_book_properties.h"

#include <algorithm>
#include <iterator>
#include <unordered_map>

#include "engine/text/packed_name.h"

namespace brevant {

namespace {

// Sorted by name, each name once, as the makers spell them (upper-cased); the
// names that both readers know (kPropertyNames: X-AIM, X-ANNIVERSARY, ...) are
// not repeated here. Sources:
// RFC 2426, 6350, 6474, 6715, 8605 and 9554 for vCard; [MS-OXVCARD] for
// Outlook; Evolution's e-vcard.h; KDE's KContacts; Apple's and Google's exports.
constexpr AddressBookProperty kProperties[] = {
    {"BIRTHPLACE", PropertyMeaning::More, "Birthplace", "vCard (RFC 6474)"},
    {"CALADRURI", PropertyMeaning::Calendar, "", "vCard"},
    {"CALURI", PropertyMeaning::Calendar, "", "vCard"},
    {"CLASS", PropertyMeaning::Machine, "", "vCard 3.0"},
    {"CLIENTPIDMAP", PropertyMeaning::Machine, "", "vCard"},
    {"CONTACT-URI", PropertyMeaning::More, "Contact Page", "vCard (RFC 8605)"},
    {"CREATED", PropertyMeaning::Machine, "", "vCard (RFC 9554)"},
    {"DEATHDATE", PropertyMeaning::LabelledDate, "Date of Death", "vCard (RFC 6474)"},
    {"DEATHPLACE", PropertyMeaning::More, "Place of Death", "vCard (RFC 6474)"},
    {"EXPERTISE", PropertyMeaning::More, "Expertise", "vCard (RFC 6715)"},
    {"FBURL", PropertyMeaning::FreeBusy, "", "vCard"},
    {"GEO", PropertyMeaning::Location, "", "vCard"},
    {"GRAMGENDER", PropertyMeaning::More, "Grammatical Gender", "vCard (RFC 9554)"},
    {"HOBBY", PropertyMeaning::More, "Hobby", "vCard (RFC 6715)"},
    {"INTEREST", PropertyMeaning::More, "Interest", "vCard (RFC 6715)"},
    {"KEY", PropertyMeaning::Key, "", "vCard"},
    {"KIND", PropertyMeaning::Machine, "", "vCard"},
    {"LABEL", PropertyMeaning::AddressLabel, "Address Label", "vCard 2.1, 3.0"},
    {"LANG", PropertyMeaning::Language, "", "vCard"},
    {"LOGO", PropertyMeaning::Picture, "Logo", "vCard"},
    {"MAILER", PropertyMeaning::Machine, "", "vCard 3.0"},
    {"MEMBER", PropertyMeaning::More, "Member", "vCard"},
    {"NAME", PropertyMeaning::Machine, "", "vCard 3.0"},
    {"ORG-DIRECTORY", PropertyMeaning::More, "Organization Directory", "vCard (RFC 6715)"},
    {"PHOTO", PropertyMeaning::Picture, "Photo", "vCard"},
    {"PRODID", PropertyMeaning::Machine, "", "vCard"},
    {"PROFILE", PropertyMeaning::Machine, "", "vCard 3.0"},
    {"PRONOUNS", PropertyMeaning::More, "Pronouns", "vCard (RFC 9554)"},
    {"REV", PropertyMeaning::Machine, "", "vCard"},
    {"SOCIALPROFILE", PropertyMeaning::SocialProfile, "", "vCard (RFC 9554)"},
    {"SORT-STRING", PropertyMeaning::Machine, "", "vCard 3.0"},
    {"SOUND", PropertyMeaning::Sound, "", "vCard"},
    {"SOURCE", PropertyMeaning::Machine, "", "vCard"},
    {"TZ", PropertyMeaning::TimeZone, "", "vCard"},
    {"UID", PropertyMeaning::Machine, "", "vCard"},
    {"X-ABADR", PropertyMeaning::Machine, "", "Apple"},
    {"X-ABSHOWAS", PropertyMeaning::Machine, "", "Apple"},
    {"X-ABUID", PropertyMeaning::Machine, "", "Apple"},
    {"X-ADDRESSING-GRAMMAR", PropertyMeaning::Machine, "", "Apple"},
    {"X-ANDROID-CUSTOM", PropertyMeaning::AndroidCustom, "", "Android"},
    {"X-ASSISTANT", PropertyMeaning::Related, "Assistant", "Outlook (MS-OXVCARD)"},
    {"X-COUCHDB-APPLICATION-ANNOTATIONS", PropertyMeaning::Machine, "", "CouchDB sync"},
    {"X-ETAG", PropertyMeaning::Machine, "", "sync services"},
    {"X-EVOLUTION-ANNIVERSARY", PropertyMeaning::Anniversary, "", "Evolution"},
    {"X-EVOLUTION-ASSISTANT", PropertyMeaning::Related, "Assistant", "Evolution"},
    {"X-EVOLUTION-BIRTHPLACE", PropertyMeaning::More, "Birthplace", "Evolution"},
    {"X-EVOLUTION-BLOG-URL", PropertyMeaning::Website, "Blog", "Evolution"},
    {"X-EVOLUTION-BOOK-UID", PropertyMeaning::Machine, "", "Evolution"},
    {"X-EVOLUTION-CALADRURI", PropertyMeaning::Calendar, "", "Evolution"},
    {"X-EVOLUTION-CLIENTPIDMAP", PropertyMeaning::Machine, "", "Evolution"},
    {"X-EVOLUTION-CONTACT-LIST-INFO", PropertyMeaning::Machine, "", "Evolution"},
    {"X-EVOLUTION-CONTACT-LIST-UID", PropertyMeaning::Machine, "", "Evolution"},
    {"X-EVOLUTION-CONTACT-URI", PropertyMeaning::More, "Contact Page", "Evolution"},
    {"X-EVOLUTION-CREATED", PropertyMeaning::Machine, "", "Evolution"},
    {"X-EVOLUTION-DEATHDATE", PropertyMeaning::LabelledDate, "Date of Death", "Evolution"},
    {"X-EVOLUTION-DEATHPLACE", PropertyMeaning::More, "Place of Death", "Evolution"},
    {"X-EVOLUTION-DEST-CONTACT-UID", PropertyMeaning::Machine, "", "Evolution"},
    {"X-EVOLUTION-DEST-EMAIL", PropertyMeaning::Machine, "", "Evolution"},
    {"X-EVOLUTION-DEST-EMAIL-NUM", PropertyMeaning::Machine, "", "Evolution"},
    {"X-EVOLUTION-DEST-HTML-MAIL", PropertyMeaning::Machine, "", "Evolution"},
    {"X-EVOLUTION-DEST-NAME", PropertyMeaning::Machine, "", "Evolution"},
    {"X-EVOLUTION-DEST-SOURCE-UID", PropertyMeaning::Machine, "", "Evolution"},
    {"X-EVOLUTION-EXPERTISE", PropertyMeaning::More, "Expertise", "Evolution"},
    {"X-EVOLUTION-FILE-AS", PropertyMeaning::Machine, "", "Evolution"},
    {"X-EVOLUTION-GENDER", PropertyMeaning::Gender, "", "Evolution"},
    {"X-EVOLUTION-GRAMGENDER", PropertyMeaning::More, "Grammatical Gender", "Evolution"},
    {"X-EVOLUTION-HOBBY", PropertyMeaning::More, "Hobby", "Evolution"},
    {"X-EVOLUTION-IMPP", PropertyMeaning::IMAddress, "", "Evolution"},
    {"X-EVOLUTION-INTEREST", PropertyMeaning::More, "Interest", "Evolution"},
    {"X-EVOLUTION-KIND", PropertyMeaning::Machine, "", "Evolution"},
    {"X-EVOLUTION-LANG", PropertyMeaning::Language, "", "Evolution"},
    {"X-EVOLUTION-LIST", PropertyMeaning::Machine, "", "Evolution"},
    {"X-EVOLUTION-LIST-NAME", PropertyMeaning::Machine, "", "Evolution"},
    {"X-EVOLUTION-LIST-SHOW-ADDRESSES", PropertyMeaning::Machine, "", "Evolution"},
    {"X-EVOLUTION-MANAGER", PropertyMeaning::Related, "Manager", "Evolution"},
    {"X-EVOLUTION-MEMBER", PropertyMeaning::More, "Member", "Evolution"},
    {"X-EVOLUTION-ORG-DIRECTORY", PropertyMeaning::More, "Organization Directory", "Evolution"},
    {"X-EVOLUTION-PARENT-UID", PropertyMeaning::Machine, "", "Evolution"},
    {"X-EVOLUTION-PRONOUNS", PropertyMeaning::More, "Pronouns", "Evolution"},
    {"X-EVOLUTION-RELATED", PropertyMeaning::Related, "", "Evolution"},
    {"X-EVOLUTION-SOURCE", PropertyMeaning::Machine, "", "Evolution"},
    {"X-EVOLUTION-SPOUSE", PropertyMeaning::Related, "Spouse", "Evolution"},
    {"X-EVOLUTION-VIDEO-URL", PropertyMeaning::Website, "Video Chat", "Evolution"},
    {"X-EVOLUTION-XML", PropertyMeaning::Machine, "", "Evolution"},
    {"X-FC-LIST-ID", PropertyMeaning::Machine, "", "sync services"},
    {"X-GADUGADU", PropertyMeaning::IMAddress, "Gadu-Gadu", "Evolution"},
    {"X-GENERATOR", PropertyMeaning::Machine, "", "exporters"},
    {"X-GROUPWISE", PropertyMeaning::IMAddress, "GroupWise", "Evolution"},
    {"X-GTALK", PropertyMeaning::IMAddress, "Google Talk", "Google"},
    {"X-ID", PropertyMeaning::Machine, "", "sync services"},
    {"X-IMAGEHASH", PropertyMeaning::Machine, "", "Apple"},
    {"X-IMAGETYPE", PropertyMeaning::Machine, "", "Apple"},
    {"X-IRMC-LUID", PropertyMeaning::Machine, "", "IrMC phones"},
    {"X-KADDRESSBOOK-BLOGFEED", PropertyMeaning::Website, "Blog", "KDE"},
    {"X-KADDRESSBOOK-CRYPTOENCRYPTPREF", PropertyMeaning::Machine, "", "KDE"},
    {"X-KADDRESSBOOK-CRYPTOPROTOPREF", PropertyMeaning::Machine, "", "KDE"},
    {"X-KADDRESSBOOK-CRYPTOSIGNPREF", PropertyMeaning::Machine, "", "KDE"},
    {"X-KADDRESSBOOK-OPENPGPFP", PropertyMeaning::More, "OpenPGP Fingerprint", "KDE"},
    {"X-KADDRESSBOOK-X-ANNIVERSARY", PropertyMeaning::Anniversary, "", "KDE"},
    {"X-KADDRESSBOOK-X-ASSISTANTSNAME", PropertyMeaning::Related, "Assistant", "KDE"},
    {"X-KADDRESSBOOK-X-DEPARTMENT", PropertyMeaning::Department, "", "KDE"},
    {"X-KADDRESSBOOK-X-IMADDRESS", PropertyMeaning::IMAddress, "", "KDE"},
    {"X-KADDRESSBOOK-X-MANAGERSNAME", PropertyMeaning::Related, "Manager", "KDE"},
    {"X-KADDRESSBOOK-X-OFFICE", PropertyMeaning::More, "Office", "KDE"},
    {"X-KADDRESSBOOK-X-PROFESSION", PropertyMeaning::Role, "", "KDE"},
    {"X-KADDRESSBOOK-X-SPOUSESNAME", PropertyMeaning::Related, "Spouse", "KDE"},
    {"X-MAIDENNAME", PropertyMeaning::More, "Maiden Name", "Apple"},
    {"X-MATRIX", PropertyMeaning::IMAddress, "Matrix", "Evolution"},
    {"X-MOZILLA-HTML", PropertyMeaning::Machine, "", "Mozilla, Evolution"},
    {"X-MS-ANNIVERSARY", PropertyMeaning::Anniversary, "", "Outlook (MS-OXVCARD)"},
    {"X-MS-ASSISTANT", PropertyMeaning::Related, "Assistant", "Outlook (MS-OXVCARD)"},
    {"X-MS-CARDPICTURE", PropertyMeaning::Picture, "Photo", "Outlook (MS-OXVCARD)"},
    {"X-MS-IMADDRESS", PropertyMeaning::IMAddress, "", "Outlook (MS-OXVCARD)"},
    {"X-MS-MANAGER", PropertyMeaning::Related, "Manager", "Outlook (MS-OXVCARD)"},
    {"X-MS-OL-DEFAULT-POSTAL-ADDRESS", PropertyMeaning::Machine, "", "Outlook (MS-OXVCARD)"},
    {"X-MS-OL-DESIGN", PropertyMeaning::Machine, "", "Outlook (MS-OXVCARD)"},
    {"X-MS-SPOUSE", PropertyMeaning::Related, "Spouse", "Outlook (MS-OXVCARD)"},
    {"X-MS-TEL", PropertyMeaning::Telephone, "", "Outlook (MS-OXVCARD)"},
    {"X-PHONETIC-MIDDLE-NAME", PropertyMeaning::PhoneticMiddleName, "", "Apple, Google"},
    {"X-PHONETIC-ORG", PropertyMeaning::More, "Phonetic Organization", "Apple"},
    {"X-SIP", PropertyMeaning::IMAddress, "SIP", "Evolution"},
    {"X-SOCIALPROFILE", PropertyMeaning::SocialProfile, "", "Apple"},
    {"X-SPOUSE", PropertyMeaning::Related, "Spouse", "Netscape, KDE"},
    {"X-THUNDERBIRD-ETAG", PropertyMeaning::Machine, "", "Thunderbird"},
    {"X-TWITTER", PropertyMeaning::SocialProfile, "Twitter", "Evolution"},
    {"X-WAB-GENDER", PropertyMeaning::Gender, "", "Windows Address Book"},
    {"X-WAB-SPOUSE_NAME", PropertyMeaning::Related, "Spouse", "Windows Address Book"},
    {"X-WAB-WEDDING_ANNIVERSARY", PropertyMeaning::Anniversary, "", "Windows Address Book"},
    {"XML", PropertyMeaning::Machine, "", "vCard"},
};

constexpr bool Before(std::string_view a, std::string_view b) { return a < b; }
static_assert(std::is_sorted(std::begin(kProperties), std::end(kProperties),
                             [](const AddressBookProperty& a, const AddressBookProperty& b) {
                               return Before(a.name, b.name);
                             }),
              "the table stays sorted by name, for its readers");

}  // namespace

const AddressBookProperty* FindAddressBookProperty(std::string_view name) {
  // A name upper-cased in place of a copy, then found by its hash: every
  // property of no reader's table is looked for here.
  constexpr std::size_t kLongest = 48;
  static_assert(std::all_of(std::begin(kProperties), std::end(kProperties),
                            [](const AddressBookProperty& entry) { return entry.name.size() <= kLongest; }));
  static const std::unordered_map<std::string_view, const AddressBookProperty*> byName = [] {
    std::unordered_map<std::string_view, const AddressBookProperty*> names;
    for (const AddressBookProperty& entry : kProperties) names.emplace(entry.name, &entry);
    return names;
  }();
  if (name.size() > kLongest) return nullptr;
  char upper[kLongest];
  for (std::size_t i = 0; i < name.size(); ++i) upper[i] = UpperAscii(name[i]);
  const auto found = byName.find(std::string_view(upper, name.size()));
  return found == byName.end() ? nullptr : found->second;
}

std::span<const AddressBookProperty> AddressBookProperties() { return kProperties; }

}  // namespace brevant
