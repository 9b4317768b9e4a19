#include "support/contact_generator.h"

#include <initializer_list>
#include <string_view>
#include <vector>

namespace brevant::bench {

namespace {

// The word lists below are written in UTF-8 for readability; contacts carry them
// as Latin-1, one byte a character, as older address books wrote them.
std::string ToLatin1(std::string_view utf8) {
  std::string latin1;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto byte = static_cast<unsigned char>(utf8[i]);
    if (byte >= 0xC2 && byte <= 0xC3 && i + 1 < utf8.size()) {
      latin1 += static_cast<char>(((byte & 0x03) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3F));
    } else {
      latin1 += static_cast<char>(byte);
    }
  }
  return latin1;
}

// The ASCII letters of a Latin-1 word, lower-cased, for e-mail addresses.
std::string MailHandle(std::string_view latin1) {
  static constexpr std::string_view kFold =  // Latin-1 0xC0..0xFF
      "aaaaaaaceeeeiiiidnooooo*ouuuuyts"
      "aaaaaaaceeeeiiiidnooooo/ouuuuyty";
  std::string handle;
  for (const char ch : latin1) {
    const auto byte = static_cast<unsigned char>(ch);
    if (byte >= 'A' && byte <= 'Z') {
      handle += static_cast<char>(byte - 'A' + 'a');
    } else if (byte >= 'a' && byte <= 'z') {
      handle += ch;
    } else if (byte >= 0xC0 && kFold[byte - 0xC0] >= 'a' && kFold[byte - 0xC0] <= 'z') {
      handle += kFold[byte - 0xC0];
    }
  }
  return handle;
}

struct WordLists {
  std::vector<std::string> firstNames, lastNames, prefixes, nicknames, organisations, titles, roles,
      extendedAddresses, streets, cities, regions, countries, domains, notes, categories;
};

std::vector<std::string> Latin1List(std::initializer_list<std::string_view> words) {
  std::vector<std::string> list;
  for (const std::string_view word : words) list.push_back(ToLatin1(word));
  return list;
}

const WordLists& Words() {
  static const WordLists words{
      Latin1List({"Anna",  "Jörg",   "René",  "Zoë",   "François", "Ines",  "Björn",
                  "María", "Daniel", "Priya", "Tomás", "Grace",    "Sofía", "Kenji",
                  "Lars",  "Chloé",  "Søren", "Nuño",  "Emily",    "Ahmed"}),
      Latin1List({"Müller", "García",    "Okafor", "Whitfield", "Lindqvist", "Keller",   "Raman",
                  "Dubois", "Schönberg", "Åström", "Nakamura",  "O'Brien",   "Kowalski", "Ferreira",
                  "Jensen", "Núñez",     "Brontë", "Løvaas",    "Petit",     "Çelik"}),
      Latin1List({"", "", "", "Dr.", "Prof.", "Mr.", "Ms."}),
      Latin1List({"Annie", "Jo", "Frankie", "Sunny", "Kai"}),
      Latin1List({"Tarn Logistics;Freight", "Ambervale Systems", "Café Noir & Co.", "Nordlicht GmbH;Einkauf",
                  "Brightwater <Labs>", "Société Générale d'Études", "Hølmstad Shipping AS"}),
      Latin1List({"Senior Buyer", "Head of R&D", "Chef de Cuisine", "Geschäftsführer", "Field Engineer",
                  "Account Manager", "Señor Developer"}),
      Latin1List({"Purchasing", "Board member", "Liaison <EMEA>"}),
      Latin1List({"", "", "Building 4", "c/o Reception", "Suite 210"}),
      Latin1List({"12 Harbour Road", "Lindenstraße 8", "221B Baker Street\\nFlat 2", "Rue de la Paix 5",
                  "Gran Vía 31", "Storgatan 17=0D=0A=Uppgång B", "1 Infinite Loop"}),
      Latin1List({"Hamburg", "München", "Paris", "Zürich", "Springfield", "Malmö", "Madrid", "Tórshavn"}),
      Latin1List({"HH", "BY", "IDF", "ZH", "IL", "Skåne", "MD", ""}),
      Latin1List({"Germany", "France", "Switzerland", "USA", "Sweden", "Österreich", "España", "Føroyar"}),
      Latin1List({"tarn-logistics.example", "ambervale.example", "cafe-noir.example", "nordlicht.example",
                  "mail.example"}),
      Latin1List({"Met at the trade fair=0D=0A=Prefers e-mail over phone",
                  "Allergic to nuts=0D=0A=Vegetarian=0D=0A=Birthday card every year",
                  "Call before 10:00 (office hours: 8:00-16:00)", "Owes us a coffee <3 & a croissant",
                  "Spricht Deutsch und Französisch=0D=0A=Rückruf erbeten"}),
      Latin1List({"Business,Suppliers", "Family", "Friends,Sport", "VIP"}),
  };
  return words;
}

const std::string& Pick(const std::vector<std::string>& list, std::size_t index) {
  return list[index % list.size()];
}

// One property line: the name, ":", the value given in parts, CR LF.
template <class... Parts>
void Line(std::string& out, std::string_view name, const Parts&... parts) {
  out.append(name).append(":");
  (out.append(std::string_view(parts)), ...);
  out.append("\r\n");
}

}  // namespace

