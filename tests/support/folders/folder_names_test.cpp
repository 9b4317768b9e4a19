// Name rules of the folder scan: letter case, listing order, file patterns and
// names the scan refuses.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/folders/file_pattern.h"
#include "support/folders/name_order.h"
#include "support/folders/unsafe_names.h"
#include "support/text/upper_case.h"
#include "support/text/utf8.h"

namespace brevant {
namespace {

TEST(UpperCase, FoldsLettersOfEveryScriptOneUnitToOneUnit) {
  EXPECT_EQ(UpperCase(u"abc-XYZ_09"), u"ABC-XYZ_09");
  EXPECT_EQ(UpperCase(u"\u00E9t\u00E9 \u00FF"), u"\u00C9T\u00C9 \u0178");            // été ÿ
  EXPECT_EQ(UpperCase(u"\u03B1\u03C9 \u044F\u0451"), u"\u0391\u03A9 \u042F\u0401");  // Greek, Cyrillic
  // Latin Extended-A alternates lower and upper case.
  EXPECT_EQ(UpperCase(u"\u0100\u0101\u017E\u017D"), u"\u0100\u0100\u017D\u017D");
  EXPECT_EQ(UpperCase(u"\uFF41"), u"\uFF21");  // full-width a
}

TEST(UpperCase, LeavesWhatHasNoOneUnitUpperCase) {
  EXPECT_EQ(UpperCase(u"\u00DF"), u"\u00DF");                      // ß would need two units
  EXPECT_EQ(UpperCase(u"\U0001F600\xDC80"), u"\U0001F600\xDC80");  // surrogates stay
  EXPECT_EQ(UpperCase(u"\u00D7\u00F7"), u"\u00D7\u00F7");          // × and ÷ are no letters
  EXPECT_EQ(UpperCase(u""), u"");
}

TEST(ListingOrder, SortsByUpperCaseThenByExactName) {
  std::vector<Text> names{u"b", u"_x", u"B", u"a", u"abc", u"ABCD", u"Ab", u"aB", u"\u00E9", u"F"};
  SortAsListed(names);
  // "_" (0x5F) follows the upper-case letters, so "a" comes before "_x".
  const std::vector<Text> expected{u"a", u"Ab", u"aB", u"abc", u"ABCD", u"B", u"b", u"F", u"_x", u"\u00E9"};
  EXPECT_EQ(names, expected);
}

TEST(ListingOrder, IsAStrictOrder) {
  EXPECT_FALSE(ListsBefore(u"same", u"same"));
  EXPECT_TRUE(ListsBefore(u"A", u"a"));
  EXPECT_FALSE(ListsBefore(u"a", u"A"));
  EXPECT_TRUE(ListsBefore(u"", u"a"));
  EXPECT_FALSE(ListsBefore(u"a", u""));
}

struct PatternCase {
  const char16_t* pattern;
  const char16_t* name;
  bool matches;
};

TEST(FilePatternMatching, FollowsTheWindowsListingRules) {
  const PatternCase cases[] = {
      {u"*.vcf", u"a.vcf", true},
      {u"*.vcf", u"A.VCF", true},
      {u"*.VCF", u"b.Vcf", true},
      {u"*.vcf", u"a.b.vcf", true},
      {u"*.vcf", u".vcf", true},
      {u"*.vcf", u"a.vcf.txt", false},
      {u"*.vcf", u"a.vcfx", false},
      {u"*.vcf", u"vcf", false},
      {u"*.vcf", u"avcf", false},
      {u"*.*", u"noext", true},
      {u"*.*", u".hidden", true},
      {u"*", u"a.b.c", true},
      {u"", u"anything", true},
      {u"*.", u"noext", true},
      {u"*.", u"a.txt", false},
      {u"a.*", u"a", true},
      {u"a.*", u"a.txt", true},
      {u"a.*", u"ab", false},
      {u"*.v?f", u"x.vcf", true},
      {u"*.v?f", u"x.vf", false},
      {u"*.vc?", u"x.vc", true},
      {u"*.vc?", u"x.vcfx", false},
      {u"??.txt", u"a.txt", true},
      {u"??.txt", u"abc.txt", false},
      {u"*.\u00E9t\u00E9", u"x.\u00C9T\u00C9", true},
      {u"a.", u"a.", true},
      {u"a.", u"a", false},
      {u"*a*b*c*d*e*f*", u"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", false},
      {u"*.v*", u"a.vcf.txt", true},
      {u"*.t*", u"a.b", false},
      {u"*.tar.gz", u"A.TAR.GZ", true},
      {u"*.tar.gz", u"a.gz", false},
      {u"*vcf", u"avcf", true},
      {u"*vcf", u"a.vcf", true},
      {u"*vcf", u"vc", false},
      {u"**.vcf", u"a.vcf", true},
  };
  for (const PatternCase& c : cases) {
    EXPECT_EQ(MatchesFilePattern(c.name, c.pattern), c.matches)
        << "pattern \"" << ToUtf8(c.pattern) << "\", name \"" << ToUtf8(c.name) << "\"";
  }
}

TEST(UnsafeNames, RefusesControlCharactersAndBytesThatWereNotUtf8) {
  EXPECT_TRUE(HasUnsafeCharacters(u"tab\there"));
  EXPECT_TRUE(HasUnsafeCharacters(u"\x01"));
  EXPECT_TRUE(HasUnsafeCharacters(u"del\x7F"));
  EXPECT_TRUE(HasUnsafeCharacters(u"c1\x85"));
  EXPECT_TRUE(HasUnsafeCharacters(u"c1\x9F"));
  EXPECT_TRUE(HasUnsafeCharacters(u"bad\xDCFF"));  // the byte 0xFF read from disk
  EXPECT_TRUE(HasUnsafeCharacters(u"lone\xD83D"));
  EXPECT_TRUE(HasUnsafeCharacters(u"\xDE00\xD83D"));  // a pair the wrong way round
}

TEST(UnsafeNames, TakesEveryOtherName) {
  EXPECT_FALSE(HasUnsafeCharacters(u""));
  EXPECT_FALSE(HasUnsafeCharacters(u"Contacts 2021"));
  EXPECT_FALSE(HasUnsafeCharacters(u"what?"));  // "?" is a plain character here
  EXPECT_FALSE(HasUnsafeCharacters(u"\u00A0\u00E9\u4E2D\u6587"));
  EXPECT_FALSE(HasUnsafeCharacters(u"smile\U0001F600"));
}

}  // namespace
}  // namespace brevant
