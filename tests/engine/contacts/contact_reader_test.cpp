#include "engine/contacts/contact_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "engine/contacts/contact_captions.h"
#include "engine/text/ascii_html.h"
#include "support/text/charset_conversion.h"
#include "support/text/utf8.h"
#include "test_support/picture_samples.h"
#include "test_support/recording_host.h"
#include "test_support/temp_dir.h"

namespace brevant {
namespace {

using Cells = std::vector<std::pair<std::string, std::string>>;  // caption, value as written
using Rows = std::vector<Cells>;

// Each contact's cells in the order read, values as a document shows them.
class RowCollector final : public ContactSink {
 public:
  Rows rows;
  std::string text;
  std::vector<ContactCell> cellList;
  std::vector<std::string> leftOutNames;
  ContactLabels labelTable;
  std::string& values() override { return text; }
  std::vector<ContactCell>& cells() override { return cellList; }
  ContactLabels& labels() override { return labelTable; }
  void contact(const Contact& contact) override {
    Cells cells;
    for (const ContactCell& cell : contact.cells) {
      std::string value;
      AppendAsciiHtml(value, contact.value(cell), cell.encoding());
      std::string caption;
      AppendContactCaption(caption, cell.caption(), labelTable.text(cell.label()), cell.number());
      cells.emplace_back(caption, value);
    }
    rows.push_back(std::move(cells));
  }
  void leftOut(std::string_view name, std::string_view detail) override {
    leftOutNames.emplace_back(detail.empty() ? std::string(name)
                                             : std::string(name) + " " + std::string(detail));
  }
};

// The contacts of a file holding these bytes, read as a conversion reads them.
RowCollector ReadAll(std::string_view bytes) {
  test::TempDir dir;
  test::WriteBytes(dir / "in.vcf", bytes);
  RowCollector collector;
  test::RecordingHost host;
  ReadContacts(ContactBytes(ReadInput(FromUtf8((dir / "in.vcf").string()))), collector, host);
  return collector;
}
Rows Read(std::string_view bytes) { return ReadAll(bytes).rows; }

bool SystemConverts(const char* charset) {
  const CharsetConverter converter = OpenCharsetConverter(charset);
  CloseCharsetConverter(converter);
  return converter != nullptr;
}

std::string Card(std::string_view version, std::string_view lines) {
  return "BEGIN:VCARD\r\nVERSION:" + std::string(version) + "\r\n" + std::string(lines) + "END:VCARD\r\n";
}

struct PropertyCase {
  const char* name;
  const char* version;
  const char* lines;
  Cells cells;
};

void PrintTo(const PropertyCase& c, std::ostream* out) { *out << c.name; }

class ContactProperties : public ::testing::TestWithParam<PropertyCase> {};

TEST_P(ContactProperties, DecodeToTheirCaptions) {
  const PropertyCase& c = GetParam();
  const Rows rows = Read(Card(c.version, c.lines));
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0], c.cells);
}

