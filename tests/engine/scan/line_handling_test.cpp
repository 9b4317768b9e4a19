#include "engine/scan/line_scanner.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/text/utf8.h"
#include "test_support/caption_texts.h"

namespace brevant {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Runs lines through the line handling with shared counters and renders every
// cell as "Caption=Value", so whole files read as one list.
class Lines final : public CellSink<char16_t> {
 public:
  explicit Lines(Acceptance acceptance) : acceptance_(acceptance) {}
  std::vector<std::string> operator()(std::initializer_list<std::string_view> lines) {
    for (std::string_view line : lines) HandleLine<char16_t>(FromUtf8(line), counters_, acceptance_, *this);
    return std::move(out_);
  }
  void cell(CaptionKey caption, std::u16string_view value) override {
    out_.push_back(test::CaptionString(caption) + "=" + ToUtf8(Text(value)));
  }

 private:
  Acceptance acceptance_;
  OccurrenceCounters counters_;
  std::vector<std::string> out_;
};

std::vector<std::string> PerFile(std::initializer_list<std::string_view> lines) {
  return Lines(Acceptance::ParametersOnly)(lines);
}
std::vector<std::string> Single(std::initializer_list<std::string_view> lines) {
  return Lines(Acceptance::EveryTypeName)(lines);
}

TEST(LineHandling, PlainNamesMatchInAnyCaseButCarryNoParameters) {
  EXPECT_THAT(PerFile({"fn:Ann"}), ElementsAre("Display Name=Ann"));
  EXPECT_THAT(PerFile({"FN;CHARSET=UTF-8:Ann"}), IsEmpty());
  EXPECT_THAT(Single({"FN;CHARSET=UTF-8:Ann"}), IsEmpty());
  EXPECT_THAT(PerFile({" ORG :Ambervale;Sales\r"}), ElementsAre("Organization=Ambervale;Sales"));
  EXPECT_THAT(PerFile({"BDAY:1990-01-01T10:30:00"}), ElementsAre("Birthday=1990-01-01T10"));
  EXPECT_THAT(PerFile({"NICKNAME:  Jo \r", "TITLE:Boss", "ROLE:Lead"}),
              ElementsAre("Nickname=Jo ", "Job Title=Boss", "Role=Lead"));
  EXPECT_THAT(PerFile({"FN:A: B"}), ElementsAre("Display Name=A"));
  // Plain cleaning trims spaces before it removes carriage returns.
  EXPECT_THAT(PerFile({"FN: Ann \r"}), ElementsAre("Display Name=Ann "));
}

TEST(LineHandling, NameSplitsIntoLastAndFirstName) {
  EXPECT_THAT(PerFile({"N:Doe;John;Q.;Dr.;Jr."}), ElementsAre("Last Name=Doe", "First Name=John"));
  EXPECT_THAT(PerFile({"N:Doe\r"}), ElementsAre("Last Name=Doe"));
  EXPECT_THAT(PerFile({"N:"}), ElementsAre("Last Name="));
  EXPECT_THAT(PerFile({"N;CHARSET=UTF-8: Doe ; John \r"}), ElementsAre("Last Name=Doe", "First Name=John "));
  EXPECT_THAT(PerFile({"N;X:;John"}), ElementsAre("Last Name=", "First Name=John"));
}

TEST(LineHandling, MarkersUnknownAndMalformedLinesYieldNothing) {
  EXPECT_THAT(Single({"", "BEGIN:VCARD", "VERSION:3.0", "END:VCARD", "no colon here", " :value",
                      "item1.EMAIL:a@example.com", "X-ABUID:1", "TEL;X-FOO", "ADR;HOME:;Street"}),
              IsEmpty());
}

TEST(LineHandling, AcceptanceDecidesOnTypeNamesWithoutParameters) {
  EXPECT_THAT(PerFile({"EMAIL:x", "URL:http://a", "NOTE:n", "ADR:;;s;c", "TEL:1"}), IsEmpty());
  EXPECT_THAT(PerFile({"EMAIL;INTERNET:x"}), ElementsAre("Email Address=x"));
  EXPECT_THAT(Single({"EMAIL:x", "URL:http://a", "NOTE:n", "ADR:;;s;c", "TEL:1"}),
              ElementsAre("Email Address=x", "Website=http://a", "Notes=n", "Home Address 1=s",
                          "Home Address 2=", "Home City=c", "Home Phone=1"));
}

TEST(LineHandling, NumberedCaptionsCountPerKind) {
  EXPECT_THAT(
      PerFile({"EMAIL;A:a\r", "EMAIL;A:b", "URL;X:u", "EMAIL;A:c", "URL;X:v"}),
      ElementsAre("Email Address=a", "Email Address 2=b", "Website=u", "Email Address 3=c", "Website 2=v"));
  EXPECT_THAT(PerFile({"TEL;WORK:1", "TEL;HOME:2", "TEL;WORK:3", "TEL;VOICE:4"}),
              ElementsAre("Business Phone=1", "Home Phone=2", "Business Phone 2=3", "Home Phone 2=4"));
}

TEST(LineHandling, CountersGoOnPast32767) {
  Lines lines(Acceptance::EveryTypeName);
  std::vector<std::string> last;
  for (int i = 0; i < 40000; ++i) last = lines({"EMAIL:x"});
  EXPECT_THAT(last, ElementsAre("Email Address 40000=x"));
}

TEST(LineHandling, TelephoneTypeWordsAreTriedInTableOrder) {
  EXPECT_THAT(PerFile({"TEL;WORK;FAX:1", "TEL;CELL;WORK:2", "TEL;TYPE=pager:3", "TEL;FAX:4", "TEL;CELL:5"}),
              ElementsAre("Home Fax=1", "Mobile Phone=2", "Pager=3", "Home Fax=4", "Mobile Phone=5"));
  EXPECT_THAT(PerFile({"TEL;VOICE:2\r", "TEL;WORK;VOICE:3", "TEL;PREF:4"}),
              ElementsAre("Home Phone=2", "Business Phone=3", "Home Phone 2=4"));
}

TEST(LineHandling, WebsiteAndNoteKeepTheirColons) {
  EXPECT_THAT(PerFile({"URL;WORK:a:b:c\r"}), ElementsAre("Website=a:b:c"));
  EXPECT_THAT(PerFile({"NOTE;ENCODING=QUOTED-PRINTABLE:one=0D=0A=two\r"}), ElementsAre("Notes=one\r\ntwo\r"));
  EXPECT_THAT(PerFile({"NOTE;X:a:b", "NOTE;X:  c  "}), ElementsAre("Notes=a:b", "Notes=c"));
}

TEST(LineHandling, AddressComponentsFillWorkOrHomeColumns) {
  EXPECT_THAT(PerFile({"ADR;WORK:;;1 Main St;Town;ST;Zip;Land\r"}),
              ElementsAre("Business Address 1=1 Main St", "Business Address 2=", "Business City=Town",
                          "Business State=ST", "Business Postal Code=Zip", "Business Country=Land\r"));
  EXPECT_THAT(PerFile({"ADR;HOME:;Apt 4;1 Main St;Town"}),
              ElementsAre("Home Address 1=Apt 4", "Home Address 2=1 Main St", "Home City=Town"));
  EXPECT_THAT(PerFile({"ADR;TYPE=work:;;s"}), ElementsAre("Business Address 1=s", "Business Address 2="));
  EXPECT_THAT(PerFile({"ADR;X-NETWORK:;;s"}), ElementsAre("Business Address 1=s", "Business Address 2="));
  EXPECT_THAT(PerFile({"ADR;POSTAL:;;s", "ADR;PREF:;;t"}),
              ElementsAre("Home Address 1=s", "Home Address 2=", "Home Address 1=t", "Home Address 2="));
  EXPECT_THAT(PerFile({"ADR;HOME:;;only two"}), ElementsAre("Home Address 1=only two", "Home Address 2="));
  // Components beyond the seventh are not used.
  EXPECT_THAT(PerFile({"ADR;HOME:;;s;c;r;p;land;extra"}),
              ElementsAre("Home Address 1=s", "Home Address 2=", "Home City=c", "Home State=r",
                          "Home Postal Code=p", "Home Country=land"));
}

TEST(LineHandling, StreetCleaningReplacesEscapedBreaksOnly) {
  EXPECT_THAT(PerFile({"ADR;HOME:;;1 Main St\\nFloor 2=0D=0ABack; City ;"}),
              ElementsAre("Home Address 1=1 Main St Floor 2 =0ABack", "Home Address 2=", "Home City= City ",
                          "Home State="));
}

// Counts the BEGIN:VCARD lines of bytes and of 16-bit text; a cell fails the test.
template <class Ch>
struct NoCells final : CellSink<Ch> {
  void cell(CaptionKey caption, std::basic_string_view<Ch>) override {
    ADD_FAILURE() << test::CaptionString(caption);
  }
};

TEST(LineHandling, BeginVcardLinesAreCountedAndYieldNothing) {
  const std::pair<std::string_view, std::uint64_t> cases[] = {
      {"BEGIN:VCARD", 1},
      {"begin:vCard\r", 1},
      {" BEGIN : VCARD \r", 1},
      {"BEGIN:VCARD:x", 1},
      {"BEGIN:VCARDS", 0},
      {"BEGIN:VCALENDAR", 0},
      {"BEGIN;X=1:VCARD", 0},
      {"item1.BEGIN:VCARD", 0},
      {"END:VCARD", 0},
      {"X-A:BEGIN:VCARD", 0},
      {"BEGIN", 0},
      {"BEGIN:", 0},
  };
  for (const Acceptance acceptance : {Acceptance::ParametersOnly, Acceptance::EveryTypeName}) {
    NoCells<char> bytes;
    NoCells<char16_t> wide;
    for (const auto& [line, blocks] : cases) {
      OccurrenceCounters counters;
      HandleLine<char>(line, counters, acceptance, bytes);
      HandleLine<char16_t>(FromUtf8(line), counters, acceptance, wide, CellValues::Omitted);
      EXPECT_EQ(counters.vcardBlocks, 2 * blocks) << line;
    }
  }
}

TEST(LineHandling, ByteAndWideLinesGiveTheSameCells) {
  struct Collect final : CellSink<char> {
    std::vector<std::string> cells;
    void cell(CaptionKey caption, std::string_view value) override {
      cells.push_back(test::CaptionString(caption) + "=" + std::string(value));
    }
  } bytes;
  OccurrenceCounters counters;
  for (std::string_view line : {"EMAIL;A:x", "tel;cell:1", "N:a;b", "EMAIL;B:y"}) {
    HandleLine<char>(line, counters, Acceptance::ParametersOnly, bytes);
  }
  EXPECT_EQ(bytes.cells, PerFile({"EMAIL;A:x", "tel;cell:1", "N:a;b", "EMAIL;B:y"}));
}

}  // namespace
}  // namespace brevant
