// Both conversions with one row per contact, over exports shaped like those of
// a phone, a mail service and a vCard 4.0 address book (all written here).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

#include "engine/convert/contact_conversion.h"
#include "engine/convert/one_document_conversion.h"
#include "engine/convert/per_input_conversion.h"
#include "engine/statement_reporter.h"
#include "support/text/utf8.h"
#include "test_support/contact_table.h"
#include "test_support/picture_samples.h"
#include "test_support/recording_host.h"
#include "test_support/temp_dir.h"

namespace brevant {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::WriteBytes;
using ::testing::ElementsAre;

// vCard 2.1 as phones export it: quoted-printable UTF-8 with soft line
// breaks, bare type words, a photo in base64 lines, an agent.
constexpr char kPhoneExport[] =
    "BEGIN:VCARD\r\nVERSION:2.1\r\n"
    "N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:M=C3=BCller;J=C3=B6rg;;;\r\n"
    "FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:J=C3=B6rg M=C3=BCller\r\n"
    "TEL;CELL;PREF:+49 170 1234567\r\nTEL;CELL:+49 171 7654321\r\nTEL;WORK;FAX:+49 40 555\r\n"
    "NOTE;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Stra=C3=9Fe gesperrt=0D=0ABitte anrufen, Gr=C3=\r\n"
    "=BC=C3=9Fe\r\n"
    "PHOTO;ENCODING=BASE64;JPEG:/9j/4AAQSkZJRgABAQAAAQABAAD/"
    "2wBDAAYEBQYFBAYGBQYHBwYIChAKCgkJChQODwwQFxQYGBcU\r\n"
    "FhYaHSUfGhsjHBYWICwgIyYnKSopGR8tMC0oMCUoKSj/2wBDAQcHBwoIChMKChMoGhYaKCgoKCgo\r\n"
    "KCgoKCgoKCgoKCgoKCgoKCgoKCgoKCgoKCgoKCgoKCgoKCgoKCgoKCgoKCj/wAARCAACAAIDASIA\r\n"
    "AhEBAxEB/8QAFQABAQAAAAAAAAAAAAAAAAAAAAH/xAAUEAEAAAAAAAAAAAAAAAAAAAAA/8QAFAEB\r\n"
    "AAAAAAAAAAAAAAAAAAAABv/EABQRAQAAAAAAAAAAAAAAAAAAAAD/2gAMAwEAAhEDEQA/AIAHH7//\r\n"
    "2Q==\r\n"
    "\r\n"
    "X-ANDROID-CUSTOM:vnd.android.cursor.item/nickname;Jo;1;;;;;;;;;;;;;\r\n"
    "END:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:2.1\r\nN:Keller;Maria;;;\r\nFN:Maria Keller\r\n"
    "ADR;WORK;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:;;Lindenstra=C3=9Fe 8;M=C3=BCnchen;BY;80331;\r\n"
    "AGENT:\r\nBEGIN:VCARD\r\nVERSION:2.1\r\nFN:Assistant\r\nTEL:1\r\nEND:VCARD\r\n"
    "EMAIL;INTERNET:maria@example.org\r\n"
    "END:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:2.1\r\nFN;CHARSET=ISO-8859-1;ENCODING=QUOTED-PRINTABLE:Ren=E9 Dubois\r\n"
    "TEL;HOME;VOICE:+33 1 23\r\nEND:VCARD\r\n";

// vCard 3.0 as mail services export it: folded at 75 bytes, escaped, item groups.
constexpr char kMailExport[] =
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Daniel Okafor\r\nN:Okafor;Daniel;;;\r\n"
    "item1.EMAIL;TYPE=INTERNET:daniel@mail.example\r\nitem1.X-ABLabel:Other\r\n"
    "item2.TEL;TYPE=CELL:+44 7700 900123\r\n"
    "ADR;TYPE=HOME:;;12 Harbour Road\\nFlat 2;Leith\\, Edinburgh;;EH6 6LX;United Kingdom\r\n"
    "NOTE:Met at the fair\\, 2019.\\nLikes tea; not coffee. This line is long enough that the\r\n"
    "  service folded it.\r\n"
    "ORG:Tarn Logistics;Freight\r\nCATEGORIES:myContacts\r\n"
    "END:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Grace Whitfield\r\nN:Whitfield;Grace;;;\r\n"
    "EMAIL;TYPE=INTERNET;TYPE=WORK:grace@work.example\r\nEMAIL;TYPE=INTERNET;TYPE=HOME:grace@home.example\r\n"
    "TEL;TYPE=WORK;TYPE=FAX:+44 20 7946 0000\r\nURL:https\\://grace.example/\r\n"
    "END:VCARD\r\n";

// vCard 4.0: UTF-8 text, tel: URIs, quoted TYPE lists, a data URI photo.
constexpr char kVersion4Export[] =
    "BEGIN:VCARD\r\nVERSION:4.0\r\nKIND:individual\r\nFN:S\xC3\xB8ren Jensen\r\nN:Jensen;S\xC3\xB8ren;;;\r\n"
    "TEL;VALUE=uri;TYPE=\"voice,cell\";PREF=1:tel:+45-20-12-34-56\r\n"
    "TEL;VALUE=uri;TYPE=\"work,voice\":tel:+45-33-12-00-00;ext=101\r\n"
    "EMAIL;TYPE=work:soren@nordlicht.example\r\n"
    "PHOTO:data:image/png;base64,iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR4\r\n"
    " nGP4z8DwHwAFAAH/iZk9HQAAAABJRU5ErkJggg==\r\n"
    "END:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:\xE7\x94\xB0\xE4\xB8\xAD \xE5\xA4\xAA\xE9\x83\x8E\r\n"
    "ADR;TYPE=work;LABEL=\"Kita-ku, Tokyo\":;;1-2-3 Oji;Kita-ku;Tokyo;114-0002;Japan\r\n"
    "END:VCARD\r\n";

using Rows = std::vector<std::map<std::string, std::string>>;

// The document as a browser shows its table; every document is read with an
// XML parser, so each must be well-formed.
test::ContactTableText ReadTable(const std::string& document) {
  test::ContactTableText table = test::ReadContactTable(document);
  EXPECT_TRUE(table.wellFormed || !test::ChecksXml()) << document.substr(0, 2000);
  return table;
}

bool IsAscii(const std::string& text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

class ContactConversion : public ::testing::Test {
 protected:
  ContactConversion() {
    host.perContact = true;
    host.saveTo = Destination::ChosenFolder;
    host.folder = FromUtf8(dir.path().string());
  }
  Text add(const std::string& name, std::string_view content) {
    WriteBytes(dir / "in" / name, content);
    host.rows.push_back(FromUtf8((dir / "in" / name).string()));
    return host.rows.back();
  }

  test::TempDir dir;
  test::RecordingHost host;
};

struct ExportCase {
  const char* name;
  const char* bytes;
  Rows rows;
};

const std::vector<ExportCase>& Exports() {
  static const std::vector<ExportCase> exports = {
      {"phone",
       kPhoneExport,
       {{{"Photo", "[image/jpeg: Photo of Jörg Müller]"},
         {"Last Name", "Müller"},
         {"First Name", "Jörg"},
         {"Display Name", "Jörg Müller"},
         {"Nickname", "Jo"},
         {"Mobile Phone", "+49 170 1234567"},
         {"Mobile Phone 2", "+49 171 7654321"},
         {"Business Fax", "+49 40 555"},
         {"Notes", "Straße gesperrt\nBitte anrufen, Grüße"}},
        {{"Last Name", "Keller"},
         {"First Name", "Maria"},
         {"Display Name", "Maria Keller"},
         {"Business Address - Street", "Lindenstraße 8"},
         {"Business Address - City", "München"},
         {"Business Address - State", "BY"},
         {"Business Address - Postal Code", "80331"},
         {"Email Address", "maria@example.org"}},
        {{"Display Name", "René Dubois"}, {"Home Phone", "+33 1 23"}}}},
      {"mail service",
       kMailExport,
       {{{"Display Name", "Daniel Okafor"},
         {"Last Name", "Okafor"},
         {"First Name", "Daniel"},
         {"Other Email", "daniel@mail.example"},
         {"Mobile Phone", "+44 7700 900123"},
         {"Home Address - Street", "12 Harbour Road\nFlat 2"},
         {"Home Address - City", "Leith, Edinburgh"},
         {"Home Address - Postal Code", "EH6 6LX"},
         {"Home Address - Country", "United Kingdom"},
         {"Notes",
          "Met at the fair, 2019.\nLikes tea; not coffee. This line is long enough that the service "
          "folded it."},
         {"Organization", "Tarn Logistics"},
         {"Department", "Freight"},
         {"Categories", "myContacts"}},
        {{"Display Name", "Grace Whitfield"},
         {"Last Name", "Whitfield"},
         {"First Name", "Grace"},
         {"Business Email", "grace@work.example"},
         {"Home Email", "grace@home.example"},
         {"Business Fax", "+44 20 7946 0000"},
         {"Website", "https://grace.example/"}}}},
      {"vCard 4.0",
       kVersion4Export,
       {{{"Photo", "[image/png: Photo of Søren Jensen]"},
         {"Display Name", "Søren Jensen"},
         {"Last Name", "Jensen"},
         {"First Name", "Søren"},
         {"Mobile Phone", "+45-20-12-34-56"},
         {"Business Phone", "+45-33-12-00-00 ext. 101"},
         {"Business Email", "soren@nordlicht.example"}},
        {{"Display Name", "田中 太郎"},
         {"Business Address - Street", "1-2-3 Oji"},
         {"Business Address - City", "Kita-ku"},
         {"Business Address - State", "Tokyo"},
         {"Business Address - Postal Code", "114-0002"},
         {"Business Address - Country", "Japan"}}}},
  };
  return exports;
}

TEST_F(ContactConversion, EachExportGetsARowPerContactWithItsValuesDecoded) {
  for (const ExportCase& e : Exports()) {
    const Text input = add(std::string(e.name) + ".vcf", e.bytes);
    ConvertPerInput(host, input);
    const std::string document = ReadBytes(dir / (std::string(e.name) + ".htm"));
    EXPECT_TRUE(IsAscii(document)) << e.name;
    const test::ContactTableText table = ReadTable(document);
    EXPECT_EQ(table.rows, e.rows) << e.name;
    EXPECT_EQ(table.title, e.name);
  }
  EXPECT_TRUE(host.errors.empty());
}

TEST_F(ContactConversion, OneDocumentHoldsEveryContactOfEveryInput) {
  for (const ExportCase& e : Exports()) add(std::string(e.name) + ".vcf", e.bytes);
  ConvertToOneDocument(host, FromUtf8((dir / "output.xml").string()));
  const test::ContactTableText table = ReadTable(ReadBytes(dir / "output.xml"));
  EXPECT_EQ(table.title, "Contacts");
  Rows expected;
  for (const ExportCase& e : Exports()) expected.insert(expected.end(), e.rows.begin(), e.rows.end());
  EXPECT_EQ(table.rows, expected);
  // The union of captions in the fixed order: the picture first, names, organisation,
  // telephones, e-mail, addresses (each address's parts together), web, categories, notes.
  EXPECT_THAT(table.captions,
              ElementsAre("Photo", "Display Name", "First Name", "Last Name", "Nickname", "Organization",
                          "Department", "Mobile Phone", "Mobile Phone 2", "Home Phone", "Business Phone",
                          "Business Fax", "Email Address", "Home Email", "Business Email", "Other Email",
                          "Home Address - Street", "Home Address - City", "Home Address - Postal Code",
                          "Home Address - Country", "Business Address - Street", "Business Address - City",
                          "Business Address - State", "Business Address - Postal Code",
                          "Business Address - Country", "Website", "Categories", "Notes"));
  // The pictures are their own bytes.
  ASSERT_EQ(table.pictures.size(), 2u);
  EXPECT_EQ(table.pictures[0], test::pictures::kJpeg);
  EXPECT_THAT(host.positions, ElementsAre(33, 66, 100, 33, 66, 100));
  EXPECT_THAT(host.captions, ElementsAre(u"Processing: phone.vcf", u"Processing: mail service.vcf",
                                         u"Processing: vCard 4.0.vcf"));
  EXPECT_TRUE(host.errors.empty());
}

// Rows wait in memory for the columns up to a budget; past it, or for an
// input larger than the budget, the input is read again for them. The
// document and the files beside it are the same bytes either way, with the
// same progress, including a column that only the last contact fills.
TEST_F(ContactConversion, RowsReadAgainPastTheirBudgetGiveTheSameFiles) {
  std::string all;
  for (const ExportCase& e : Exports()) all += e.bytes;
  all += "BEGIN:VCARD\r\nFN:Late\r\nX-SKYPE:late.one\r\nTEL;TYPE=PAGER:5\r\nEND:VCARD\r\n";
  const Text inputPath = add("all.vcf", all);
  const InputText input = ReadInput(inputPath);
  struct Budget {
    const char* name;
    std::size_t bytes;
  };
  std::map<std::string, std::string> first;  // each file's bytes with the first budget
  for (const Budget budget : {Budget{"kept", kKeptRowsBudget}, Budget{"dropped on the way", 400},
                              Budget{"read twice from the start", 0}}) {
    SCOPED_TRACE(budget.name);
    host.positions.clear();
    const StatementReporter errors(host, Procedure::PerInputConversion);
    const fs::path out = dir / budget.name;
    fs::create_directories(out);
    BesideFiles beside;
    beside.open(OutputFormat::Csv, FromUtf8((out / "all.htm").string()), TurnsOf(host),
                ExistingTarget::Replace);
    beside.open(OutputFormat::Xlsx, FromUtf8((out / "all.htm").string()), TurnsOf(host),
                ExistingTarget::Replace);
    PropertyTally leftOut;
    EXPECT_EQ(ConvertContactsPerInput(host, errors, input, inputPath, FromUtf8((out / "all.htm").string()),
                                      &beside, leftOut, nullptr, budget.bytes),
              DocumentOutcome::Written);
    EXPECT_THAT(host.positions, ElementsAre(0, 14, 28, 42, 57, 71, 85, 100));
    for (const char* file : {"all.htm", "all.csv", "all.xlsx"}) {
      const std::string bytes = ReadBytes(out / file);
      const bool plain = std::string_view(file) != "all.xlsx";  // the workbook is deflated
      EXPECT_TRUE(!plain || bytes.find("late.one") != std::string::npos) << file;
      const auto [kept, isFirst] = first.emplace(file, bytes);
      EXPECT_TRUE(isFirst || kept->second == bytes) << file;
    }
  }
  EXPECT_TRUE(host.errors.empty());
}

// XHTML that is HTML as well, in plain ASCII: the header row in <thead>, no
// leading blank in a cell, the one-line columns named to the style sheet.
TEST_F(ContactConversion, DocumentIsAsciiXhtmlInTheTableShape) {
  host.border = u"2\u00E9\"";
  host.textColour = 0x0000FF;
  const Text input = add("two.vcf", "BEGIN:VCARD\nFN:A&B\nEND:VCARD\nBEGIN:VCARD\nEMAIL:b@x\nEND:VCARD\n");
  ConvertPerInput(host, input);
  EXPECT_EQ(ReadBytes(dir / "two.htm"),
            "<!DOCTYPE html>\r\n"
            "<html xmlns=\"http://www.w3.org/1999/xhtml\">\r\n"
            "<head>\r\n"
            "<meta charset=\"utf-8\"/>\r\n"
            "<title>two</title>\r\n"
            "<style type=\"text/css\">\r\n"
            "body { font-family: sans-serif; }\r\n"
            "table { width: 100%; }\r\n"
            "th, td { padding: 2px 6px; text-align: left; vertical-align: top; }\r\n"
            "td { max-width: 32em; overflow-wrap: break-word; }\r\n"
            "td img { display: block; max-width: 96px; max-height: 96px; }\r\n"
            "th { position: sticky; top: 0; white-space: nowrap; background-color: #FFFFFF; }\r\n"
            "td:nth-child(2) { white-space: nowrap; }\r\n"
            "@media screen {\r\n"
            "th { z-index: 2; }\r\n"
            "th:nth-child(1) { left: 0; z-index: 3; }\r\n"
            "td:nth-child(1) { position: sticky; left: 0; z-index: 1; background-color: #FFFFFF; }\r\n"
            "td > span { display: block; max-width: 32em; max-height: 6em; overflow-y: auto; }\r\n"
            "}\r\n"
            "@media print {\r\n"
            "body { font-size: 10pt; }\r\n"
            "thead { display: none; }\r\n"
            "table, tbody, tr, td { display: block; }\r\n"
            "table { border: 0; }\r\n"
            "tbody { column-count: 2; column-gap: 2em; }\r\n"
            "tr { break-inside: avoid; page-break-inside: avoid; padding: 0.4em 0; border-top: 1px solid "
            "#808080; }\r\n"
            "tbody td:nth-child(n) { border: 0; padding: 0; max-width: none; white-space: normal; "
            "overflow-wrap: anywhere; }\r\n"
            "td:empty { display: none; }\r\n"
            "td::before { font-weight: bold; }\r\n"
            "td img { max-width: 25mm; max-height: 25mm; }\r\n"
            "td:nth-child(1)::before { content: \"Display Name: \"; }\r\n"
            "td:nth-child(2)::before { content: \"Email Address: \"; }\r\n"
            "}\r\n"
            "</style>\r\n"
            "</head>\r\n"
            "<body>\r\n"
            "<table border=\"2&#233;&quot;\" style=\"color:#FF0000;background-color:#FFFFFF\">\r\n"
            "<thead>\r\n<tr><th>Display Name</th><th>Email Address</th></tr>\r\n</thead>\r\n"
            "<tbody>\r\n"
            "<tr><td>A&amp;B</td><td></td></tr>\r\n"
            "<tr><td></td><td>b@x</td></tr>\r\n"
            "</tbody></table></body></html>\r\n");
  EXPECT_THAT(host.positions, ElementsAre(0, 100));
}

// On screen the names stay at the left edge of a wide table: the first column
// that is no picture sticks, on the table's background; a note or another long
// text is a block that the screen keeps a few lines high, read whole all the same.
TEST_F(ContactConversion, TheNamesStayInViewAndLongTextsStayLow) {
  struct Case {
    const char* name;
    std::string card;
    const char* stuck;  // the sticky column's selector, or none
  };
  const std::string note = "NOTE:" + std::string(3000, 'n') + "\\nend\r\n";
  const Case cases[] = {
      {"name first", "FN:Ann\r\nEMAIL:a@x\r\n" + note + "NOTE:short\r\n", "td:nth-child(1) {"},
      {"after the pictures",
       std::string("PHOTO;ENCODING=b;TYPE=PNG:") + test::pictures::kPng +
           "\r\nLOGO;ENCODING=b;TYPE=PNG:" + test::pictures::kPng + "\r\nFN:Ann\r\n" + note,
       "td:nth-child(3) {"},
      {"no display name", "N:Lee;Ann;;;\r\nTEL:1\r\n" + note, "td:nth-child(1) {"},
      {"pictures only", std::string("PHOTO;ENCODING=b;TYPE=PNG:") + test::pictures::kPng + "\r\n", nullptr},
  };
  host.backgroundColour = 0x00FFFF;  // yellow, stored blue-green-red
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ConvertPerInput(host, add("c.vcf", "BEGIN:VCARD\r\n" + c.card + "END:VCARD\r\n"));
    const std::string document = ReadBytes(dir / "c.htm");
    const std::string style = document.substr(0, document.find("</style>"));
    const std::string screen = style.substr(style.find("@media screen {"), style.find("@media print"));
    if (c.stuck != nullptr) {
      EXPECT_NE(screen.find(std::string(c.stuck) + " position: sticky; left: 0; z-index: 1; "
                                                   "background-color: #FFFF00; }"),
                std::string::npos)
          << screen;
      EXPECT_EQ(ReadTable(document).rows.at(0).at("Notes"), std::string(3000, 'n') + "\nend");
      EXPECT_NE(document.find("<td><span>nnn"), std::string::npos);
      EXPECT_EQ(document.find("<span>short"), std::string::npos);  // a short note needs no block
    } else {
      EXPECT_EQ(screen.find("sticky"), std::string::npos) << screen;
    }
    host.rows.clear();
  }
}

// Whatever a contact file holds, the documents stay well-formed, and runs of
// one-line columns are named in few selectors.
TEST_F(ContactConversion, HostileValuesKeepTheDocumentWellFormed) {
  using namespace std::string_literals;
  std::string card = "BEGIN:VCARD\r\nFN:<x>&amp;]]>\x01\x00\x1B\x7F\xC2\x85\xEF\xBF\xBF\r\n"s;
  card += "NICKNAME:\xED\xA0\x80x\r\n";
  card += "NOTE;CHARSET=UTF-16LE;ENCODING=QUOTED-PRINTABLE:=00=D8=41=00\r\n";
  for (int i = 0; i < 3; ++i) card += "TEL:1\r\nEMAIL:a@x\r\n";
  card += "ORG:\"'\r\nEND:VCARD\r\n";
  const Text input = add("hostile.vcf", card);
  ConvertPerInput(host, input);
  const std::string document = ReadBytes(dir / "hostile.htm");
  const test::ContactTableText table = ReadTable(document);
  ASSERT_EQ(table.rows.size(), 1u);
  EXPECT_EQ(table.rows[0].at("Display Name"), "<x>&amp;]]>\x7F\xC2\x85\xEF\xBF\xBD");
  EXPECT_EQ(table.rows[0].at("Nickname"),
            "\xC3\xAD\xC2\xA0\xE2\x82\xAC"
            "x");  // not UTF-8: Windows-1252
  EXPECT_EQ(table.rows[0].at("Notes"),
            "\xC3\x98"
            "A");  // not UTF-16 after all
  EXPECT_EQ(table.rows[0].at("Organization"), "\"'");
  EXPECT_NE(document.find("td:nth-child(n+4):nth-child(-n+9) { white-space: nowrap; }"), std::string::npos);
}

// On paper every filled cell is a "caption: value" line: each column names its
// caption to the print style, and a run of numbered columns counts itself, so
// that thousands of them cost a few rules.
TEST_F(ContactConversion, PrintedContactsCaptionEveryValue) {
  std::string card = "BEGIN:VCARD\r\nFN:A\r\n";
  for (int i = 0; i < 5000; ++i) card += "EMAIL:a" + std::to_string(i) + "@x\r\n";
  card += "TEL;CELL:1\r\nEND:VCARD\r\n";
  ConvertPerInput(host, add("many.vcf", card));
  const std::string document = ReadBytes(dir / "many.htm");
  const std::string style = document.substr(0, document.find("</style>"));
  for (const char* rule : {
           "td:nth-child(1)::before { content: \"Display Name: \"; }",
           "td:nth-child(2)::before { content: \"Mobile Phone: \"; }",
           "td:nth-child(3)::before { content: \"Email Address: \"; }",
           "td:nth-child(3) { counter-reset: c1 1; }",
           "td:nth-child(n+4):nth-child(-n+5002)::before { content: \"Email Address \" counter(c1) \": \"; "
           "counter-increment: c1; }",
       }) {
    EXPECT_NE(style.find(rule), std::string::npos) << rule;
  }
  EXPECT_LT(style.size(), 4000u);
  // The last column of the one row; looked for as text, since a table reader's
  // regular expressions overflow Windows' stack on 5,000 columns.
  EXPECT_NE(document.find("<th>Email Address 5000</th></tr>"), std::string::npos);
  EXPECT_NE(document.find("<td>a4999@x</td></tr>"), std::string::npos);
}

// The parts of an address stand side by side in their own order (the PO box
// beside the street): each header cell and each printed caption names the part
// its column holds, whichever part a block starts with.
TEST_F(ContactConversion, AddressPartsAreCaptionedByThePartTheyHold) {
  struct Case {
    const char* adr;
    std::vector<std::string> captions;  // after "Display Name", in order
  };
  const Case cases[] = {
      {"ADR;TYPE=HOME:PO Box 7;;Elm Rd 3;Ville;;;",
       {"Home Address - Street", "Home Address - PO Box", "Home Address - City"}},
      {"ADR;TYPE=HOME:PO Box 7;Flat 2;;Ville;;;",
       {"Home Address - PO Box", "Home Address - Extended Address", "Home Address - City"}},
      {"ADR;TYPE=WORK:Box 1;;;;;;Land", {"Business Address - PO Box", "Business Address - Country"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.adr);
    host.rows.clear();
    ConvertPerInput(host,
                    add("adr.vcf", std::string("BEGIN:VCARD\r\nFN:A\r\n") + c.adr + "\r\nEND:VCARD\r\n"));
    const std::string document = ReadBytes(dir / "adr.htm");
    const test::ContactTableText table = ReadTable(document);
    std::vector<std::string> expected{"Display Name"};
    expected.insert(expected.end(), c.captions.begin(), c.captions.end());
    EXPECT_EQ(table.captions, expected);
    const std::string style = document.substr(0, document.find("</style>"));
    for (std::size_t i = 0; i < c.captions.size(); ++i) {
      const std::string rule =
          "td:nth-child(" + std::to_string(i + 2) + ")::before { content: \"" + c.captions[i] + ": \"; }";
      EXPECT_NE(style.find(rule), std::string::npos) << rule;
    }
  }
}

// A caption beyond ASCII goes into the print style as CSS escapes, each ended
// by a blank so that a hex digit after it ("\C4 1" for "Ä1") is not read as
// part of it; quotes and backslashes are escaped too.
TEST_F(ContactConversion, PrintedCaptionsBeyondAsciiKeepTheirLetters) {
  ConvertPerInput(host, add("labels.vcf",
                            "BEGIN:VCARD\r\nFN:A\r\nitem1.TEL:1\r\nitem1.X-ABLabel:\xC3\x84"
                            "1\r\n"
                            "item2.TEL:2\r\nitem2.X-ABLabel:\"Q\\\\\r\nEND:VCARD\r\n"));
  const std::string document = ReadBytes(dir / "labels.htm");
  const std::string style = document.substr(0, document.find("</style>"));
  for (const char* caption : {"\"\\C4 1 Phone: \"", "\"\\22 Q\\5C  Phone: \""}) {
    EXPECT_NE(style.find(std::string("::before { content: ") + caption + "; }"), std::string::npos)
        << caption << " in\n"
        << style.substr(style.find("@media print"));
  }
}

// A value of megabytes goes into the document in slices: none cuts a character
// or a line break in two.
TEST_F(ContactConversion, LongValuesAreEscapedWhole) {
  SKIP_ON_WINDOWS("the table reader's regular expressions overflow the stack there on this 12 MB document");
  std::string card = "BEGIN:VCARD\r\nNOTE;ENCODING=QUOTED-PRINTABLE:";
  std::string expected;
  for (int i = 0; i < 1000000; ++i) {
    card += "=E2=82=AC=0D=0A";  // five bytes a unit: slices of 2^20 bytes end in every place of one
    expected += "\xE2\x82\xAC\n";
  }
  card += "\r\nEND:VCARD\r\n";
  expected.pop_back();  // a value is trimmed
  const Text input = add("long.vcf", card);
  ConvertPerInput(host, input);
  const test::ContactTableText table = ReadTable(ReadBytes(dir / "long.htm"));
  ASSERT_EQ(table.rows.size(), 1u);
  EXPECT_TRUE(table.rows[0].at("Notes") == expected);
}

TEST_F(ContactConversion, NothingKnownWritesNothingAndNoDocumentReplacesAnInput) {
  WriteBytes(dir / "none.htm", "earlier");
  // Machine data only: nothing a person typed.
  ConvertPerInput(host, add("none.vcf", "BEGIN:VCARD\nUID:1\nPRODID:x\nEND:VCARD\n"));
  EXPECT_EQ(ReadBytes(dir / "none.htm"), "<missing>");

  // An unreadable or missing input is an empty row; an output that is one of the inputs is refused.
  host.rows.push_back(FromUtf8((dir / "not-there.vcf").string()));
  const Text output = add("output.xml", "BEGIN:VCARD\nFN:Old\nEND:VCARD\n");
  ConvertToOneDocument(host, output);
  EXPECT_EQ(ReadBytes(dir / "in" / "output.xml"), "BEGIN:VCARD\nFN:Old\nEND:VCARD\n");
  ASSERT_EQ(host.errors.size(), 1u);
  EXPECT_EQ(host.errors[0].statement, 842);

  host.errors.clear();
  ConvertToOneDocument(host, FromUtf8((dir / "all.xml").string()));
  EXPECT_EQ(ReadTable(ReadBytes(dir / "all.xml")).rows, (Rows{{}, {}, {{"Display Name", "Old"}}}));
}

}  // namespace
}  // namespace brevant
