// One row per contact over exports written here in the style of each address
// book: what a person sees in their address book reaches the table, with one
// table of cases for each thing that once went missing.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "engine/convert/one_document_conversion.h"
#include "engine/convert/per_input_conversion.h"
#include "support/text/utf8.h"
#include "test_support/contact_table.h"
#include "test_support/csv_table.h"
#include "test_support/picture_samples.h"
#include "test_support/recording_host.h"
#include "test_support/temp_dir.h"
#include "test_support/xlsx_table.h"

namespace brevant {
namespace {

using Row = std::map<std::string, std::string>;
using namespace test::pictures;

struct ExportCase {
  const char* name;  // whose export it is like, and what it shows
  std::string vcf;
  Row row;  // the first contact's filled cells
};

std::string Card(std::string_view version, std::string_view lines) {
  return "BEGIN:VCARD\r\nVERSION:" + std::string(version) + "\r\n" + std::string(lines) + "END:VCARD\r\n";
}

// A folded line as vCard 3.0 and 4.0 fold: 75 octets, then a blank and the rest.
std::string Folded(std::string line) {
  for (std::size_t at = 75; at < line.size(); at += 77) line.insert(at, "\r\n ");
  return line;
}

class AddressBookExports : public ::testing::Test {
 protected:
  AddressBookExports() {
    host.perContact = true;
    host.saveTo = Destination::ChosenFolder;
    host.beside[OutputFormat::Csv] = true;
    host.folder = FromUtf8(dir.path().string());
  }

  // The document's table for one input, which must be well-formed XML.
  test::ContactTableText convert(const std::string& vcf) {
    test::WriteBytes(dir / "in" / "export.vcf", vcf);
    ConvertPerInput(host, FromUtf8((dir / "in" / "export.vcf").string()));
    const std::string document = test::ReadBytes(dir / "export.htm");
    test::ContactTableText table = test::ReadContactTable(document);
    EXPECT_TRUE(table.wellFormed || !test::ChecksXml()) << document.substr(0, 3000);
    return table;
  }

  void check(const std::vector<ExportCase>& cases) {
    for (const ExportCase& c : cases) {
      const test::ContactTableText table = convert(c.vcf);
      ASSERT_FALSE(table.rows.empty()) << c.name;
      EXPECT_EQ(table.rows[0], c.row) << c.name;
    }
    EXPECT_TRUE(host.errors.empty());
  }

