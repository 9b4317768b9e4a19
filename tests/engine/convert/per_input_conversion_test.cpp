#include "engine/convert/per_input_conversion.h"

#include "engine/statement_reporter.h"

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#endif

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/text/utf8.h"
#include "test_support/recording_host.h"
#include "test_support/temp_dir.h"
#include "test_support/temporary_files.h"
#include "test_support/test_texts.h"

namespace brevant {
namespace {

namespace fs = std::filesystem;
using test::kDefaultOpening;
using test::PathText;
using test::ReadBytes;
using test::WriteBytes;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

std::string Document(std::string_view headers, std::string_view data) {
  return std::string(kDefaultOpening) + "<tr>\r\n" + std::string(headers) + "</tr><tr>\r\n" +
         std::string(data) + "</tr>\r\n</tbody></table></body></html>\r\n";
}

class PerInputConversion : public ::testing::Test {
 protected:
  test::TempDir dir;
  test::RecordingHost host;

  fs::path convert(const std::string& name, std::string_view content) {
    const fs::path input = dir / name;
    WriteBytes(input, content);
    ConvertPerInput(host, PathText(input));
    return input;
  }
};

TEST_F(PerInputConversion, WritesTheDocumentByteForByte) {
  convert("b.vcf", "BEGIN:VCARD\r\nFN:Ann\r\nEMAIL;INTERNET:a\r\nEND:VCARD\r\n");
  EXPECT_EQ(ReadBytes(dir / "b.htm"),
            "<html><title></title><body><table width='100%' style='color:#000000' border='1' "
            "bgcolor='#FFFFFF'><tbody>\r\n<tr>\r\n<th>Display Name</th><th>Email Address</th></tr><tr>\r\n"
            "<td>&nbsp;Ann</td><td>&nbsp;a</td></tr>\r\n</tbody></table></body></html>\r\n");
  EXPECT_TRUE(host.errors.empty());
}

TEST_F(PerInputConversion, EveryContactOfAFileFollowsInOneRow) {
  convert("two.vcf", "FN:Ann\nEMAIL;INTERNET:a\nFN:Bob\nEMAIL;INTERNET:b\nEMAIL:x\n");
  EXPECT_EQ(
      ReadBytes(dir / "two.htm"),
      Document("<th>Display Name</th><th>Email Address</th><th>Display Name</th><th>Email Address 2</th>",
               "<td>&nbsp;Ann</td><td>&nbsp;a</td><td>&nbsp;Bob</td><td>&nbsp;b</td>"));
}

TEST_F(PerInputConversion, OptionsAreReadForEveryFile) {
  host.textColour = 255;
  host.border = u"0";
  host.backgroundColour = 0xFF00;
  convert("one.vcf", "NOTE;X:<script>alert(1)</script> & more\r\n");
  EXPECT_EQ(ReadBytes(dir / "one.htm"),
            "<html><title></title><body><table width='100%' style='color:#FF0000' border='0' "
            "bgcolor='#00FF00'><tbody>\r\n<tr>\r\n<th>Notes</th></tr><tr>\r\n"
            "<td>&nbsp;&lt;script&gt;alert(1)&lt;/script&gt; &amp; more\r</td></tr>\r\n"
            "</tbody></table></body></html>\r\n");
  // One column: the bar is never moved, and nothing is reported.
  EXPECT_TRUE(host.positions.empty());
  EXPECT_TRUE(host.errors.empty());
}

TEST_F(PerInputConversion, ProgressRunsTwicePerDocumentAndYieldsPerCell) {
  convert("three.vcf", "FN:A\nTITLE:B\nROLE:C\n");
  EXPECT_THAT(host.positions, ElementsAre(0, 50, 100, 0, 50, 100));
  EXPECT_EQ(host.yields, 1 + 6);  // before the earlier result is removed, then once a cell
  EXPECT_TRUE(host.captions.empty());
}

TEST_F(PerInputConversion, OutputNamesAndPlaces) {
  host.saveTo = Destination::ChosenFolder;
  fs::create_directory(dir / "out");
  host.folder = PathText(dir / "out" / "");  // with a trailing separator
  for (const char* name : {"B.VCF", "b.c.vcf", "noext", ".vcf"}) convert(name, "FN:x\n");
  EXPECT_TRUE(fs::exists(dir / "out" / "B.htm"));
  EXPECT_TRUE(fs::exists(dir / "out" / "b.c.htm"));
  EXPECT_TRUE(fs::exists(dir / "out" / "noext.htm"));
  EXPECT_TRUE(fs::exists(dir / "out" / ".vcf.htm"));
  EXPECT_FALSE(fs::exists(dir / "B.htm"));
  EXPECT_TRUE(host.errors.empty());
}

TEST_F(PerInputConversion, DocumentNamesKeepTheBaseNameAndEndInHtm) {
  SKIP_ON_WINDOWS("POSIX paths; Windows paths are checked by the path helpers");
  const std::pair<Text, Text> besideInput[] = {
      {u"/a/b.vcf", u"/a/b.htm"}, {u"/a/B.VCF", u"/a/B.htm"},   {u"/a/b.c.vcf", u"/a/b.c.htm"},
      {u"/a/b", u"/a/b.htm"},     {u"/a/.vcf", u"/a/.vcf.htm"}, {u"//a/b.vcf", u"/a/b.htm"},
      {u"/a.d/b", u"/a.d/b.htm"}, {u"/b.vcf", u"/b.htm"},
  };
  for (const auto& [input, document] : besideInput)
    EXPECT_EQ(PerInputDocumentPath(host, input), document) << ToUtf8(input);
  host.saveTo = Destination::ChosenFolder;
  for (const Text folder : {u"/out", u"/out/"}) {
    host.folder = folder;
    EXPECT_EQ(PerInputDocumentPath(host, u"/a/b.vcf"), u"/out/b.htm") << ToUtf8(folder);
  }
}

TEST_F(PerInputConversion, NoCellsMeansNoDocumentAndTheEarlierResultIsGone) {
  for (const char* content : {"BEGIN:VCARD\nEMAIL:x\nEND:VCARD\n", "", "BEGIN:VCARD\rFN:a\rEND:VCARD\r"}) {
    WriteBytes(dir / "b.htm", "old");
    convert("b.vcf", content);
    EXPECT_FALSE(fs::exists(dir / "b.htm")) << content;
  }
  WriteBytes(dir / "gone.htm", "old");
  ConvertPerInput(host, PathText(dir / "gone.vcf"));
  EXPECT_FALSE(fs::exists(dir / "gone.htm"));
  EXPECT_TRUE(host.errors.empty());
}

TEST_F(PerInputConversion, AReadOnlyEarlierResultIsReplaced) {
  WriteBytes(dir / "b.htm", "old");
  fs::permissions(dir / "b.htm", fs::perms::owner_read);
  convert("b.vcf", "FN:new\n");
  EXPECT_THAT(ReadBytes(dir / "b.htm"), HasSubstr("<td>&nbsp;new</td>"));
}

TEST_F(PerInputConversion, MissingOutputFolderIsReportedAtTheWrite) {
  host.saveTo = Destination::ChosenFolder;
  host.folder = PathText(dir / "nowhere");
  convert("b.vcf", "FN:x\n");
  ASSERT_EQ(host.errors.size(), 1u);
  EXPECT_EQ(host.errors[0].boxText(),
            u"Path not found\r\nin Tarnwick2021/08/31.modVCF.ConvertVCFToSeparateHTML at line 546");
  EXPECT_FALSE(fs::exists(dir / "nowhere"));
}

TEST_F(PerInputConversion, AnInputIsNeverItsOwnOutput) {
  const std::string content = "FN:keep me\n";
  convert("card.htm", content);
  EXPECT_EQ(ReadBytes(dir / "card.htm"), content);
  // The same file under another name (a hard link in the chosen folder) is protected too.
  host.saveTo = Destination::ChosenFolder;
  host.folder = PathText(dir / "out");
  fs::create_directory(dir / "out");
  fs::create_hard_link(dir / "card.htm", dir / "out" / "card.htm");
  ConvertPerInput(host, PathText(dir / "card.htm"));
  EXPECT_EQ(ReadBytes(dir / "out" / "card.htm"), content);
  ASSERT_EQ(host.errors.size(), 2u);
  for (const ErrorReport& report : host.errors) {
    EXPECT_EQ(report.statement, 110);
    EXPECT_EQ(report.description, kOutputWouldOverwriteInput);
  }
}

TEST_F(PerInputConversion, BytesPassThroughAndWideCharactersBecomeReferences) {
  convert("ansi.vcf", "FN:Zo\xeb \x81\x80\n");
  EXPECT_THAT(ReadBytes(dir / "ansi.htm"), HasSubstr("<td>&nbsp;Zo\xeb \x81\x80</td>"));
  // UTF-16 little-endian with its mark, then big-endian; the mark stays part of the first line.
  const std::u16string text = u"\uFEFFBEGIN:VCARD\r\nFN:\u0141ukasz \u00c5 \U0001F600\r\n";
  std::string le, be;
  for (char16_t c : text) {
    le += static_cast<char>(c & 0xFF), le += static_cast<char>(c >> 8);
    be += static_cast<char>(c >> 8), be += static_cast<char>(c & 0xFF);
  }
  convert("le.vcf", le + "x");  // an odd last byte is dropped
  convert("be.vcf", be);
  for (const char* name : {"le.htm", "be.htm"}) {
    EXPECT_EQ(ReadBytes(dir / name),
              Document("<th>Display Name</th>", "<td>&nbsp;&#321;ukasz \xc5 &#128512;</td>"))
        << name;
  }
}

// UTF-32 in either byte order reads as UTF-16 does, in both ways of reading; a
// value beyond Unicode or of a UTF-16 half becomes U+FFFD, an incomplete last
// code point is dropped.
TEST_F(PerInputConversion, Utf32FilesAreReadInBothByteOrdersAndBothWaysOfReading) {
  const std::u32string text = U"\uFEFF\r\nBEGIN:VCARD\r\nFN:\u0141ukasz \u00c5 \U0001F600\r\nNOTE;X:a";
  const std::vector<char32_t> after = {0x110000, 0xD800, U'b', U'\r', U'\n', U'E', U'N',  U'D',
                                       U':',     U'V',   U'C', U'A',  U'R',  U'D', U'\r', U'\n'};
  std::string le, be;
  const auto add = [&](char32_t c) {
    for (int shift = 0; shift < 32; shift += 8) le += static_cast<char>(c >> shift & 0xFF);
    for (int shift = 24; shift >= 0; shift -= 8) be += static_cast<char>(c >> shift & 0xFF);
  };
  for (char32_t c : text) add(c);
  for (char32_t c : after) add(c);
  for (const bool perContact : {false, true}) {
    host.perContact = perContact;
    for (const auto& [name, bytes] : {std::pair{"le", le + "xyz"}, std::pair{"be", be}}) {
      SCOPED_TRACE(std::string(name) + (perContact ? " per contact" : ""));
      WriteBytes(dir / (std::string(name) + ".htm"), "earlier");
      convert(std::string(name) + ".vcf", bytes);
      const std::string document = ReadBytes(dir / (std::string(name) + ".htm"));
      // The line scanner writes what the code page holds as its byte, one row per contact as ASCII.
      EXPECT_THAT(document, HasSubstr(perContact ? "<td>&#321;ukasz &#197; &#128512;</td>"
                                                 : "<td>&nbsp;&#321;ukasz \xc5 &#128512;</td>"));
      EXPECT_THAT(document, HasSubstr(perContact ? "<td>a&#65533;&#65533;b</td>"
                                                 : "<td>&nbsp;a&#65533;&#65533;b\r</td>"));
    }
  }
  EXPECT_TRUE(host.errors.empty());
}

// Without a byte-order mark, UTF-16 and UTF-32 in either byte order are told by
// their BEGIN:VCARD (in any letter case, after a blank line or not) and read as
// with one; the earlier document is replaced, not removed. Bytes in the code page
// with a NUL near the start stay bytes.
TEST_F(PerInputConversion, Utf16AndUtf32WithoutAMarkAreRecognised) {
  const auto encode = [](std::u32string_view text, int unit, bool bigEndian) {
    std::u32string units;  // UTF-16 takes a pair for a character beyond its 16 bits
    for (const char32_t c : text) {
      if (unit == 2 && c >= 0x10000) {
        units += {static_cast<char32_t>(0xD800 + ((c - 0x10000) >> 10)), 0xDC00 + ((c - 0x10000) & 0x3FF)};
      } else {
        units += c;
      }
    }
    std::string bytes;
    for (const char32_t c : units) {
      for (int i = 0; i < unit; ++i) {
        const int shift = 8 * (bigEndian ? unit - 1 - i : i);
        bytes += static_cast<char>(c >> shift & 0xFF);
      }
    }
    return bytes;
  };
  const std::u32string card = U"BEGIN:VCARD\r\nFN:\u0141ukasz \U0001F600\r\nEND:VCARD\r\n";
  const std::u32string lower = U"\r\n\r\nbegin:vcard\nFN:\u0141ukasz \U0001F600\nend:vcard\n";
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"utf16le", encode(card, 2, false)},        {"utf16be", encode(card, 2, true)},
      {"utf32le", encode(card, 4, false)},        {"utf32be", encode(card, 4, true)},
      {"utf16le-lower", encode(lower, 2, false)}, {"utf32be-lower", encode(lower, 4, true)},
  };
  for (const bool perContact : {false, true}) {
    host.perContact = perContact;
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(c.name) + (perContact ? " per contact" : ""));
      WriteBytes(dir / (std::string(c.name) + ".htm"), "earlier");
      convert(std::string(c.name) + ".vcf", c.bytes);
      EXPECT_THAT(
          ReadBytes(dir / (std::string(c.name) + ".htm")),
          HasSubstr(perContact ? "<td>&#321;ukasz &#128512;</td>" : "<td>&nbsp;&#321;ukasz &#128512;"));
    }
  }
  // A NUL in a file of bytes, with BEGIN:VCARD as bytes: the line scanner keeps the NUL.
  host.perContact = false;
  convert("bytes.vcf", std::string("BEGIN:VCARD\r\nFN:a\0b\r\nEND:VCARD\r\n", 31));
  EXPECT_THAT(ReadBytes(dir / "bytes.htm"), HasSubstr(std::string("<td>&nbsp;a\0b</td>", 18)));
  EXPECT_TRUE(host.errors.empty());
}