INSTANTIATE_TEST_SUITE_P(
    AllForms, ContactProperties,
    ::testing::Values(
        // Parameters, groups and letter case do not hide a property.
        PropertyCase{"ParametersAndGroups",
                     "3.0",
                     "FN;CHARSET=UTF-8:Ann\r\nitem1.EMAIL;type=INTERNET:a@x.org\r\nitem1.X-ABLabel:x\r\n",
                     {{"Display Name", "Ann"}, {"x Email", "a@x.org"}}},
        PropertyCase{"LetterCase",
                     "3.0",
                     "fn:ann\r\nn:Doe;John;Q.;Dr.;\r\n",
                     {{"Display Name", "ann"},
                      {"Last Name", "Doe"},
                      {"First Name", "John"},
                      {"Middle Name", "Q."},
                      {"Name Prefix", "Dr."}}},
        // Quoted-printable, with and without ENCODING=, in a CHARSET or not.
        PropertyCase{"QuotedPrintableUtf8",
                     "2.1",
                     "N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:M=C3=BCller;J=C3=B6rg;;;\r\n",
                     {{"Last Name", "M&#252;ller"}, {"First Name", "J&#246;rg"}}},
        PropertyCase{"BareQuotedPrintable",
                     "2.1",
                     "NOTE;QUOTED-PRINTABLE:one=0D=0Atwo=0Athree=0D=0A=four\r\n",
                     {{"Notes", "one<br/>two<br/>three<br/>four"}}},
        PropertyCase{"Latin1Charset",
                     "2.1",
                     "FN;CHARSET=ISO-8859-1;ENCODING=QUOTED-PRINTABLE:Ren=E9\r\n",
                     {{"Display Name", "Ren&#233;"}}},
        PropertyCase{"Koi8Charset",
                     "2.1",
                     "FN;CHARSET=KOI8-R;ENCODING=QUOTED-PRINTABLE:=F0=C5=D4=D2\r\n",
                     {{"Display Name", "&#1055;&#1077;&#1090;&#1088;"}}},
        PropertyCase{"ShiftJisCharset",
                     "2.1",
                     "FN;CHARSET=SHIFT_JIS;ENCODING=QUOTED-PRINTABLE:=93=FA=96=7B\r\n",
                     {{"Display Name", "&#26085;&#26412;"}}},
        PropertyCase{"UnknownCharset",
                     "2.1",
                     "FN;CHARSET=X-NO-SUCH-SET;ENCODING=QUOTED-PRINTABLE:Ren=E9\r\n",
                     {{"Display Name", "Ren&#233;"}}},
        // Soft line breaks, also when the next line is indented, and a broken encoding kept as written.
        PropertyCase{"SoftLineBreaks",
                     "2.1",
                     "NOTE;ENCODING=QUOTED-PRINTABLE:Line one=0D=0ALine=\r\n two=\r\n=3D3\r\n",
                     {{"Notes", "Line one<br/>Line two=3"}}},
        PropertyCase{"BrokenQuotedPrintable",
                     "2.1",
                     "NOTE;ENCODING=QUOTED-PRINTABLE:50=ZZ% =4\r\n",
                     {{"Notes", "50=ZZ% =4"}}},
        // Folding: 3.0 drops the blank that continues a line, 2.1 keeps it.
        PropertyCase{
            "Folding30", "3.0", "NOTE:long\r\n  note\r\n\tgoes on\r\n", {{"Notes", "long notegoes on"}}},
        PropertyCase{"Folding21", "2.1", "NOTE:long\r\n note\r\n", {{"Notes", "long note"}}},
        PropertyCase{"FoldedHead", "3.0", "TEL;TY\r\n PE=cell:1\r\n", {{"Mobile Phone", "1"}}},
        // Escapes; an unknown one stays. Markup is escaped, line breaks show.
        PropertyCase{"Escapes",
                     "3.0",
                     "NOTE:a\\, b\\; c\\\\ d\\nnext\\Nthird \\x <b>&\r\n",
                     {{"Notes", "a, b; c\\ d<br/>next<br/>third \\x &lt;b&gt;&amp;"}}},
        // Structured values split at unescaped ";" only.
        PropertyCase{"StructuredSplit",
                     "3.0",
                     "ORG:Smith\\; Sons;Sales;\r\nN:O\\;Neil;Ann\r\n",
                     {{"Organization", "Smith; Sons"},
                      {"Department", "Sales"},
                      {"Last Name", "O;Neil"},
                      {"First Name", "Ann"}}},
        PropertyCase{"WorkAddress",
                     "3.0",
                     "ADR;TYPE=WORK,PREF:;Suite 2;1 Main St\\nBack door;Town;ST;12345;Land\r\n",
                     {{"Business Address - Street", "1 Main St<br/>Back door"},
                      {"Business Address - Extended Address", "Suite 2"},
                      {"Business Address - City", "Town"},
                      {"Business Address - State", "ST"},
                      {"Business Address - Postal Code", "12345"},
                      {"Business Address - Country", "Land"}}},
        // Components past the seventh are kept, in the country.
        PropertyCase{"AddressOfMoreThanSevenParts",
                     "3.0",
                     "ADR:;;Elm Rd 3;Ville;;;Land;Region 9;Zone 4\r\n",
                     {{"Address - Street", "Elm Rd 3"},
                      {"Address - City", "Ville"},
                      {"Address - Country", "Land, Region 9, Zone 4"}}},
        PropertyCase{"HomeAddresses",
                     "3.0",
                     "ADR;TYPE=home:PO Box 7;;Elm Rd 3;Ville\r\nADR:;;Oak Rd\r\n",
                     {{"Home Address - Street", "Elm Rd 3"},
                      {"Home Address - PO Box", "PO Box 7"},
                      {"Home Address - City", "Ville"},
                      {"Address - Street", "Oak Rd"}}},
        // TYPE in every form; a fax typed WORK is a business fax.
        PropertyCase{
            "TypeForms",
            "3.0",
            "TEL;TYPE=WORK,FAX:1\r\nTEL;TYPE=work;TYPE=fax:2\r\nTEL;FAX:3\r\nTEL;TYPE=\"cell,voice\":4\r\n"
            "TEL;PAGER:5\r\nTEL;TYPE=\"work,voice\":6\r\nTEL;VOICE:7\r\nTEL;X-NETWORK:8\r\n",
            {{"Business Fax", "1"},
             {"Business Fax 2", "2"},
             {"Other Fax", "3"},
             {"Mobile Phone", "4"},
             {"Pager", "5"},
             {"Business Phone", "6"},
             {"Other Phone", "7"},
             {"Other Phone 2", "8"}}},
        PropertyCase{"BareTypeWords",
                     "2.1",
                     "TEL;WORK;FAX:1\r\nTEL;CELL:2\r\nTEL;CELL:3\r\n",
                     {{"Business Fax", "1"}, {"Mobile Phone", "2"}, {"Mobile Phone 2", "3"}}},
        // tel: URIs keep the number.
        PropertyCase{"TelUris",
                     "4.0",
                     "TEL;VALUE=uri;TYPE=cell:tel:+1-555-0100\r\nTEL;VALUE=uri;TYPE=\"work,voice\";PREF=1:"
                     "tel:+1-555-0199;ext=42\r\n",
                     {{"Mobile Phone", "+1-555-0100"}, {"Business Phone", "+1-555-0199 ext. 42"}}},
        // A photo keeps its base64 where it stands, bare lines and all; keys and sounds say
        // what they are; empty values give nothing.
        PropertyCase{"Base64Photo",
                     "2.1",
                     "PHOTO;ENCODING=BASE64;TYPE=GIF:"
                     "R0lGODlhAgACAPAA\r\nAP8AAAAAACH5BAAA\r\nAAAALAAAAAACAAIAAAIChFEAOw==\r\n"
                     "\r\nFN:A\r\nEMAIL:\r\n",
                     {{"Photo", "R0lGODlhAgACAPAA<br/>AP8AAAAAACH5BAAA<br/>AAAALAAAAAACAAIAAAIChFEAOw=="},
                      {"Display Name", "A"}}},
        PropertyCase{"KeyAndSound",
                     "3.0",
                     "KEY;ENCODING=b:TUlJ\r\n Q2lq\r\nSOUND;VALUE=uri:data:audio/x;base64,AAA\r\nNOTE:n\r\n",
                     {{"Key", "Key, 6 bytes"}, {"Notes", "n"}, {"More", "Sound: 2 bytes of audio"}}},
        // What address books hold, under the captions people know.
        PropertyCase{"WholeName",
                     "3.0",
                     "N:Smith;John;Paul;Dr.;Jr.\r\n",
                     {{"Last Name", "Smith"},
                      {"First Name", "John"},
                      {"Middle Name", "Paul"},
                      {"Name Prefix", "Dr."},
                      {"Name Suffix", "Jr."}}},
        PropertyCase{"OrganisationAndDepartments",
                     "3.0",
                     "ORG:Acme\\, Inc.;Sales;;East\r\n",
                     {{"Organization", "Acme, Inc."}, {"Department", "Sales"}, {"Department 2", "East"}}},
        PropertyCase{"Dates",
                     "4.0",
                     "BDAY:19910522\r\nANNIVERSARY:2010-06-12T10:30:00Z\r\nX-ANNIVERSARY:--0415\r\n"
                     "BDAY;X-APPLE-OMIT-YEAR=1604:1604-04-15\r\nBDAY:--04-15T0930\r\n"
                     "BDAY;VALUE=text:circa 1800\r\nBDAY:1991-13-40\r\n",
                     {{"Birthday", "1991-05-22"},
                      {"Anniversary", "2010-06-12 10:30 UTC"},
                      {"Anniversary 2", "--04-15"},
                      {"Birthday 2", "--04-15"},
                      {"Birthday 3", "--04-15 09:30"},
                      {"Birthday 4", "circa 1800"},
                      {"Birthday 5", "1991-13-40"}}},
        // An X-ABDATE is an anniversary when its group's label says so, before or after
        // it; another label names the date.
        PropertyCase{
            "LabelledDates",
            "3.0",
            "item3.X-ABLabel:_$!<Anniversary>!$_\r\nitem3.X-ABDATE:2015-09-01\r\n"
            "item4.X-ABDATE:2001-01-01\r\nitem4.X-ABLabel:Graduation\r\nX-ABDATE:2002-02-02\r\n",
            {{"Anniversary", "2015-09-01"}, {"Graduation Date", "2001-01-01"}, {"Date", "2002-02-02"}}},
        PropertyCase{"CategoriesGenderRelatedPhonetic",
                     "4.0",
                     "CATEGORIES:friends,work\\,team\r\nGENDER:F;she/her\r\nX-GENDER:Male\r\nGENDER:O\r\n"
                     "RELATED;TYPE=spouse:Jane\r\nX-ABRELATEDNAMES:Bob\r\n"
                     "X-PHONETIC-FIRST-NAME:Jon\r\nX-PHONETIC-LAST-NAME:Smyth\r\n",
                     {{"Categories", "friends, work,team"},
                      {"Gender", "Female (she/her)"},
                      {"Gender 2", "Male"},
                      {"Gender 3", "Other"},
                      {"Spouse", "Jane"},
                      {"Related", "Bob"},
                      {"Phonetic First Name", "Jon"},
                      {"Phonetic Last Name", "Smyth"}}},
        PropertyCase{"InstantMessaging",
                     "3.0",
                     "IMPP;X-SERVICE-TYPE=Skype:skype:alice.b\r\nIMPP:xmpp:bob@jabber.example\r\n"
                     "X-AIM:carol\r\nX-SKYPE-USERNAME:dan\r\nIMPP:aim:goim?screenname=erin\r\n"
                     "IMPP:frank\r\nX-GOOGLE-TALK:gina@example.com\r\n",
                     {{"Skype IM", "alice.b"},
                      {"Jabber IM", "bob@jabber.example"},
                      {"AIM IM", "carol"},
                      {"Skype IM 2", "dan"},
                      {"AIM IM 2", "erin"},
                      {"IM Address", "frank"},
                      {"Google Talk IM", "gina@example.com"}}},
        // A telephone is a home one when typed HOME, or when its group's label says so.
        PropertyCase{"TelephoneKinds",
                     "3.0",
                     "TEL:1\r\nTEL;TYPE=HOME:2\r\nTEL;HOME;FAX:3\r\nitem1.TEL:4\r\nitem1.X-ABLabel:Home\r\n",
                     {{"Other Phone", "1"}, {"Home Phone", "2"}, {"Home Fax", "3"}, {"Home Phone 2", "4"}}},
        PropertyCase{"RepeatsNumbered",
                     "3.0",
                     "NOTE:one\r\nNOTE:two\r\nURL:http\\://x.example/a\r\n",
                     {{"Notes", "one"}, {"Notes 2", "two"}, {"Website", "http://x.example/a"}}}),
    [](const ::testing::TestParamInfo<PropertyCase>& info) { return std::string(info.param.name); });