ContactGenerator::ContactGenerator(std::uint64_t seed) : state_(seed) {}

// splitmix64: fast, and the same sequence on every machine.
std::uint64_t ContactGenerator::next() {
  std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

std::size_t ContactGenerator::below(std::size_t bound) { return static_cast<std::size_t>(next() % bound); }

bool ContactGenerator::oneIn(std::size_t chances) { return below(chances) == 0; }

std::string ContactGenerator::digits(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += static_cast<char>('0' + below(10));
  return text;
}

void ContactGenerator::appendContact(std::string& out) {
  const WordLists& w = Words();
  const std::uint64_t serial = ++serial_;
  const std::string serialText = std::to_string(serial);
  const std::string& first = Pick(w.firstNames, below(w.firstNames.size()));
  const std::string& last = Pick(w.lastNames, below(w.lastNames.size()));
  const std::string& prefix = Pick(w.prefixes, below(w.prefixes.size()));
  const std::string& domain = Pick(w.domains, below(w.domains.size()));
  const std::string handle = MailHandle(first) + "." + MailHandle(last);
  const auto any = [this](const std::vector<std::string>& list) -> const std::string& {
    return Pick(list, below(list.size()));
  };

  out.append("BEGIN:VCARD\r\nVERSION:3.0\r\n");
  Line(out, "N", last, ";", first, ";;", prefix, ";");
  Line(out, "FN", prefix, prefix.empty() ? "" : " ", first, " ", last);
  if (oneIn(4)) Line(out, "NICKNAME", any(w.nicknames));
  Line(out, "ORG", any(w.organisations));
  Line(out, "TITLE", any(w.titles));
  if (oneIn(4)) Line(out, "ROLE", any(w.roles));
  Line(out, "BDAY", std::to_string(1940 + below(65)), "-0", std::to_string(1 + below(9)), "-",
       std::to_string(10 + below(19)));
  Line(out, "EMAIL;TYPE=INTERNET", handle, "@", domain);
  if (oneIn(2)) Line(out, "EMAIL;TYPE=INTERNET;TYPE=HOME", handle, serialText, "@mail.example");

  Line(out, "TEL;CELL", "+49 170 ", digits(7));
  Line(out, "TEL;WORK;VOICE", "+49 40 555", digits(4));
  if (oneIn(3)) Line(out, "TEL;WORK;VOICE", "+49 40 555", digits(4));
  Line(out, "TEL;HOME", "+49 40 ", digits(7));
  if (oneIn(5)) Line(out, "TEL;WORK;FAX", "+49 40 555", digits(4));
  if (oneIn(10)) Line(out, "TEL;PAGER", "0800 ", digits(6));

  // Seven components: post-office box, extended address, street, city, region, postal code, country.
  Line(out, "ADR;WORK", ";", any(w.extendedAddresses), ";", any(w.streets), ";", any(w.cities), ";",
       any(w.regions), ";", digits(5), ";", any(w.countries));
  Line(out, "ADR;HOME", ";;", any(w.streets), ";", any(w.cities), ";", any(w.regions), ";", digits(5), ";",
       any(w.countries));
  Line(out, "URL;WORK", "https://www.", domain, ":443/people/", serialText);
  Line(out, "NOTE;ENCODING=QUOTED-PRINTABLE", any(w.notes));
  if (oneIn(8)) {
    // A value folded onto a second line, which the converter reads as a line of its own.
    out.append(
        "NOTE;ENCODING=QUOTED-PRINTABLE:Long remark that an exporter folded at seventy-five charact=\r\n");
    out.append(" ers and went on here\r\n");
  }
  Line(out, "CATEGORIES", any(w.categories));
  Line(out, "X-ABUID", "{", digits(4), "-", serialText, "}");
  if (oneIn(2)) Line(out, "X-MS-OL-DEFAULT-POSTAL-ADDRESS", "2");
  Line(out, "REV", "2021-08-31T10:", std::to_string(10 + below(50)), ":00Z");
  out.append("END:VCARD\r\n");
}

void AppendEmailListContact(std::string& out, std::size_t emailLines) {
  out.append("BEGIN:VCARD\r\nVERSION:3.0\r\nN:List;Mailing;;;\r\nFN:Mailing List\r\n");
  for (std::size_t n = 1; n <= emailLines; ++n) {
    out.append("EMAIL;TYPE=INTERNET:user").append(std::to_string(n)).append("@example.com\r\n");
  }
  out.append("END:VCARD\r\n");
}

}  // namespace brevant::bench