TEST_F(PerInputConversion, AnUnreadableInputIsReportedAndKeepsTheEarlierDocument) {
  SKIP_ON_WINDOWS("needs file modes and an unprivileged user");
  WriteBytes(dir / "locked.vcf", "FN:x\n");
  WriteBytes(dir / "locked.htm", "old");
  fs::permissions(dir / "locked.vcf", fs::perms::none);
  ASSERT_TRUE(test::CanRunUnprivileged());
  const int status = test::RunInUnprivilegedChild([&] {
    test::RecordingHost child;
    ConvertPerInput(child, PathText(dir / "locked.vcf"));
    const bool reported = child.errors.size() == 1 && child.errors[0].statement == 112 &&
                          child.errors[0].description == u"Permission denied";
    return reported ? 0 : 1;
  });
  EXPECT_EQ(status, 0);
  EXPECT_EQ(ReadBytes(dir / "locked.htm"), "old");
}

TEST_F(PerInputConversion, AFullDiskKeepsTheEarlierDocument) {
#ifdef _WIN32
  GTEST_SKIP() << "needs a file-size limit (setrlimit)";
#else
  WriteBytes(dir / "big.htm", "earlier");
  WriteBytes(dir / "big.vcf", "NOTE;X:" + std::string(300'000, 'n') + "\n");
  const int status = test::RunInUnprivilegedChild([&] {
    // The file-size limit stands in for a full disk: the write fails with EFBIG.
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{100'000, 100'000};
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return 2;
    test::RecordingHost child;
    ConvertPerInput(child, PathText(dir / "big.vcf"));
    return child.errors.size() == 1 && child.errors[0].statement == 546 &&
                   child.errors[0].description == u"Disk full"
               ? 0
               : 1;
  });
  EXPECT_EQ(status, 0);
  EXPECT_EQ(ReadBytes(dir / "big.htm"), "earlier");
  EXPECT_TRUE(test::TemporaryFilesIn(dir.path()).empty());
#endif
}

TEST_F(PerInputConversion, HostileBytesPassWithoutHarm) {
  // A NUL byte inside a value, a line of many megabytes and bytes of every value.
  std::string content = std::string("FN:a\0b\r\nNOTE;X:", 15) + std::string(20'000'000, 'x') + "\r\n";
  for (int i = 0; i < 256; ++i) content += static_cast<char>(i);
  content += "\nEMAIL;A:<&>\n";
  convert("hostile.vcf", content);
  const std::string document = ReadBytes(dir / "hostile.htm");
  EXPECT_TRUE(document.starts_with(kDefaultOpening));
  EXPECT_NE(document.find(std::string("<td>&nbsp;a\0b</td>", 18)), std::string::npos);
  EXPECT_NE(document.find("<td>&nbsp;" + std::string(20'000'000, 'x') + "\r</td>"), std::string::npos);
  EXPECT_TRUE(document.ends_with("<td>&nbsp;&lt;&amp;&gt;</td></tr>\r\n</tbody></table></body></html>\r\n"));
  EXPECT_TRUE(host.errors.empty());
}

TEST_F(PerInputConversion, LongValuesAreWrittenInSlicesWithATurnBetweenThem) {
  // UTF-16 (its mark alone on the first line): the first slice would end between
  // the two halves of a pair.
  const std::u16string text =
      u"\nNOTE;X:" + std::u16string(131071, u'a') + u"\U0001F600" + std::u16string(200000, u'&') + u"\n";
  std::string bytes = "\xFF\xFE";
  for (char16_t c : text) bytes += static_cast<char>(c & 0xFF), bytes += static_cast<char>(c >> 8);
  convert("long.vcf", bytes);
  std::string value = std::string(131071, 'a') + "&#128512;";
  for (int i = 0; i < 200000; ++i) value += "&amp;";
  EXPECT_TRUE(ReadBytes(dir / "long.htm") == Document("<th>Notes</th>", "<td>&nbsp;" + value + "</td>"));
  // Before the removal, once while reading, before each cell, between the three slices.
  EXPECT_EQ(host.yields, 1 + 1 + 2 + 2);
}

// Values stay in the file's text where they can; those that cleaning changed
// are kept aside, small ones together, large ones each on its own.
TEST_F(PerInputConversion, EveryValueComesOutWhereverItWasKept) {
  const std::string large(1 << 20, 'v');
  const std::string breaks = "one=0D=0A=" + std::string(70000, 't');
  convert("kept.vcf", "FN:plain \nEMAIL;X:a\rb\nNOTE;X:" + breaks + "\nURL;X:" + large + "\nTEL;X:9\n");
  EXPECT_TRUE(ReadBytes(dir / "kept.htm") ==
              Document("<th>Display Name</th><th>Email Address</th><th>Notes</th><th>Website</th>"
                       "<th>Home Phone</th>",
                       "<td>&nbsp;plain</td><td>&nbsp;ab</td><td>&nbsp;one\r\n" + std::string(70000, 't') +
                           "</td><td>&nbsp;" + large + "</td><td>&nbsp;9</td>"));
}

TEST_F(PerInputConversion, BrokenUtf16GivesReplacementCharacters) {
  // Little-endian: a lone high surrogate, a lone low one, then a pair in the wrong order.
  const std::u16string text = u"\uFEFF\nFN:a\xD800z\xDC00\xDC00\xD800\n";
  std::string bytes;
  for (char16_t c : text) bytes += static_cast<char>(c & 0xFF), bytes += static_cast<char>(c >> 8);
  convert("broken.vcf", bytes);
  EXPECT_EQ(ReadBytes(dir / "broken.htm"),
            Document("<th>Display Name</th>", "<td>&nbsp;a&#65533;z&#65533;&#65533;&#65533;</td>"));
}

TEST_F(PerInputConversion, AReadOnlyOutputFolderIsReportedAtTheWrite) {
  SKIP_ON_WINDOWS("needs file modes and an unprivileged user");
  fs::create_directory(dir / "locked");
  WriteBytes(dir / "locked" / "b.htm", "earlier");
  fs::permissions(dir / "locked", fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                      fs::perms::group_exec | fs::perms::others_read |
                                      fs::perms::others_exec);
  WriteBytes(dir / "b.vcf", "FN:x\n");
  ASSERT_TRUE(test::CanRunUnprivileged());
  const int status = test::RunInUnprivilegedChild([&] {
    test::RecordingHost child;
    child.saveTo = Destination::ChosenFolder;
    child.folder = PathText(dir / "locked");
    ConvertPerInput(child, PathText(dir / "b.vcf"));
    return child.errors.size() == 1 && child.errors[0].statement == 546 &&
                   child.errors[0].description == u"Permission denied"
               ? 0
               : 1;
  });
  EXPECT_EQ(status, 0);
  EXPECT_EQ(ReadBytes(dir / "locked" / "b.htm"), "earlier");  // neither deleted nor replaced
}

TEST_F(PerInputConversion, RunningOutOfMemoryWhileWritingLeavesNoHalfDocument) {
  int cellsWritten = 0;
  host.onYield = [&cellsWritten] {
    if (++cellsWritten == 3) throw std::bad_alloc();
  };
  convert("big.vcf", "FN:a\nTITLE:b\nROLE:c\n");
  ASSERT_EQ(host.errors.size(), 1u);
  EXPECT_EQ(host.errors[0].statement, 546);
  EXPECT_EQ(host.errors[0].description, u"Out of memory");
  // Only the input is left: no document and no half-written temporary file.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace brevant