struct FileCase {
  const char* name;
  std::string bytes;
  std::vector<std::string> displayNames;  // one a contact; "-" for a contact without one
};

std::vector<std::string> DisplayNames(const Rows& rows) {
  std::vector<std::string> names;
  for (const Cells& cells : rows) {
    std::string name = "-";
    for (const auto& [caption, value] : cells) {
      if (caption == "Display Name") name = value;
    }
    names.push_back(name);
  }
  return names;
}

std::string Utf16(std::u16string_view text, bool bigEndian) {
  std::string bytes;
  for (const char16_t ch : text) {
    const char high = static_cast<char>(ch >> 8);
    const char low = static_cast<char>(ch & 0xFF);
    bytes += bigEndian ? high : low;
    bytes += bigEndian ? low : high;
  }
  return bytes;
}

TEST(ContactFiles, BlocksAreContactsAndTextDecodesByItsMark) {
  const std::string a = Card("3.0", "FN:A\r\n");
  const std::string b = Card("3.0", "FN:B\r\n");
  const std::vector<FileCase> cases = {
      {"blocks in order, text outside ignored", "junk\r\nFN:Outside\r\n" + a + "between\r\n" + b, {"A", "B"}},
      // A file without a block is no vCard file (as the summary says): no contact.
      {"no block: no contact", "FN:Loose\r\nEMAIL:l@x\r\n", {}},
      {"empty file", "", {}},
      {"agent block belongs to its contact",
       "BEGIN:VCARD\r\nFN:Boss\r\nAGENT:\r\nBEGIN:VCARD\r\nFN:Agent\r\nEND:VCARD\r\nTITLE:CEO\r\nEND:"
       "VCARD\r\n" +
           b,
       {"Boss", "B"}},
      {"a folded BEGIN line is no block", "BEGIN:VCARD\r\n X\r\nFN:A\r\nEND:VCARD\r\nEMAIL:a@x\r\n", {}},
      {"a block after text", "FN:Loose\r\nBEGIN:VCARD\r\n X\r\nFN:A\r\nEND:VCARD\r\n" + b, {"B"}},
      {"missing END", "BEGIN:VCARD\r\nFN:A\r\nBEGIN:VCARD\r\nFN:B\r\n", {"A", "B"}},
      {"stray END", "END:VCARD\r\n" + a + "END:VCARD\r\n" + b, {"A", "B"}},
      {"soft break never swallows END",
       "BEGIN:VCARD\r\nNOTE;QUOTED-PRINTABLE:x=\r\nEND:VCARD\r\n" + b,
       {"-", "B"}},
      {"LF and CR line ends", "BEGIN:VCARD\nFN:A\nEND:VCARD\rBEGIN:VCARD\rFN:B\rEND:VCARD", {"A", "B"}},
      {"long lines with every line end",
       "BEGIN:VCARD\rFN:" + std::string(70000, 'a') + "\rEND:VCARD\rBEGIN:VCARD\nFN:" +
           std::string(300, 'b') + "\r\nNOTE:" + std::string(100000, 'c') + "\nEND:VCARD\n",
       {std::string(70000, 'a'), std::string(300, 'b')}},
      {"UTF-8", Card("3.0", "FN:Zo\xC3\xAB \xF0\x9F\x98\x80\r\n"), {"Zo&#235; &#128512;"}},
      {"UTF-8 with mark", "\xEF\xBB\xBF" + Card("3.0", "FN:Zo\xC3\xAB\r\n"), {"Zo&#235;"}},
      {"Windows-1252", Card("3.0", "FN:Zo\xEB \x80\r\n"), {"Zo&#235; &#8364;"}},
      {"UTF-16 little-endian",
       Utf16(u"\xFEFF"
             u"BEGIN:VCARD\r\nFN:Zo\u00EB \u65E5\r\nEND:VCARD\r\n",
             false),
       {"Zo&#235; &#26085;"}},
      {"UTF-16 big-endian",
       Utf16(u"\xFEFF"
             u"BEGIN:VCARD\r\nFN:Zo\u00EB\r\nEND:VCARD\r\n",
             true),
       {"Zo&#235;"}},
  };
  for (const FileCase& c : cases) EXPECT_EQ(DisplayNames(Read(c.bytes)), c.displayNames) << c.name;
}

