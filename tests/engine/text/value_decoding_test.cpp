// How the bytes of a value become characters when every contact gets its own
// row: UTF-8 with a few bad bytes, a code page the file names once, and
// quoted-printable values that exporters break over blank lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/contacts/contact_reader.h"
#include "engine/text/ascii_html.h"
#include "engine/text/text_encodings.h"
#include "engine/write/csv_field.h"
#include "test_support/recording_host.h"

namespace brevant {
namespace {

std::string Repeat(std::string_view piece, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += piece;
  return text;
}

TEST(MostlyUtf8, AFewBadBytesDoNotTurnUtf8IntoWindows1252) {
  const std::string enye = "\xC3\x91";  // Ñ
  const struct {
    const char* name;
    std::string bytes;
    ByteEncoding encoding;
  } cases[] = {
      {"ASCII", "Anna Berg", ByteEncoding::Utf8},
      {"valid UTF-8", "Zo\xC3\xAB \xF0\x9F\x98\x80", ByteEncoding::Utf8},
      {"one stray byte among 44 characters", Repeat(enye, 22) + "\xFF" + Repeat(enye, 22),
       ByteEncoding::Utf8},
      {"a sequence cut short", "J\xC3\xBCrgen M\xC3", ByteEncoding::Utf8},
      {"as many strays as characters", "J\xC3\xBCrgen M\xFCller", ByteEncoding::Utf8},
      {"Windows-1252 alone", "Caf\xE9 cr\xE8me", ByteEncoding::Windows1252},
      {"more strays than characters", "\xC3\xA9t\xE9 \xE0 \xEA", ByteEncoding::Windows1252},
      {"a lone continuation byte", "\x80", ByteEncoding::Windows1252},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EncodingOfMostlyUtf8(c.bytes), c.encoding) << c.name;
    // Counted a slice at a time, at any cut between sequences, the same.
    Utf8Count count;
    const std::size_t half = EscapeSliceEnd(c.bytes, 0, c.bytes.size() / 2);
    count.add(std::string_view(c.bytes).substr(0, half));
    count.add(std::string_view(c.bytes).substr(half));
    EXPECT_EQ(count.encoding(), c.encoding) << c.name;
  }
  // The line scanner keeps its rule: anything that is not valid UTF-8 is Windows-1252.
  EXPECT_EQ(EncodingOfValue("J\xC3\xBCrgen M\xFCller"), ByteEncoding::Windows1252);
}

// Only the bad bytes are replaced: in the document and in the CSV file alike.
TEST(MostlyUtf8, BadBytesReadAsReplacementCharacters) {
  const std::string value = "\xC3\x91o\xFF\"\xC3";
  std::string html;
  AppendAsciiHtml(html, value, ByteEncoding::Utf8);
  EXPECT_EQ(html, "&#209;o&#65533;\"&#65533;");
  std::string csv(value.size() * kMostFieldBytesPerUnit, '\0');
  csv.resize(static_cast<std::size_t>(PutCsvText(csv.data(), value, ByteEncoding::Utf8) - csv.data()));
  EXPECT_EQ(csv, "\xC3\x91o\xEF\xBF\xBD\"\"\xEF\xBF\xBD");
  // Control characters stay out of the field as they do from valid text.
  const std::string controls = "\x01\xC3\x91\xFF\x1Bx";
  csv.assign(controls.size() * kMostFieldBytesPerUnit, '\0');
  csv.resize(static_cast<std::size_t>(PutCsvText(csv.data(), controls, ByteEncoding::Utf8) - csv.data()));
  EXPECT_EQ(csv, "\xC3\x91\xEF\xBF\xBDx");
  // Windows-1252 text reads as before.
  html.clear();
  AppendAsciiHtml(html, "Caf\xE9\x80", ByteEncoding::Windows1252);
  EXPECT_EQ(html, "Caf&#233;&#8364;");
}

TEST(DeclaredCodePage, TheOneCodePageAFileNames) {
  const struct {
    const char* name;
    std::string bytes;
    std::string codePage;
  } cases[] = {
      {"named on one line", "N:\xC2\xE1\xE3\r\nLABEL;CHARSET=Windows-1253;ENCODING=QUOTED-PRINTABLE:x\r\n",
       "WINDOWS-1253"},
      {"the same in other letter case and quoted",
       "FN;charset=\"windows-1253\":a\r\nNOTE;CHARSET=WINDOWS-1253:b\r\n", "WINDOWS-1253"},
      {"beside UTF-8 and ASCII", "FN;CHARSET=UTF-8:a\r\nN;CHARSET=KOI8-R:b\r\nNOTE;CHARSET=US-ASCII:c\r\n",
       "KOI8-R"},
      {"UTF-16 is no code page of 8-bit text", "NOTE;CHARSET=UTF-16LE;ENCODING=QUOTED-PRINTABLE:=41=00\r\n",
       ""},
      {"a blank before the parameter", "FN; CHARSET=ISO-8859-2:a\r\n", "ISO-8859-2"},
      {"none", "FN:a\r\nN;CHARSET=UTF-8:b\r\n", ""},
      {"two differ", "FN;CHARSET=ISO-8859-1:a\r\nN;CHARSET=ISO-8859-2:b\r\n", ""},
      {"a value that mentions one", "NOTE:set charset=latin1 here\r\n", ""},
      {"empty", "", ""},
      {"at the very end", "FN;CHARSET=", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(DeclaredCodePage(c.bytes), c.codePage) << c.name;
}

// The notes of a file's contacts, as a document shows them.
class NoteCollector final : public ContactSink {
 public:
  std::vector<std::string> notes;
  std::string text;
  std::vector<ContactCell> cellList;
  ContactLabels labelTable;
  std::string& values() override { return text; }
  std::vector<ContactCell>& cells() override { return cellList; }
  ContactLabels& labels() override { return labelTable; }
  void contact(const Contact& contact) override {
    for (const ContactCell& cell : contact.cells) {
      if (cell.caption() != Caption::Notes) continue;
      notes.emplace_back();
      AppendAsciiHtml(notes.back(), contact.value(cell), cell.encoding());
    }
  }
};

std::vector<std::string> Notes(const std::string& bytes) {
  NoteCollector collector;
  test::RecordingHost host;
  ReadContacts(ContactBytes(InputText(bytes)), collector, host);
  return collector.notes;
}

// Exporters that end a quoted-printable line with a soft break sometimes add
// blank lines after it: the value goes on after them, to its end.
TEST(QuotedPrintable, ValuesGoOnPastBlankLinesAfterASoftBreak) {
  const std::string head = "BEGIN:VCARD\r\nVERSION:2.1\r\nNOTE;ENCODING=QUOTED-PRINTABLE:";
  const struct {
    const char* name;
    std::string lines;
    std::vector<std::string> notes;
  } cases[] = {
      {"one blank line", "first=\r\n\r\nsecond\r\nEND:VCARD\r\n", {"firstsecond"}},
      {"several, with LF line ends", "a=0D=0A=\n\n\n\nb=\n\nc\nEND:VCARD\n", {"a<br/>bc"}},
      {"an encoded line break before the blank",
       "Stra=C3=9Fe=0D=0A=\r\n\r\nGr=C3=BC=C3=9Fe\r\nEND:VCARD\r\n",
       {"Stra&#223;e<br/>Gr&#252;&#223;e"}},
      {"a blank line without a soft break ends the value",
       "one\r\n\r\nNOTE:two\r\nEND:VCARD\r\n",
       {"one", "two"}},
      {"never past END", "x=\r\n\r\nEND:VCARD\r\nBEGIN:VCARD\r\nNOTE:y\r\nEND:VCARD\r\n", {"x", "y"}},
      {"blank lines up to the end of the file", "z=\r\n\r\n\r\n", {"z"}},
  };
  for (const auto& c : cases) EXPECT_EQ(Notes(head + c.lines), c.notes) << c.name;
}

}  // namespace
}  // namespace brevant
