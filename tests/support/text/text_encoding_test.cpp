#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "support/text/ansi_code_page.h"
#include "support/text/html_escape.h"
#include "support/text/utf8.h"

namespace brevant {
namespace {

std::string Ansi(TextView text) {
  std::string out;
  AppendAnsi(out, text);
  return out;
}

std::string AnsiEscaped(TextView text) {
  std::string out;
  AppendAnsiEscaped(out, text);
  return out;
}

std::string Repeat(std::string_view piece, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += piece;
  return out;
}

TEST(AnsiCodePage, EveryByteIsOneCharacterAndComesBackAsItself) {
  Text all;
  std::string bytes;
  for (int b = 0; b < 256; ++b) {
    const char16_t ch = AnsiByteToChar(static_cast<std::uint8_t>(b));
    EXPECT_EQ(CharToAnsiByte(ch), b) << "byte " << b;
    all += ch;
    bytes += static_cast<char>(b);
  }
  EXPECT_EQ(Ansi(all), bytes);
}

TEST(AnsiCodePage, HighBytesAreWindows1252WithTheGapsAsControls) {
  EXPECT_EQ(AnsiByteToChar(0x80), u'\u20AC');
  EXPECT_EQ(AnsiByteToChar(0x9F), u'\u0178');
  EXPECT_EQ(AnsiByteToChar(0xE9), u'\u00E9');
  for (std::uint8_t gap : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) EXPECT_EQ(AnsiByteToChar(gap), gap);
  EXPECT_EQ(CharToAnsiByte(u'\u20AC'), 0x80);
  EXPECT_EQ(CharToAnsiByte(u'\u2122'), 0x99);
  EXPECT_EQ(CharToAnsiByte(u'\u0152'), 0x8C);
  // The controls whose places Windows-1252 gave to other characters are not in it.
  EXPECT_EQ(CharToAnsiByte(u'\u0080'), -1);
  EXPECT_EQ(CharToAnsiByte(u'\u0099'), -1);
  EXPECT_EQ(CharToAnsiByte(u'\u0100'), -1);
  EXPECT_EQ(CharToAnsiByte(u'\u4E00'), -1);
}

TEST(AnsiCodePage, CharactersOutsideBecomeNumericReferences) {
  EXPECT_EQ(Ansi(u"\u0100"), "&#256;");
  EXPECT_EQ(Ansi(u"a\u0080b"), "a&#128;b");
  EXPECT_EQ(Ansi(u"\u20AC5"),
            "\x80"
            "5");
  EXPECT_EQ(Ansi(u"\U0001F600"), "&#128512;");
  EXPECT_EQ(Ansi(u"\U0010FFFF"), "&#1114111;");
  EXPECT_EQ(Ansi(u"\uFFFF"), "&#65535;");
  EXPECT_EQ(Ansi(Text(1, u'\0')), std::string(1, '\0'));
}

TEST(AnsiCodePage, LoneSurrogatesBecomeTheReplacementCharacter) {
  const char16_t high = 0xD83D, low = 0xDE00, escaped = 0xDC80;
  EXPECT_EQ(Ansi(Text{high}), "&#65533;");
  EXPECT_EQ(Ansi(Text{low}), "&#65533;");
  EXPECT_EQ(Ansi(Text{escaped}), "&#65533;");
  EXPECT_EQ(Ansi(Text{u'a', high, u'b'}), "a&#65533;b");
  EXPECT_EQ(Ansi(Text{low, high}), "&#65533;&#65533;");  // reversed pair
  EXPECT_EQ(Ansi(Text{high, high, low}), "&#65533;&#128512;");
}

TEST(AnsiCodePage, PlainWritingLeavesMarkupAlone) {
  std::string out = "keep:";
  AppendAnsi(out, u"a&b<c>\"d'");
  EXPECT_EQ(out, "keep:a&b<c>\"d'");
}

TEST(AnsiCodePage, EscapedWritingTurnsMarkupIntoEntities) {
  EXPECT_EQ(AnsiEscaped(u"a&b<c>\"d'"), "a&amp;b&lt;c&gt;\"d'");
  EXPECT_EQ(AnsiEscaped(u"<\u0100>"), "&lt;&#256;&gt;");
  EXPECT_EQ(AnsiEscaped(u"&&&"), "&amp;&amp;&amp;");
  EXPECT_EQ(AnsiEscaped(u"&#38;"), "&amp;#38;");
  EXPECT_EQ(AnsiEscaped(u""), "");
  std::string out = "<td>";
  AppendAnsiEscaped(out, u"\u00E9\u20AC");
  EXPECT_EQ(out, "<td>\xE9\x80");
}

TEST(AnsiCodePage, LongTextsOfWideReplacementsComeOutWhole) {
  // Each character here needs far more than the one byte reserved for it.
  Text wide;
  std::string expected;
  for (int i = 0; i < 5000; ++i) {
    wide += u"\U0010FFFFx\u4E00&";
    expected += "&#1114111;x&#19968;&amp;";
  }
  EXPECT_EQ(AnsiEscaped(wide), expected);
  EXPECT_EQ(Ansi(Text(20000, u'\u4E00')), Repeat("&#19968;", 20000));
  EXPECT_EQ(AnsiEscaped(Text(20000, u'<')), Repeat("&lt;", 20000));
}

TEST(AnsiCodePage, SpecialCharactersAreFoundWhereverTheyStand) {
  // Runs of plain characters are copied in blocks; a special one may stand at any place of a block.
  const std::pair<Text, std::string> specials[] = {
      {u"&", "&amp;"}, {u"<", "&lt;"}, {u">", "&gt;"}, {u"\u00E9", "\xE9"}, {u"\u0100", "&#256;"}};
  for (std::size_t at = 0; at < 9; ++at) {
    for (const auto& [special, written] : specials) {
      Text text(9, u'a');
      text.replace(at, 1, special);
      std::string expected(9, 'a');
      expected.replace(at, 1, written);
      EXPECT_EQ(AnsiEscaped(text), expected) << "at " << at;
      EXPECT_EQ(Ansi(text), special[0] < 0x80 ? ToUtf8(text) : expected) << "at " << at;
    }
  }
}

// Both ways of escaping bytes (appended, written in place) give the same bytes,
// whatever stands around the markup, at any place in a long run.
TEST(HtmlEscaped, OnlyMarkupChangesInBothWays) {
  const std::string filler = Repeat("abcdefghijklmnopqrstuvwxyz", 2);
  const std::pair<std::string, std::string> cases[] = {
      {std::string("\x80\xFF\x00&<>\"'", 8), std::string("\x80\xFF\x00&amp;&lt;&gt;\"'", 18)},
      {"", ""},
      {"<", "&lt;"},
      {"plain text", "plain text"},
      {filler + "&" + filler, filler + "&amp;" + filler},
      {filler + ">>", filler + "&gt;&gt;"},
  };
  for (const auto& [bytes, expected] : cases) {
    std::string appended = "x";
    AppendHtmlEscaped(appended, bytes);
    EXPECT_EQ(appended, "x" + expected);
    std::string put(bytes.size() * MostHtmlEntityBytes(), '?');
    put.resize(static_cast<std::size_t>(PutHtmlEscaped(put.data(), bytes) - put.data()));
    EXPECT_EQ(put, expected);
  }
}

TEST(Utf8, ValidTextRoundTrips) {
  const Text text = u"a\u00E9\u20AC\U0001F600\uFFFF";
  const std::string bytes = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\xEF\xBF\xBF";
  EXPECT_EQ(ToUtf8(text), bytes);
  EXPECT_EQ(FromUtf8(bytes), text);
  EXPECT_TRUE(IsValidUtf8(bytes));
  EXPECT_TRUE(IsValidUtf8(""));
}

TEST(Utf8, InvalidBytesAreEscapedOneByOneAndComeBack) {
  struct Case {
    std::string bytes;
    Text text;
  };
  const Case cases[] = {
      {"\xFF", {0xDCFF}},
      {"\xC3", {0xDCC3}},                                      // cut short
      {"\xC0\xAF", {0xDCC0, 0xDCAF}},                          // overlong "/"
      {"\xE0\x80\xAF", {0xDCE0, 0xDC80, 0xDCAF}},              // overlong
      {"\xED\xA0\x80", {0xDCED, 0xDCA0, 0xDC80}},              // encoded surrogate
      {"\xF4\x90\x80\x80", {0xDCF4, 0xDC90, 0xDC80, 0xDC80}},  // above U+10FFFF
      {"\xE2\x82"
       "a",
       {0xDCE2, 0xDC82, u'a'}},
      {"\x80\xC3\xA9", {0xDC80, 0x00E9}},  // a stray byte before a valid sequence
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FromUtf8(c.bytes), c.text);
    EXPECT_EQ(ToUtf8(FromUtf8(c.bytes)), c.bytes);
    EXPECT_FALSE(IsValidUtf8(c.bytes));
  }
}

TEST(Utf8, EveryByteAndEveryBytePairRoundTrips) {
  for (int first = 0; first < 256; ++first) {
    for (int second = 0; second < 256; ++second) {
      const std::string bytes = {static_cast<char>(first), static_cast<char>(second)};
      ASSERT_EQ(ToUtf8(FromUtf8(bytes)), bytes) << first << " " << second;
    }
  }
}

TEST(Utf8, ForeignLoneSurrogatesBecomeTheReplacementCharacter) {
  EXPECT_EQ(ToUtf8(Text{0xD800}), "\xEF\xBF\xBD");
  EXPECT_EQ(ToUtf8(Text{0xDC00}), "\xEF\xBF\xBD");
  EXPECT_EQ(ToUtf8(Text{0xDD00, u'a'}),
            "\xEF\xBF\xBD"
            "a");
  EXPECT_EQ(ToUtf8(Text{0xD83D}), "\xEF\xBF\xBD");  // high surrogate at the end
  EXPECT_EQ(ToUtf8(Text{0xDC41}), "\xEF\xBF\xBD");  // below the escape range
}

}  // namespace
}  // namespace brevant