// The line layouts that exporters write, byte for byte: each reads as its
// owner typed it, and no layout swallows the property after it.
TEST(ContactFiles, EveryExportersLineLayoutReadsWhole) {
  const std::string enye = "&#209;";
  const struct {
    const char* name;
    std::string bytes;
    Cells cells;
  } cases[] = {
      {"Android: a soft break and an empty line end a value before the next property",
       Card("2.1",
            "ORG;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=C3=91=C3=91=\r\n=C3=91=C3=91=\r\n\r\n"
            "CATEGORIES:My Contacts\r\n"),
       {{"Organization", enye + enye + enye + enye}, {"Categories", "My Contacts"}}},
      {"Android: an address so ended keeps the label after it out of its country",
       Card("2.1",
            "ADR;HOME;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:;;Stra=C3=9Fe 1;Town;;12345;Land=\r\n\r\n"
            "LABEL;HOME;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Stra=C3=9Fe 1=0D=0A12345 Town=\r\n\r\n"),
       {{"Home Address - Street", "Stra&#223;e 1"},
        {"Home Address - City", "Town"},
        {"Home Address - Postal Code", "12345"},
        {"Home Address - Country", "Land"}}},
      {"a grouped property after the empty line",
       Card("2.1", "NOTE;ENCODING=QUOTED-PRINTABLE:a=\r\n\r\nitem1.TEL;CELL:1\r\n"),
       {{"Notes", "a"}, {"Mobile Phone", "1"}}},
      {"more quoted-printable text after the empty lines goes on",
       Card("2.1", "NOTE;ENCODING=QUOTED-PRINTABLE:one=\r\n\r\n\r\n=0D=0Atwo: three\r\nFN:A\r\n"),
       {{"Notes", "one<br/>two: three"}, {"Display Name", "A"}}},
      {"a soft break right before END",
       Card("2.1", "NOTE;ENCODING=QUOTED-PRINTABLE:x=\r\n"),
       {{"Notes", "x"}}},
      {"LF line ends with quoted-printable",
       "BEGIN:VCARD\nVERSION:2.1\nN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=C3=91;A=\n\nTEL;CELL:2\n"
       "NOTE;ENCODING=QUOTED-PRINTABLE:b=\nc\nEND:VCARD\n",
       {{"Last Name", enye}, {"First Name", "A"}, {"Mobile Phone", "2"}, {"Notes", "bc"}}},
      {"CR CR LF line ends, folded by blanks and tabs",
       "BEGIN:VCARD\r\r\nVERSION:3.0\r\r\nFN:Ann\r\r\nNOTE:long\r\r\n  note\r\r\n\tends\r\r\n"
       "TEL;TYPE=CELL:3\r\r\nEND:VCARD\r\r\n",
       {{"Display Name", "Ann"}, {"Notes", "long noteends"}, {"Mobile Phone", "3"}}},
  };
  for (const auto& c : cases) {
    const Rows rows = Read(c.bytes);
    ASSERT_EQ(rows.size(), 1u) << c.name;
    EXPECT_EQ(rows[0], c.cells) << c.name;
  }

  // An iPhone's photo, folded in CR CR LF lines, is embedded whole.
  std::string photo = "BEGIN:VCARD\r\r\nVERSION:3.0\r\r\nPHOTO;ENCODING=b;TYPE=JPEG:";
  const std::string_view jpeg = test::pictures::kJpeg;
  for (std::size_t at = 0; at < jpeg.size(); at += 74) photo.append(jpeg.substr(at, 74)).append("\r\r\n ");
  photo.resize(photo.size() - 1);
  photo += "FN:Ann\r\r\nEND:VCARD\r\r\n";
  const Rows rows = Read(photo);
  ASSERT_EQ(rows.size(), 1u);
  ASSERT_EQ(rows[0].size(), 2u);
  std::string embedded = rows[0][0].second;  // its line breaks and folding blanks aside
  for (std::size_t at; (at = embedded.find("<br/>")) != std::string::npos;) embedded.erase(at, 5);
  std::erase_if(embedded, [](char c) { return c == ' ' || c == '\r' || c == '\n'; });
  EXPECT_EQ(rows[0][0].first, "Photo");
  EXPECT_EQ(embedded, jpeg);
  EXPECT_EQ(rows[0][1], (std::pair<std::string, std::string>{"Display Name", "Ann"}));
}