  test::TempDir dir;
  test::RecordingHost host;
};

// Pictures show as pictures of their own bytes, named for their contact; what
// is no raster picture says what it is; an address is shown, never loaded.
TEST_F(AddressBookExports, PicturesShowWithTheirContact) {
  const std::string svgScript = "PHOTO;ENCODING=b;TYPE=SVG:" + std::string(kSvg) + "\r\n";
  check({
      {"a phone's vCard 2.1: bare base64 lines",
       Card("2.1", "FN:Ann Lee\r\nPHOTO;ENCODING=BASE64;TYPE=JPEG:" + std::string(kJpeg).substr(0, 60) +
                       "\r\n" + std::string(kJpeg).substr(60) + "\r\n\r\nTEL;CELL:1\r\n"),
       {{"Photo", "[image/jpeg: Photo of Ann Lee]"}, {"Display Name", "Ann Lee"}, {"Mobile Phone", "1"}}},
      {"Apple's vCard 3.0: folded",
       Card("3.0", "N:Lee;Ann;;;\r\n" + Folded("PHOTO;ENCODING=b;TYPE=JPEG:" + std::string(kJpeg)) + "\r\n"),
       {{"Photo", "[image/jpeg: Photo of Ann Lee]"}, {"First Name", "Ann"}, {"Last Name", "Lee"}}},
      {"vCard 4.0: a data URI, a logo beside it",
       Card("4.0", "FN:Acme\r\nPHOTO:data:image/gif;base64," + std::string(kGif) + "\r\n" +
                       "LOGO:data:image/webp;base64," + std::string(kWebp) + "\r\n"),
       {{"Photo", "[image/gif: Photo of Acme]"},
        {"Logo", "[image/webp: Logo of Acme]"},
        {"Display Name", "Acme"}}},
      {"Outlook's card picture",
       Card("2.1",
            "FN:Bo\r\nX-MS-CARDPICTURE;TYPE=BMP;ENCODING=BASE64:\r\n " + std::string(kBmp) + "\r\n\r\n"),
       {{"Photo", "[image/bmp: Photo of Bo]"}, {"Display Name", "Bo"}}},
      {"a PNG that says it is a JPEG",
       Card("3.0", "FN:Cy\r\nPHOTO;ENCODING=b;TYPE=JPEG:" + std::string(kPng) + "\r\n"),
       {{"Photo", "[image/png: Photo of Cy]"}, {"Display Name", "Cy"}}},
      {"SVG with a script is never embedded",
       Card("3.0", "FN:Di\r\n" + svgScript),
       {{"Photo", "SVG picture, 71 bytes, not shown"}, {"Display Name", "Di"}}},
      {"a picture on a server is its address",
       Card("3.0", "FN:Ed\r\nPHOTO;VALUE=uri:https://example.org/ed.jpg\r\n"),
       {{"Photo", "https://example.org/ed.jpg"}, {"Display Name", "Ed"}}},
  });
  // The embedded bytes are the picture's own, without the line breaks it was folded with.
  const test::ContactTableText table = convert(
      Card("3.0", "FN:Ann\r\n" + Folded("PHOTO;ENCODING=b;TYPE=JPEG:" + std::string(kJpeg)) + "\r\n"));
  EXPECT_THAT(table.pictures, ::testing::ElementsAre(kJpeg));
  // The CSV file leaves pictures out.
  const test::CsvText csv = test::ReadCsv(test::ReadBytes(dir / "export.csv"));
  ASSERT_TRUE(csv.wellFormed) << csv.problem;
  EXPECT_THAT(csv.records,
              ::testing::ElementsAre(::testing::ElementsAre("Display Name"), ::testing::ElementsAre("Ann")));
}

// The files for spreadsheets hold the document's captions, labels typed in
// any script among them, and leave pictures out.
TEST_F(AddressBookExports, SpreadsheetsHoldTheCaptionsWithoutPictures) {
  host.beside[OutputFormat::Xlsx] = true;
  convert(
      Card("3.0", "FN:Ann\r\nPHOTO;ENCODING=b;TYPE=PNG:" + std::string(kPng) +
                      "\r\nitem1.EMAIL:ann@club.example\r\nitem1.X-ABLabel:Caf\xC3\xA9 \xE4\xBC\x9A\r\n"));
  const test::Cells expected = {{"Display Name", "Caf\xC3\xA9 \xE4\xBC\x9A Email"},
                                {"Ann", "ann@club.example"}};
  const test::CsvText csv = test::ReadCsv(test::ReadBytes(dir / "export.csv"));
  ASSERT_TRUE(csv.wellFormed) << csv.problem;
  EXPECT_EQ(csv.records, expected);
  const test::XlsxText workbook = test::ReadXlsx(test::ReadBytes(dir / "export.xlsx"));
  ASSERT_TRUE(workbook.zipWhole) << workbook.problem;
  EXPECT_EQ(workbook.texts(), expected);
  // Both header cells in the header's style, the typed label's as the other's.
  ASSERT_EQ(workbook.rows.size(), 2u);
  ASSERT_EQ(workbook.rows[0].size(), 2u);
  EXPECT_EQ(workbook.rows[0][1].style, workbook.rows[0][0].style);
  EXPECT_NE(workbook.rows[0][0].style, workbook.rows[1][0].style);
}

// Labels reach the reader: Apple's built-in labels as words, labels typed in
// an address book as written, type words of e-mail, web and IM, and the kind
// of each related person.
TEST_F(AddressBookExports, LabelsAndTypesShow) {
  check({
      {"Apple: built-in labels",
       Card("3.0",
            "FN:Ann\r\nitem1.TEL:+1 555 0100\r\nitem1.X-ABLabel:_$!<HomeFAX>!$_\r\n"
            "item2.X-ABRELATEDNAMES:Bo\r\nitem2.X-ABLabel:_$!<Spouse>!$_\r\n"
            "item3.URL:https\\://ann.example\r\nitem3.X-ABLabel:_$!<HomePage>!$_\r\n"
            "item4.X-ABRELATEDNAMES:Cy\r\nitem4.X-ABLabel:_$!<Assistant>!$_\r\n"),
       {{"Display Name", "Ann"},
        {"Home Fax", "+1 555 0100"},
        {"Spouse", "Bo"},
        {"Home Page", "https://ann.example"},
        {"Assistant", "Cy"}}},
      {"Google: labels typed by the user, the label after its item",
       Card("3.0",
            "FN:Bo\r\nitem1.TEL:+1 555 0101\r\nitem1.X-ABLabel:AssistantPhone\r\n"
            "item2.EMAIL;TYPE=INTERNET:bo@club.example\r\nitem2.X-ABLabel:Tennis club\r\n"
            "item3.URL:https\\://bo.example/blog\r\nitem3.X-ABLabel:BLOG\r\n"),
       {{"Display Name", "Bo"},
        {"Assistant Phone", "+1 555 0101"},
        {"Tennis club Email", "bo@club.example"},
        {"Blog", "https://bo.example/blog"}}},
      {"type words of e-mail, web and IM",
       Card("3.0",
            "FN:Cy\r\nEMAIL;TYPE=INTERNET,HOME:cy@home.example\r\nEMAIL;TYPE=WORK:cy@work.example\r\n"
            "URL;TYPE=WORK:https\\://work.example\r\nIMPP;TYPE=home:xmpp:cy@jabber.example\r\n"),
       {{"Display Name", "Cy"},
        {"Home Email", "cy@home.example"},
        {"Business Email", "cy@work.example"},
        {"Business Website", "https://work.example"},
        {"Home IM", "Jabber: cy@jabber.example"}}},
      {"vCard 4.0 relations",
       Card("4.0",
            "FN:Di\r\nRELATED;TYPE=spouse;VALUE=text:Ed\r\nRELATED;TYPE=child;VALUE=text:Flo\r\n"
            "RELATED;TYPE=child;VALUE=text:Gus\r\nRELATED;TYPE=co-worker;VALUE=text:Hal\r\nRELATED:urn:uuid:"
            "1\r\n"),
       {{"Display Name", "Di"},
        {"Spouse", "Ed"},
        {"Child", "Flo"},
        {"Child 2", "Gus"},
        {"Co-worker", "Hal"},
        {"Related", "urn:uuid:1"}}},
      {"Android: a relation and a nickname in its own form",
       Card("2.1",
            "FN:Jo\r\nX-ANDROID-CUSTOM:vnd.android.cursor.item/relation;Kim;14;;;;;;;;;;;;;\r\n"
            "X-ANDROID-CUSTOM:vnd.android.cursor.item/relation;Lou;0;Godfather;;;;;;;;;;;;\r\n"
            "X-ANDROID-CUSTOM:vnd.android.cursor.item/nickname;Joey;1;;;;;;;;;;;;;\r\n"),
       {{"Display Name", "Jo"}, {"Spouse", "Kim"}, {"Godfather", "Lou"}, {"Nickname", "Joey"}}},
  });
}

// Each address book's own properties fill the columns that exist.
TEST_F(AddressBookExports, EachAddressBooksOwnPropertiesFillTheirColumns) {
  check({
      {"Outlook",
       Card("2.1",
            "FN:Ann\r\nX-MS-ANNIVERSARY:20100612\r\nX-MS-SPOUSE;N:Bo\r\nX-MS-MANAGER;N:Cy\r\n"
            "X-MS-ASSISTANT;N:Di\r\nX-MS-IMADDRESS:ann@im.example\r\nX-MS-TEL;TYPE=ASSISTANT:+1 555 0102\r\n"
            "X-MS-OL-DEFAULT-POSTAL-ADDRESS:2\r\nX-MS-OL-DESIGN;CHARSET=utf-8:<card/>\r\n"),
       {{"Display Name", "Ann"},
        {"Anniversary", "2010-06-12"},
        {"Spouse", "Bo"},
        {"Manager", "Cy"},
        {"Assistant", "Di"},
        {"IM Address", "ann@im.example"},
        {"Assistant Phone", "+1 555 0102"}}},
      {"Evolution",
       Card("3.0",
            "FN:Bo\r\nX-EVOLUTION-SPOUSE:Ann\r\nX-EVOLUTION-MANAGER:Cy\r\nX-EVOLUTION-ASSISTANT:Di\r\n"
            "X-EVOLUTION-ANNIVERSARY:2005-05-05\r\nX-EVOLUTION-BLOG-URL:https://bo.example/blog\r\n"
            "TEL;TYPE=X-EVOLUTION-CALLBACK:+33 1 23\r\nX-EVOLUTION-FILE-AS:Bo\r\n"),
       {{"Display Name", "Bo"},
        {"Spouse", "Ann"},
        {"Manager", "Cy"},
        {"Assistant", "Di"},
        {"Anniversary", "2005-05-05"},
        {"Blog", "https://bo.example/blog"},
        {"Callback Phone", "+33 1 23"}}},
      {"Windows Address Book",
       Card("2.1",
            "FN:Cy\r\nX-WAB-GENDER:2\r\nX-WAB-WEDDING_ANNIVERSARY:19990704\r\nX-WAB-SPOUSE_NAME:Di\r\n"),
       {{"Display Name", "Cy"}, {"Gender", "Male"}, {"Anniversary", "1999-07-04"}, {"Spouse", "Di"}}},
      {"KDE",
       Card("3.0",
            "FN:Di\r\nX-KADDRESSBOOK-X-SpousesName:Ed\r\nX-KADDRESSBOOK-X-ManagersName:Flo\r\n"
            "X-KADDRESSBOOK-X-Anniversary:2001-02-03\r\nX-KADDRESSBOOK-X-Profession:Pilot\r\n"
            "X-KADDRESSBOOK-BlogFeed:https://di.example/feed\r\nX-KADDRESSBOOK-CRYPTOPROTOPREF:openpgp/"
            "mime\r\n"),
       {{"Display Name", "Di"},
        {"Spouse", "Ed"},
        {"Manager", "Flo"},
        {"Anniversary", "2001-02-03"},
        {"Role", "Pilot"},
        {"Blog", "https://di.example/feed"}}},
      {"Google and Netscape",
       Card("3.0", "FN:Ed\r\nX-GTALK:ed@gmail.example\r\nX-SPOUSE:Flo\r\nX-ANNIVERSARY:2000-01-01\r\n"),
       {{"Display Name", "Ed"},
        {"Google Talk IM", "ed@gmail.example"},
        {"Spouse", "Flo"},
        {"Anniversary", "2000-01-01"}}},
  });
}

// Other user data gets columns, and whatever else a person typed goes into
// "More" as "NAME: value" lines; machine data stays out.
TEST_F(AddressBookExports, OtherUserDataGetsColumns) {
  check({
      {"vCard 4.0 properties",
       Card("4.0",
            "FN:Ann\r\nTZ:Europe/Berlin\r\nGEO:geo:52.52,13.40\r\nLANG:de\r\n"
            "FBURL:https://ann.example/fb.ifb\r\nCALURI:https://ann.example/cal\r\n"
            "KEY:data:application/pgp-keys;base64,mQENBF\r\nDEATHDATE:2099-01-01\r\n"
            "PRODID:-//x//y\r\nUID:1\r\nREV:2020-01-01\r\n"),
       {{"Display Name", "Ann"},
        {"Time Zone", "Europe/Berlin"},
        {"Location", "52.52, 13.40"},
        {"Language", "de"},
        {"Free/Busy", "https://ann.example/fb.ifb"},
        {"Calendar", "https://ann.example/cal"},
        {"Key", "PGP key, 4 bytes"},
        {"Date of Death", "2099-01-01"}}},
      {"Apple: social profiles and dates with a custom label",
       Card("3.0",
            "FN:Bo\r\nX-SOCIALPROFILE;type=twitter:https://twitter.com/bo\r\n"
            "item1.X-ABDATE:2019-09-01\r\nitem1.X-ABLabel:Graduation\r\nX-ABUID:1234\r\n"),
       {{"Display Name", "Bo"},
        {"Twitter Profile", "https://twitter.com/bo"},
        {"Graduation Date", "2019-09-01"}}},
      {"what no column takes goes into More",
       Card("3.0",
            "FN:Cy\r\nX-CUSTOM-HOBBY:Sailing\\, chess\r\nX-MAIDENNAME:Smith\r\nHOBBY:Cooking\r\n"
            "item1.X-SHOE-SIZE:44\r\nitem1.X-ABLabel:Shoe size\r\n"),
       {{"Display Name", "Cy"},
        {"More", "X-CUSTOM-HOBBY: Sailing, chess\nMaiden Name: Smith\nHobby: Cooking\nShoe size: 44"}}},
      {"bytes that are no property's name are no one's data",
       Card("3.0", std::string("FN:Fay\r\n\x01\xFF\xFE"
                               "BEGIN:VCARD\r\nX Y:z\r\n")),
       {{"Display Name", "Fay"}}},
      {"an address label alone is the address",
       Card("2.1", "FN:Di\r\nLABEL;ENCODING=QUOTED-PRINTABLE:1 Main St=0D=0ASpringfield\r\n"),
       {{"Address - Street", "1 Main St\nSpringfield"}, {"Display Name", "Di"}}},
      {"an address label beside its address is a copy",
       Card("2.1", "FN:Ed\r\nADR;WORK:;;1 Main St;Springfield\r\nLABEL;WORK:1 Main St, Springfield\r\n"),
       {{"Display Name", "Ed"},
        {"Business Address - Street", "1 Main St"},
        {"Business Address - City", "Springfield"}}},
  });
}

// Captions say what they hold.
TEST_F(AddressBookExports, CaptionsSayWhatTheyHold) {
  check({
      {"types in one comma list of vCard 2.1",
       Card("2.1", "FN:Ann\r\nTEL;FAX,WORK:1\r\nTEL;CELL,HOME:2\r\n"),
       {{"Display Name", "Ann"}, {"Business Fax", "1"}, {"Mobile Phone", "2"}}},
      {"an address without a type is no home address",
       Card("3.0", "FN:Bo\r\nADR:;;1 Main St;Town;;;\r\n"),
       {{"Display Name", "Bo"}, {"Address - Street", "1 Main St"}, {"Address - City", "Town"}}},
      {"a second home address reads as one block",
       Card("3.0", "FN:Cy\r\nADR;TYPE=HOME:;;1 Main St;;;;\r\nADR;TYPE=HOME:;;2 Side Rd;Ville;;;\r\n"),
       {{"Display Name", "Cy"},
        {"Home Address - Street", "1 Main St"},
        {"Home Address 2 - Street", "2 Side Rd"},
        {"Home Address 2 - City", "Ville"}}},
      {"a labelled address",
       Card("3.0", "FN:Di\r\nitem1.ADR:;;Seeweg 1;Lindau;;;\r\nitem1.X-ABLabel:Ferienhaus\r\n"),
       {{"Display Name", "Di"},
        {"Ferienhaus Address - Street", "Seeweg 1"},
        {"Ferienhaus Address - City", "Lindau"}}},
      {"a fax labelled in one word, or typed so",
       Card("3.0",
            "FN:Fa\r\nitem1.TEL:1\r\nitem1.X-ABLabel:homeFax\r\nitem2.TEL:2\r\nitem2.X-ABLabel:Work Fax\r\n"
            "TEL;TYPE=WORKFAX:3\r\nTEL;TYPE=otherFax:4\r\nitem3.TEL:5\r\nitem3.X-ABLabel:mobile_phone\r\n"
            "TEL;TYPE=MOBILE:6\r\nTEL;TYPE=HOMEFAX:7\r\n"),
       {{"Display Name", "Fa"},
        {"Home Fax", "1"},
        {"Home Fax 2", "7"},
        {"Business Fax", "2"},
        {"Business Fax 2", "3"},
        {"Other Fax", "4"},
        {"Mobile Phone", "5"},
        {"Mobile Phone 2", "6"}}},
      {"kinds of telephone without a caption of their own",
       Card("3.0", "FN:Ed\r\nTEL;TYPE=CAR:1\r\nTEL;TYPE=ISDN:2\r\nTEL;TYPE=OTHER:3\r\n"),
       {{"Display Name", "Ed"}, {"Car Phone", "1"}, {"ISDN Phone", "2"}, {"Other Phone", "3"}}},
  });
}

// A fixed, grouped order of columns, whatever order the properties come in;
// a column no contact fills is not written.
TEST_F(AddressBookExports, ColumnsStandInAFixedGroupedOrder) {
  const test::ContactTableText table = convert(
      Card("3.0",
           "NOTE:n\r\nCATEGORIES:c\r\nRELATED;TYPE=spouse:r\r\nBDAY:2000-01-01\r\nURL:u\r\n"
           "ADR;TYPE=WORK:;;w;;;;\r\nADR;TYPE=HOME:;;h;;;;\r\nX-CUSTOM:x\r\nEMAIL:e\r\nTEL;TYPE=HOME:2\r\n"
           "TEL;TYPE=CELL:1\r\nORG:o\r\nN:L;F;;;\r\nFN:D\r\nPHOTO;ENCODING=b:" +
               std::string(kPng) + "\r\n") +
      Card("3.0", "FN:E\r\nTEL;TYPE=HOME:3\r\nTEL;TYPE=HOME:4\r\nEMAIL:f\r\n"));
  EXPECT_THAT(table.captions,
              ::testing::ElementsAre("Photo", "Display Name", "First Name", "Last Name", "Organization",
                                     "Mobile Phone", "Home Phone", "Home Phone 2", "Email Address",
                                     "Home Address - Street", "Business Address - Street", "Website",
                                     "Birthday", "Spouse", "Categories", "Notes", "More"));
}

// Many labels and many numbers: each value stays under its own caption, in
// order, however many a contact or a file has.
TEST_F(AddressBookExports, ManyLabelsAndNumbersKeepTheirColumns) {
  const auto labelOf = [](int i) {
    std::string label = "Club " + std::to_string(1000 + i).substr(1);  // "Club 001"
    return label;
  };
  struct Case {
    const char* name;
    int labels;  // e-mail addresses, each under a label of its own
    int plain;   // e-mail addresses without a label
  };
  for (const Case c : {Case{"a few labels", 3, 2}, Case{"more labels than a contact usually has", 40, 0},
                       Case{"more labels than are looked up directly", 300, 0},
                       Case{"numbers past the first 64", 0, 70}, Case{"both", 20, 130}}) {
    std::string lines = "FN:Ann\r\n";
    for (int i = 1; i <= c.labels; ++i) {
      const std::string item = "item" + std::to_string(i);
      lines += item + ".EMAIL:l" + std::to_string(i) + "@x.example\r\n" + item + ".X-ABLabel:" + labelOf(i) +
               "\r\n";
    }
    // The fifth label once more: its second column follows its first.
    if (c.labels >= 5) lines += "itemA.EMAIL:again@x.example\r\nitemA.X-ABLabel:" + labelOf(5) + "\r\n";
    for (int i = 1; i <= c.plain; ++i) lines += "EMAIL:p" + std::to_string(i) + "@x.example\r\n";
    const test::ContactTableText table = convert(Card("3.0", lines));
    std::vector<std::string> captions = {"Display Name"};
    Row row = {{"Display Name", "Ann"}};
    for (int i = 1; i <= c.plain; ++i) {
      const std::string caption = i == 1 ? "Email Address" : "Email Address " + std::to_string(i);
      captions.push_back(caption);
      row[caption] = "p" + std::to_string(i) + "@x.example";
    }
    for (int i = 1; i <= c.labels; ++i) {
      captions.push_back(labelOf(i) + " Email");
      row[captions.back()] = "l" + std::to_string(i) + "@x.example";
      if (i == 5) {
        captions.push_back(labelOf(i) + " Email 2");
        row[captions.back()] = "again@x.example";
      }
    }
    EXPECT_EQ(table.captions, captions) << c.name;
    ASSERT_EQ(table.rows.size(), 1u) << c.name;
    EXPECT_EQ(table.rows[0], row) << c.name;
  }
}

// Decoding: one stray byte spoils only itself; a code page the file declares
// once reads the names that declare none; the left-out list names labels.
TEST_F(AddressBookExports, ValuesDecodeAsTheirFileMeantThem) {
  std::string enyes;  // 44 Ñ, quoted-printable
  for (int i = 0; i < 44; ++i) enyes += "=C3=91";
  std::string read;  // the same with a stray byte after the tenth
  for (int i = 0; i < 44; ++i) read += i == 10 ? "\xEF\xBF\xBD\xC3\x91" : "\xC3\x91";
  check({
      {"quoted-printable UTF-8 with a stray byte",
       Card("2.1", "FN;ENCODING=QUOTED-PRINTABLE:" + enyes.substr(0, 60) + "=FF" + enyes.substr(60) + "\r\n"),
       {{"Display Name", read}}},
      {"a code page declared on one line only",
       Card("2.1", "N:\xC2\xE1\xE3\xE3\xDD\xEB\xE7\xF2;;;;\r\nLABEL;CHARSET=Windows-1253:x\r\n"),
       {{"Last Name", "\xCE\x92\xCE\xB1\xCE\xB3\xCE\xB3\xCE\xAD\xCE\xBB\xCE\xB7\xCF\x82"},
        {"Address - Street", "x"}}},
      {"a quoted-printable note past blank lines",
       Card("2.1",
            "NOTE;ENCODING=QUOTED-PRINTABLE:first line=0D=0A=\r\n\r\nsecond=\r\n\r\n\r\n line\r\nFN:Ann\r\n"),
       {{"Notes", "first line\nsecond line"}, {"Display Name", "Ann"}}},
  });
}

}  // namespace
}  // namespace brevant
