// Quoted-printable as vCard 2.1 exporters write it: both decoders, each
// checked against the bytes it must give (they share their digit reading, so
// comparing one with the other cannot see a digit read wrong).
#include "engine/text/text_encodings.h"

#include <gtest/gtest.h>

#include <string>

namespace brevant {
namespace {

struct QuotedPrintableCase {
  std::string encoded;
  std::string decoded;
};

TEST(QuotedPrintable, BothDecodersGiveTheEncodedBytes) {
  const QuotedPrintableCase cases[] = {
      {"M=C3=BCller", "M\xC3\xBCller"},
      {"M=c3=bcller", "M\xC3\xBCller"},  // lower-case digits, as some exporters write them
      {"=3D=3d=Aa", "==\xAA"},
      {"=09=20=7E", "\t ~"},
      {"one=0D=0A=two",
       "one\r\ntwo"},  // "=" after an encoded line feed: a soft break whose line end got lost
      {"x=4", "x=4"},
      {"=ZZ=G0=0G", "=ZZ=G0=0G"},
      {"a=", "a="},
      {"", ""},
  };
  for (const QuotedPrintableCase& c : cases) {
    std::string copied;
    DecodeQuotedPrintable(c.encoded, copied);
    EXPECT_EQ(copied, c.decoded) << c.encoded;
    std::string inPlace = c.encoded;
    inPlace.resize(DecodeQuotedPrintableInPlace(inPlace.data(), inPlace.size()));
    EXPECT_EQ(inPlace, c.decoded) << c.encoded;
  }
}

}  // namespace
}  // namespace brevant

namespace brevant {
namespace {

// What UTF-8 does not allow is no UTF-8, whatever its bytes would add up to: a
// value that holds one reads as Windows-1252. Each case is also checked with
// ASCII around it and at the end of the value, where a sequence may be cut short.
TEST(Utf8Decoder, RefusesOverlongFormsSurrogatesAndWhatLiesBeyondUnicode) {
  const struct {
    const char* what;
    std::string bytes;
  } refused[] = {
      {"C0: an overlong ASCII character", "\xC0\x80"},
      {"C0: an overlong \"<\"", "\xC0\xBC"},
      {"C1: an overlong DEL", "\xC1\xBF"},
      {"three bytes for what two hold", "\xE0\x9F\xBF"},
      {"three bytes for NUL", "\xE0\x80\x80"},
      {"four bytes for what three hold", "\xF0\x8F\xBF\xBF"},
      {"four bytes for NUL", "\xF0\x80\x80\x80"},
      {"five-byte lead", "\xF8\x88\x80\x80\x80"},
      {"a surrogate", "\xED\xA0\x80"},
      {"past U+10FFFF", "\xF4\x90\x80\x80"},
      {"F5 lead", "\xF5\x80\x80\x80"},
      {"a lone continuation byte", "\x80"},
      {"cut short", "\xE2\x82"},
  };
  for (const auto& c : refused) {
    for (const std::string& value : {c.bytes, "a" + c.bytes + "b", "ab" + c.bytes}) {
      EXPECT_FALSE(IsUtf8(value)) << c.what;
      EXPECT_EQ(EncodingOfValue(value), ByteEncoding::Windows1252) << c.what;
      for (std::size_t i = 0; i < value.size(); ++i) {
        char32_t codePoint = 0;
        if (static_cast<unsigned char>(value[i]) >= 0x80) {
          EXPECT_EQ(Utf8SequenceAt(value, i, codePoint), 0u) << c.what;
        }
      }
    }
  }
  // The shortest forms at the edges of each length are UTF-8.
  const struct {
    std::string bytes;
    char32_t codePoint;
  } accepted[] = {{"\xC2\x80", 0x80},
                  {"\xDF\xBF", 0x7FF},
                  {"\xE0\xA0\x80", 0x800},
                  {"\xED\x9F\xBF", 0xD7FF},
                  {"\xEE\x80\x80", 0xE000},
                  {"\xF0\x90\x80\x80", 0x10000},
                  {"\xF4\x8F\xBF\xBF", 0x10FFFF}};
  for (const auto& c : accepted) {
    char32_t codePoint = 0;
    EXPECT_EQ(Utf8SequenceAt(c.bytes, 0, codePoint), c.bytes.size());
    EXPECT_EQ(codePoint, c.codePoint);
    EXPECT_TRUE(IsUtf8("a" + c.bytes));
  }
}

}  // namespace
}  // namespace brevant