// What people typed reads as they meant it; what only programs read is left out.
TEST(ContactFiles, ValuesReadAsTheirOwnersMeantThem) {
  const struct {
    const char* name;
    std::string lines;
    Cells cells;
    std::vector<std::string> leftOut;
  } cases[] = {
      {"a postal label beside another address is an address; a copy is named as one",
       "ADR;TYPE=HOME:;;Elm St 1;Town;;;\r\nLABEL;POSTAL:PO Box 9\\nTown\r\nLABEL;HOME:Elm St 1\\, Town\r\n",
       {{"Home Address - Street", "Elm St 1"},
        {"Home Address - City", "Town"},
        {"Address - Street", "PO Box 9<br/>Town"}},
       {"LABEL copies of shown addresses"}},
      {"sync data is left out like UID",
       "X-ID:1\r\nX-ETAG:2\r\nX-THUNDERBIRD-ETAG:3\r\nX-FC-LIST-ID:4\r\nX-GENERATOR:5\r\n"
       "X-COUCHDB-APPLICATION-ANNOTATIONS:{}\r\nUID:6\r\nFN:A\r\n",
       {{"Display Name", "A"}},
       {"UID", "X-COUCHDB-APPLICATION-ANNOTATIONS", "X-ETAG", "X-FC-LIST-ID", "X-GENERATOR", "X-ID",
        "X-THUNDERBIRD-ETAG"}},
      {"names written in hex read as what they name",
       "X-FCENCODED-582D46432D52656C617465644E616D65733A4D6F74686572:Ann\r\n"
       "X-FCENCODED-582D46432D44617465733A47726164756174696F6E:2001-06-01\r\nX-FCENCODED-5A:1\r\n",
       {{"Mother", "Ann"}, {"Graduation Date", "2001-06-01"}, {"More", "Z: 1"}},
       {}},
      {"one column per thing: repeats pass, look-alike labels are one",
       "BDAY;ALTID=1:19900101\r\nBDAY;ALTID=1;VALUE=date:1990-01-01\r\nGENDER:M\r\nX-GENDER:Male\r\n"
       "PHOTO;VALUE=uri:https://x.example/me.jpg\r\nPHOTO;VALUE=uri:https://x.example/me.jpg\r\n"
       "item1.TEL:1\r\nitem1.X-ABLabel:AssistantPhone\r\nTEL;TYPE=X-EVOLUTION-ASSISTANT:2\r\n"
       "URL;TYPE=HOME:https\\://a.example\r\nitem2.URL:https\\://b.example\r\n"
       "item2.X-ABLabel:_$!<HomePage>!$_\r\nBDAY:1991-02-02\r\n",
       {{"Birthday", "1990-01-01"},
        {"Gender", "Male"},
        {"Photo", "https://x.example/me.jpg"},
        {"Assistant Phone", "1"},
        {"Assistant Phone 2", "2"},
        {"Home Page", "https://a.example"},
        {"Home Page 2", "https://b.example"},
        {"Birthday 2", "1991-02-02"}},
       {}},
      {"an IM address in a group keeps its service whatever the group's label",
       "item1.IMPP:skype:x\r\nitem1.X-ABLabel:_$!<Other>!$_\r\nitem2.IMPP:icq:1\r\nIMPP:icq:2\r\n",
       {{"Other IM", "Skype: x"}, {"ICQ IM", "ICQ: 1"}, {"ICQ IM 2", "2"}},
       {}},
      {"escaped quotes", "NOTE:Say \\\"hi\\\" \\x\r\n", {{"Notes", "Say \"hi\" \\x"}}, {}},
      {"type words of the user's own name e-mail and postal addresses",
       "EMAIL;TYPE=INTERNET;TYPE=school:s@x\r\nADR;TYPE=customtype:;;1 Rd\r\nTEL;TYPE=school:1\r\n",
       {{"School Email", "s@x"}, {"Customtype Address - Street", "1 Rd"}, {"Other Phone", "1"}},
       {}},
  };
  for (const auto& c : cases) {
    const RowCollector read = ReadAll(Card("3.0", c.lines));
    ASSERT_EQ(read.rows.size(), 1u) << c.name;
    EXPECT_EQ(read.rows[0], c.cells) << c.name;
    std::vector<std::string> leftOut = read.leftOutNames;
    std::sort(leftOut.begin(), leftOut.end());
    EXPECT_EQ(leftOut, c.leftOut) << c.name;
  }
}

