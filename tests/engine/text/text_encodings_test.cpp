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
