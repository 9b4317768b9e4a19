// Contact pictures: only raster pictures proved by their first bytes are
// embedded; everything else says what it is, and an address is only shown.
#include "engine/contacts/pictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "engine/text/base64.h"
#include "test_support/picture_samples.h"

namespace brevant {
namespace {

using namespace test::pictures;

TEST(Base64, ReadWhereItStandsFoldedOrNot) {
  const struct {
    const char* name;
    std::string text;
    bool valid;
    std::uint64_t bytes;
    std::string start;  // the first three bytes
  } cases[] = {
      {"plain", "QUJD", true, 3, "ABC"},
      {"padded", "QUI=", true, 2, "AB"},
      {"padded twice", "QQ==", true, 1, "A"},
      {"folded as 3.0 does", "QU\r\n JD\r\n REVG", true, 6, "ABC"},
      {"bare lines as 2.1 does", "QUJD\r\nREVG\r\n", true, 6, "ABC"},
      {"a quote in it", "QUJD\"REVG", false, 0, "ABC"},
      {"a character after the padding", "QQ==QQ", false, 0, "A"},
      {"a lone last character", "QUJDR", false, 0, "ABC"},
      {"nothing but blanks", " \r\n", false, 0, ""},
  };
  for (const auto& c : cases) {
    const Base64Scan scan = ScanBase64(c.text);
    EXPECT_EQ(scan.valid, c.valid) << c.name;
    EXPECT_EQ(scan.decodedBytes, c.bytes) << c.name;
    EXPECT_EQ(DecodeBase64Start(c.text, 3), c.start) << c.name;
  }
  // Pieces of whole groups of four, blanks passed over, never cut a group.
  const std::string folded = "QUJD\r\n REVG\r\n R0hJ";
  std::string joined;
  for (std::size_t from = 0; from < folded.size();) {
    const std::size_t to = Base64PieceEnd(folded, from, 6);  // 6 becomes 4
    std::string piece;
    AppendBase64Characters(piece, std::string_view(folded).substr(from, to - from));
    EXPECT_EQ(piece.size() % 4, 0u) << piece;
    joined += piece;
    from = to;
  }
  EXPECT_EQ(joined, "QUJDREVGR0hJ");
}

TEST(Pictures, FirstBytesDecideTheFormat) {
  const struct {
    const char* name;
    std::string base64;
    PictureFormat format;
    bool embeddable;
  } cases[] = {
      {"JPEG", kJpeg, PictureFormat::Jpeg, true},
      {"PNG", kPng, PictureFormat::Png, true},
      {"GIF", kGif, PictureFormat::Gif, true},
      {"BMP", kBmp, PictureFormat::Bmp, true},
      {"WebP", kWebp, PictureFormat::Webp, true},
      {"SVG with a script", kSvg, PictureFormat::Svg, false},
      {"TIFF", "SUkqAAgAAAA=", PictureFormat::Tiff, false},
      {"ICO: reserved 0, type 1, one image of 16 x 16", "AAABAAEAEBAAAAEAIAA=", PictureFormat::Ico, false},
      {"a cursor (type 2) is no ICO", "AAACAAEAEBA=", PictureFormat::Unknown, false},
      {"HEIC", "AAAAGGZ0eXBoZWljAAAAAG1pZjFoZWlj", PictureFormat::Heic, false},
      {"AVIF, in the same container", "AAAAHGZ0eXBhdmlmAAAAAA==", PictureFormat::Heic, false},
      {"text", "SGVsbG8gd29ybGQ=", PictureFormat::Unknown, false},
      {"\"BM\" alone is no BMP", "Qk1vcmUgdGV4dA==", PictureFormat::Unknown, false},
  };
  for (const auto& c : cases) {
    const PictureFormat format = SniffPicture(DecodeBase64Start(c.base64, kSniffBytes));
    EXPECT_EQ(format, c.format) << c.name;
    EXPECT_EQ(IsEmbeddable(format), c.embeddable) << c.name;
    EXPECT_EQ(EmbeddedFormat(c.base64), c.embeddable ? c.format : PictureFormat::Unknown) << c.name;
  }
}

// A picture whose lines were lost at its end is named, never embedded as a
// broken image, however its exporter marked it.
TEST(Pictures, APictureCutShortIsNamedAsDamaged) {
  const auto cut = [](std::string_view base64, std::size_t keep) {
    return std::string(base64.substr(0, keep));
  };
  const std::string_view png = kPng, gif = kGif;
  const struct {
    const char* name;
    std::string value;
    bool base64Encoded;
    const char* text;
  } cases[] = {
      {"JPEG", cut(kJpeg, 40), true, "Damaged picture (JPEG, 30 bytes, cut short), not shown"},
      {"JPEG without ENCODING", cut(kJpeg, 40), false,
       "Damaged picture (JPEG, 30 bytes, cut short), not shown"},
      {"JPEG in a data URI", "data:image/jpeg;base64," + cut(kJpeg, 40), false,
       "Damaged picture (JPEG, 30 bytes, cut short), not shown"},
      {"PNG", cut(png, png.size() - 4), true, "Damaged picture (PNG, 81 bytes, cut short), not shown"},
      {"GIF", cut(gif, gif.size() - 4), true, "Damaged picture (GIF, 42 bytes, cut short), not shown"},
      {"BMP", cut(kBmp, 48), true, "Damaged picture (BMP, 36 bytes, cut short), not shown"},
      {"WebP", cut(kWebp, 48), true, "Damaged picture (WebP, 36 bytes, cut short), not shown"},
  };
  for (const auto& c : cases) {
    const PictureCell cell = ReadPicture(c.value, c.base64Encoded, "");
    EXPECT_EQ(std::string(cell.base64), "") << c.name;
    EXPECT_EQ(cell.text, c.text) << c.name;
  }
  // Whole pictures, folded anywhere, are embedded; the end is read across folds.
  for (const std::string_view whole : {kJpeg, kPng, kGif, kBmp, kWebp}) {
    std::string folded(whole);
    for (std::size_t at = folded.size() - 1; at > 5; at -= 5) folded.insert(at, "\r\n ");
    EXPECT_EQ(std::string(ReadPicture(folded, true, "").base64), folded) << whole;
    const Base64Scan scan = ScanBase64(folded);
    for (const std::size_t count : {1u, 2u, 3u, 4u, 7u, 12u}) {
      const std::string all = DecodeBase64Start(whole, SIZE_MAX);
      const std::string expected = all.substr(all.size() - std::min<std::size_t>(count, all.size()));
      EXPECT_EQ(DecodeBase64End(folded, scan, count), expected) << whole << " " << count;
    }
  }
}

TEST(Pictures, EachKindOfValueGivesAPictureOrSaysWhatItIs) {
  const std::string foldedJpeg = std::string(kJpeg).insert(40, "\r\n ").insert(100, "\r\n ");
  const struct {
    const char* name;
    std::string value;
    bool base64Encoded;
    const char* declared;
    std::string embedded;  // the base64 the cell embeds; empty for a text
    std::string text;
  } cases[] = {
      {"2.1 inline JPEG", std::string(kJpeg) + "\r\n\r\n", true, "JPEG", kJpeg, ""},
      {"3.0 folded JPEG", foldedJpeg, true, "JPEG", foldedJpeg, ""},
      {"4.0 data URI", std::string("data:image/png;base64,") + kPng, false, "", kPng, ""},
      {"a PNG declared as JPEG is still a PNG", kPng, true, "JPEG", kPng, ""},
      {"base64 without ENCODING", kGif, false, "", kGif, ""},
      {"SVG is never embedded", kSvg, true, "SVG", "", "SVG picture, 71 bytes, not shown"},
      {"an SVG data URI", std::string("data:image/svg+xml;base64,") + kSvg, false, "", "",
       "SVG picture, 71 bytes, not shown"},
      {"a JPEG declared, text inside", "SGVsbG8gd29ybGQ=", true, "JPEG", "",
       "JPEG picture, 11 bytes, not shown"},
      {"a TIFF", "SUkqAAgAAAA=", true, "TIFF", "", "TIFF picture, 8 bytes, not shown"},
      {"an undecoded data URI", "data:image/png,%89PNG", false, "", "", "PNG picture, 6 bytes, not shown"},
      {"broken base64", "/9j/4AAQ\"<script>", true, "JPEG", "",
       "Damaged picture (17 bytes of broken base64), not shown"},
      {"an address is only shown", "https://example.org/me\r\n .jpg", false, "", "",
       "https://example.org/me.jpg"},
      {"another URI stays as written", "file:///home/anna/me.jpg", false, "", "", "file:///home/anna/me.jpg"},
      {"empty", " \r\n", true, "", "", ""},
  };
  for (const auto& c : cases) {
    const PictureCell cell = ReadPicture(c.value, c.base64Encoded, c.declared);
    EXPECT_EQ(std::string(cell.base64), c.embedded) << c.name;
    EXPECT_EQ(cell.text, c.text) << c.name;
    // What is not embedded is never taken for a picture by the writer.
    if (cell.base64.empty()) {
      EXPECT_EQ(EmbeddedFormat(cell.text), PictureFormat::Unknown) << c.name;
    }
  }
  // A long text that is no picture is described, not copied.
  EXPECT_EQ(ReadPicture(std::string(5000, '~'), false, "").text, "Picture, 5 KB, not shown");
}

}  // namespace
}  // namespace brevant