// Foreign input must never crash, hang or lose text: huge lines, endless soft
// breaks and folds, stray quotes, escapes and encodings at the very end.
TEST(ContactFiles, HostileInputIsReadWhole) {
  const std::string huge(8 << 20, 'x');
  std::string chained = "BEGIN:VCARD\r\nNOTE;ENCODING=QUOTED-PRINTABLE:";
  for (int i = 0; i < 100000; ++i) chained += "ab=\r\n";
  chained += "end\r\nEND:VCARD\r\n";
  std::string folds = "BEGIN:VCARD\r\nNOTE:";
  for (int i = 0; i < 100000; ++i) folds += "cd\r\n ";
  folds += "\r\nEND:VCARD\r\n";

  Rows rows = Read(Card("3.0", "NOTE:" + huge + "\r\n"));
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0][0].second, huge);
  EXPECT_EQ(Read(chained)[0][0].second.size(), 200000u + 3);
  EXPECT_EQ(Read(folds)[0][0].second.size(), 200000u);
  EXPECT_EQ(Read(std::string(4 << 20, '\r')).size(), 0u);  // no block: no contact

  // Escapes in a value of megabytes, as it stands and folded, are undone a few megabytes at a time.
  std::string escaped;
  std::string folded;
  std::string expected;
  for (int i = 0; i < 1200000; ++i) {
    escaped += "ab\\,\\\\c\\n";
    folded += i % 7 == 0 ? "ab\r\n \\,\\\\c\\n" : "ab\\,\\\\c\\n";
    expected += "ab,\\c<br/>";
  }
  expected.resize(expected.size() - 5);
  EXPECT_TRUE(Read(Card("3.0", "NOTE:" + escaped + "\r\n"))[0][0].second == expected);
  EXPECT_TRUE(Read(Card("3.0", "NOTE:" + folded + "\r\n"))[0][0].second == expected);

  rows = Read("BEGIN:VCARD\r\nFN;X=\"open:Ann\r\nNOTE:ends in \\\r\nEMAIL;QUOTED-PRINTABLE:a=");
  EXPECT_EQ(rows, (Rows{{{"Display Name", "Ann"}, {"Notes", "ends in \\"}, {"Email Address", "a="}}}));
}

// A value's CHARSET decides how its bytes read, whatever the rest of the file
// holds; without one, a value that is valid UTF-8 is UTF-8 and any other is
// Windows-1252. What XML cannot hold never reaches a document.
TEST(ContactFiles, EachValueDecodesOnItsOwn) {
  const struct {
    const char* name;
    std::string bytes;
    Cells cells;
  } cases[] = {
      {"ISO-2022-JP in a UTF-8 file",
       Card("3.0", "FN:Zo\xC3\xAB\r\nNOTE;CHARSET=ISO-2022-JP:\x1B$BF|K\\\x1B(B\r\n"),
       {{"Display Name", "Zo&#235;"}, {"Notes", "&#26085;&#26412;"}}},
      {"UTF-7", Card("3.0", "NOTE;CHARSET=UTF-7:Hi +AOk-\r\n"), {{"Notes", "Hi &#233;"}}},
      {"a stray byte spoils only itself",
       Card("3.0", "FN:J\xC3\xBCrgen\r\nNOTE:Caf\xE9\r\nTITLE:\xE2\x82\xAC \x80\r\n"),
       {{"Display Name", "J&#252;rgen"}, {"Notes", "Caf&#233;"}, {"Job Title", "&#8364; &#65533;"}}},
      {"controls",
       Card("3.0", std::string("NOTE:a\x01"
                               "b\0c\x1B[0md\x7F\te\xC2\x85\x0C\r\n",
                               23)),
       {{"Notes", "abc[0md&#127;\te&#133;"}}},
      {"no character", Card("3.0", "NOTE:\xEF\xBF\xBE\xEF\xBF\xBF!\r\n"), {{"Notes", "&#65533;&#65533;!"}}},
      {"lone surrogates in UTF-16",
       Utf16(u"\xFEFF"
             u"BEGIN:VCARD\r\nFN:a\xD800"
             u"b\xDC00"
             u"c\xD83D\xDE00\r\nEND:VCARD\r\n",
             false),
       {{"Display Name", "a&#65533;b&#65533;c&#128512;"}}},
      {"CHARSET in UTF-16 speaks of quoted-printable bytes only",
       Utf16(u"\xFEFF"
             u"BEGIN:VCARD\r\nFN;CHARSET=ISO-8859-1:Zo\u00EB\r\n"
             u"NOTE;CHARSET=ISO-8859-1;ENCODING=QUOTED-PRINTABLE:=E9\r\nEND:VCARD\r\n",
             false),
       {{"Display Name", "Zo&#235;"}, {"Notes", "&#233;"}}},
  };
  for (const auto& c : cases) {
    // Wine has no code page for ISO-2022-JP (Windows and iconv have).
    if (std::string_view(c.name).starts_with("ISO-2022-JP") && !SystemConverts("ISO-2022-JP")) continue;
    const Rows rows = Read(c.bytes);
    ASSERT_EQ(rows.size(), 1u) << c.name;
    EXPECT_EQ(rows[0], c.cells) << c.name;
  }

  // Past sixteen character sets in a file, each still decodes.
  std::string lines;
  for (const char* charset :
       {"ISO-8859-1", "ISO-8859-2", "ISO-8859-3", "ISO-8859-4", "ISO-8859-5", "ISO-8859-6", "ISO-8859-7",
        "ISO-8859-8", "ISO-8859-9", "ISO-8859-10", "ISO-8859-13", "ISO-8859-14", "ISO-8859-15", "ISO-8859-16",
        "CP1250", "CP1251", "KOI8-R"}) {
    lines += "NOTE;CHARSET=" + std::string(charset) + ";ENCODING=QUOTED-PRINTABLE:=F0\r\n";
  }
  const Rows rows = Read(Card("2.1", lines));
  ASSERT_EQ(rows[0].size(), 17u);
  EXPECT_EQ(rows[0][16], (std::pair<std::string, std::string>{"Notes 17", "&#1055;"}));
  EXPECT_EQ(rows[0][14], (std::pair<std::string, std::string>{"Notes 15", "&#273;"}));  // CP1250
}

// A joined value is decoded in place; both ways give the same bytes.
TEST(ContactText, QuotedPrintableDecodesTheSameInPlace) {
  for (const std::string encoded : {"one=0D=0A=two", "a==0A=b", "=0A==x", "x=4", "=", "=0a=ZZ=3d",
                                    "=E9t=C3=A9", "", "plain", "=0A=\r\n"}) {
    std::string expected;
    DecodeQuotedPrintable(encoded, expected);
    std::string inPlace = encoded;
    inPlace.resize(DecodeQuotedPrintableInPlace(inPlace.data(), inPlace.size()));
    EXPECT_EQ(inPlace, expected) << encoded;
  }
}

// Nothing a person typed is lost: what no column takes goes into "More"; what
// is left out is machine data by its name, and a label or an agent that
// nothing shows, named with its contact.
TEST(ContactFiles, WhatNoColumnShowsIsNamed) {
  const RowCollector read = ReadAll(
      "X-BEFORE:1\r\n" + Card("3.0",
                              "FN:A\r\nPHOTO;ENCODING=b:QUJD\r\n "
                              "QUJD\r\nitem1.X-ABLabel:Work\r\nx-custom:2\r\nitem2.X-ABDATE:2000-01-01\r\n"
                              "PRODID:-//x//y\r\nUID:1\r\nX-ABUID:2\r\nitem3.X-ABLabel:_$!<Spouse>!$_\r\n"
                              "AGENT:\r\nBEGIN:VCARD\r\nFN:Agent\r\nEND:VCARD\r\n"));
  EXPECT_EQ(read.rows, (Rows{{{"Display Name", "A"},
                              {"Photo", "Picture, 6 bytes, not shown"},
                              {"Date", "2000-01-01"},
                              {"More", "x-custom: 2"}}}));
  std::vector<std::string> leftOut = read.leftOutNames;
  std::sort(leftOut.begin(), leftOut.end());
  EXPECT_EQ(leftOut,
            (std::vector<std::string>{"AGENT a contact of A", "PRODID", "UID", "X-ABLABEL \"Spouse\" of A",
                                      "X-ABLABEL \"Work\" of A", "X-ABUID"}));
}

// However a long contact is made, the host gets its turn every few thousand lines.
TEST(ContactFiles, LongContactsGiveTheHostTurns) {
  std::string folded = "NOTE:x";
  for (int i = 0; i < 40000; ++i) folded += "\r\n y";
  std::string emails;
  for (int i = 0; i < 40000; ++i) emails += "EMAIL:a@x\r\n";
  for (const std::string& lines : {folded + "\r\n", emails}) {
    test::TempDir dir;
    test::WriteBytes(dir / "in.vcf", Card("3.0", lines));
    RowCollector collector;
    test::RecordingHost host;
    ReadContacts(ContactBytes(ReadInput(FromUtf8((dir / "in.vcf").string()))), collector, host);
    EXPECT_GE(host.yields, 9);
  }
}

}  // namespace
}  // namespace brevant
