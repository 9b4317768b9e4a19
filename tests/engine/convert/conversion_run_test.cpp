#include "engine/convert/conversion_run.h"
#include "support/files/path_helpers.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <tuple>

#include "engine/convert/run_summary.h"
#include "engine/statement_reporter.h"
#include "support/text/utf8.h"
#include "test_support/recording_host.h"
#include "test_support/temp_dir.h"
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

class ConversionRun : public ::testing::Test {
 protected:
  test::TempDir dir;
  test::RecordingHost host;

  void add(const fs::path& file, std::string_view content) {
    WriteBytes(file, content);
    host.rows.push_back(PathText(file));
  }
};

TEST_F(ConversionRun, RefusesAnEmptyListFirstThenAMissingFolder) {
  host.saveTo = Destination::ChosenFolder;
  host.folder = PathText(dir / "missing");
  EXPECT_EQ(StartConverting(host), RunOutcome::NoFilesAdded);
  add(dir / "a.vcf", "FN:a\n");
  EXPECT_EQ(StartConverting(host), RunOutcome::FolderMissing);
  host.folder = PathText(dir / "a.vcf");  // a file is no folder
  EXPECT_EQ(StartConverting(host), RunOutcome::FolderMissing);
  host.folder = u"";
  EXPECT_EQ(StartConverting(host), RunOutcome::FolderMissing);
  // A name past what the system allows (255 bytes on Linux, a path of 260 on Windows).
  host.folder = PathText(dir.path()) + Separator() + Text(300, u'n');
  EXPECT_EQ(StartConverting(host), RunOutcome::FolderPathTooLong);
  EXPECT_TRUE(host.positions.empty());
  EXPECT_FALSE(fs::exists(dir / "a.htm"));
  // Beside the input, the folder text is never looked at.
  host.saveTo = Destination::BesideInput;
  EXPECT_EQ(StartConverting(host), RunOutcome::Done);
  EXPECT_TRUE(fs::exists(dir / "a.htm"));
}

TEST_F(ConversionRun, TellsHowManyContactsEveryFileReadHeld) {
  const std::string card = "BEGIN:VCARD\r\nFN:a\r\nEND:VCARD\r\n";
  add(dir / "two.vcf", card + card);
  add(dir / "none.txt", "FN:not a card\n");
  add(dir / "empty.vcf", "");
  // The byte-order mark stays in the first line; the BEGIN:VCARD behind it counts all the same.
  add(dir / "utf16.vcf", std::string("\xFF\xFE"
                                     "B\0E\0G\0I\0N\0:\0V\0C\0A\0R\0D\0\n\0",
                                     26));
  add(dir / "utf8.vcf", "\xEF\xBB\xBF" + card + card);
  host.rows.push_back(PathText(dir / "missing.vcf"));  // nothing read: nothing told
  const std::vector<std::pair<Text, std::uint64_t>> told{
      {host.rows[0], 2}, {host.rows[1], 0}, {host.rows[2], 0}, {host.rows[3], 1}, {host.rows[4], 2}};
  for (const bool perContact : {false, true}) {
    for (const bool allToOne : {false, true}) {
      host.perContact = perContact;
      host.mode = allToOne ? DocumentMode::OneDocument : DocumentMode::PerInput;
      host.vcardBlocks.clear();
      EXPECT_EQ(StartConverting(host), RunOutcome::Done);
      // Once per file, also with two sweeps, in either way of reading.
      EXPECT_EQ(host.vcardBlocks, told) << perContact << allToOne;
    }
  }
}

TEST_F(ConversionRun, EachFileGetsItsShareCaptionAndDocument) {
  add(dir / "x" / "a.vcf", "FN:a\n");
  add(dir / "y" / "b.vcf", "FN:b\nTITLE:t\n");
  add(dir / "y" / "c.vcf", "nothing\n");
  EXPECT_EQ(StartConverting(host), RunOutcome::Done);
  EXPECT_THAT(host.captions,
              ElementsAre(u"Processing: a.vcf", u"Processing: b.vcf", u"Processing: c.vcf", u"Progress Bar"));
  ASSERT_EQ(host.positions.size(), 3u + 4u + 1u);
  EXPECT_DOUBLE_EQ(host.positions[0], 100.0 / 3);
  EXPECT_DOUBLE_EQ(host.positions[1], 200.0 / 3);
  EXPECT_THAT(std::vector<double>(host.positions.begin() + 2, host.positions.end()),
              ElementsAre(0, 100, 0, 100, 100, 0));
  EXPECT_TRUE(fs::exists(dir / "x" / "a.htm"));
  EXPECT_TRUE(fs::exists(dir / "y" / "b.htm"));
  EXPECT_FALSE(fs::exists(dir / "y" / "c.htm"));
}

TEST_F(ConversionRun, TheWindowGetsATurnForEveryInputThatThePerFileRunLooksAtFirst) {
  for (const char* name : {"a.vcf", "b.vcf", "c.vcf", "d.vcf"}) add(dir / name, "FN:a\n");
  int turnsBeforeTheFirstFile = 0;
  host.onYield = [&] {
    if (host.captions.empty()) ++turnsBeforeTheFirstFile;
  };
  EXPECT_EQ(StartConverting(host), RunOutcome::Done);
  EXPECT_EQ(turnsBeforeTheFirstFile, 4);
}

TEST_F(ConversionRun, OneDocumentGoesBesideTheFirstInputOrIntoTheFolder) {
  host.mode = DocumentMode::OneDocument;
  add(dir / "first" / "a.vcf", "FN:a\n");
  add(dir / "second" / "b.vcf", "FN:b\n");
  EXPECT_EQ(StartConverting(host), RunOutcome::Done);
  EXPECT_THAT(ReadBytes(dir / "first" / "output.xml"), HasSubstr("<td>&#160;b</td>"));
  EXPECT_FALSE(fs::exists(dir / "second" / "output.xml"));

  host.saveTo = Destination::ChosenFolder;
  host.folder = PathText(dir / "" / "");  // a doubled separator
  EXPECT_EQ(OneDocumentPath(host, host.rows), PathText(dir / "output.xml"));
  EXPECT_EQ(StartConverting(host), RunOutcome::Done);
  EXPECT_TRUE(fs::exists(dir / "output.xml"));
  EXPECT_EQ(host.captions.back(), u"Progress Bar");
  EXPECT_EQ(host.positions.back(), 0);
}

TEST_F(ConversionRun, NoInputOfTheRunIsDeletedOrReplacedByAnothersDocument) {
  // "--ext '*'" over a folder: a page and a vCard of the same base name.
  const std::string page = "<html><body>my own page</body></html>\n";
  add(dir / "notes.htm", page);
  add(dir / "notes.vcf", "");  // nothing to convert: would delete notes.htm
  add(dir / "card.htm", "FN:also a page\n");
  add(dir / "card.vcf", "FN:Ann\n");  // would replace card.htm
  EXPECT_EQ(StartConverting(host), RunOutcome::Done);
  EXPECT_EQ(ReadBytes(dir / "notes.htm"), page);
  EXPECT_EQ(ReadBytes(dir / "card.htm"), "FN:also a page\n");
  ASSERT_EQ(host.errors.size(), 4u);
  for (const ErrorReport& report : host.errors) EXPECT_EQ(report.statement, 110);
}

TEST_F(ConversionRun, SameNamedInputsOfOneRunGetNumberedDocuments) {
  host.saveTo = Destination::ChosenFolder;
  host.folder = PathText(dir / "out");
  WriteBytes(dir / "out" / "contacts.htm", "left by an earlier run");
  WriteBytes(dir / "out" / "contacts (2).htm", "left by an earlier run");
  for (const char* folder : {"a", "b", "c"})
    add(dir / folder / "contacts.vcf", std::string("FN:") + folder + "\n");
  add(dir / "d" / "contacts (2).vcf", "FN:d\n");
  EXPECT_EQ(StartConverting(host), RunOutcome::Done);
  EXPECT_TRUE(host.errors.empty());
  const std::pair<const char*, const char*> expected[] = {{"contacts.htm", "a"},
                                                          {"contacts (2).htm", "b"},
                                                          {"contacts (3).htm", "c"},
                                                          {"contacts (2) (2).htm", "d"}};
  for (const auto& [name, contact] : expected) {
    EXPECT_THAT(ReadBytes(dir / "out" / name), HasSubstr(std::string("<td>&nbsp;") + contact + "</td>"))
        << name;
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(dir / "out"), fs::directory_iterator()), 4);
}

// The next number of a name is the first that no document of the run has: one
// left free (its input had nothing to convert, or its write failed) goes to the
// next input of the name, and numbers taken meanwhile by other names are passed.
TEST_F(ConversionRun, ANumberLeftFreeGoesToTheNextInputOfTheName) {
  host.saveTo = Destination::ChosenFolder;
  host.folder = PathText(dir / "out");
  fs::create_directories(dir / "out");
  const std::tuple<const char*, const char*, const char*> inputs[] = {
      {"a", "c.vcf", "FN:a\n"},      // c.htm
      {"b", "c.vcf", "X-NONE:b\n"},  // nothing to convert: (2) stays free
      {"d", "c.vcf", "FN:d\n"},      // c (2).htm
      {"e", "c (3).vcf", "FN:e\n"},  // takes c (3).htm under its own name
      {"f", "c.vcf", "FN:f\n"},      // passes (3): c (4).htm
      {"g", "c.vcf", "FN:g\n"},      // c (5).htm
  };
  for (const auto& [folder, name, content] : inputs) add(dir / folder / name, content);
  EXPECT_EQ(StartConverting(host), RunOutcome::Done);
  EXPECT_TRUE(host.errors.empty());
  const std::pair<const char*, const char*> expected[] = {
      {"c.htm", "a"}, {"c (2).htm", "d"}, {"c (3).htm", "e"}, {"c (4).htm", "f"}, {"c (5).htm", "g"}};
  for (const auto& [name, contact] : expected) {
    EXPECT_THAT(ReadBytes(dir / "out" / name), HasSubstr(std::string("<td>&nbsp;") + contact + "</td>"))
        << name;
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(dir / "out"), fs::directory_iterator()), 5);
}

// Two path texts of one document: a folder reached through a link. This run's
// document is numbered past; an earlier run's, reached the same way, is replaced.
TEST_F(ConversionRun, ADocumentOfThisRunIsKnownByAnyPathToIt) {
  SKIP_ON_WINDOWS("needs a link to a folder");
  add(dir / "a" / "contacts.vcf", "FN:first\n");
  fs::create_directory_symlink(dir / "a", dir / "link");
  host.rows.push_back(PathText(dir / "link" / "contacts.vcf"));
  WriteBytes(dir / "a" / "earlier.vcf", "FN:replaced\n");
  WriteBytes(dir / "a" / "earlier.htm", "left by an earlier run");
  host.rows.push_back(PathText(dir / "link" / "earlier.vcf"));
  EXPECT_EQ(StartConverting(host), RunOutcome::Done);
  EXPECT_TRUE(host.errors.empty());
  EXPECT_THAT(ReadBytes(dir / "a" / "contacts.htm"), HasSubstr("<td>&nbsp;first</td>"));
  EXPECT_THAT(ReadBytes(dir / "a" / "contacts (2).htm"), HasSubstr("<td>&nbsp;first</td>"));
  EXPECT_THAT(ReadBytes(dir / "a" / "earlier.htm"), HasSubstr("<td>&nbsp;replaced</td>"));
  EXPECT_FALSE(fs::exists(dir / "a" / "earlier (2).htm"));
}

TEST_F(ConversionRun, AFailingFileDoesNotStopTheRun) {
  add(dir / "a.vcf", "FN:a\n");
  add(dir / "b.vcf", "FN:b\n");
  fs::create_directory(dir / "a.htm");  // the first document cannot be written over a folder
  EXPECT_EQ(StartConverting(host), RunOutcome::Done);
  ASSERT_EQ(host.errors.size(), 1u);
  EXPECT_EQ(host.errors[0].statement, 546);
  EXPECT_TRUE(fs::is_directory(dir / "a.htm"));
  EXPECT_TRUE(fs::exists(dir / "b.htm"));
}

// Inputs that are not there, and those whose reading or writing failed, are
// counted apart from those read that held nothing to convert, in every way of
// converting; each failed input once, though one document reads it twice.
TEST_F(ConversionRun, TheSummaryCountsMissingAndFailedInputsApart) {
  struct Case {
    bool allToOne;
    bool perContact;
  };
  for (const Case way : {Case{false, false}, Case{false, true}, Case{true, false}, Case{true, true}}) {
    SCOPED_TRACE(std::string(way.allToOne ? "one document" : "per file") +
                 (way.perContact ? ", one row per contact" : ""));
    const fs::path folder = dir / (std::to_string(way.allToOne) + std::to_string(way.perContact));
    host.rows.clear();
    host.errors.clear();
    host.mode = way.allToOne ? DocumentMode::OneDocument : DocumentMode::PerInput;
    host.perContact = way.perContact;
    add(folder / "a.vcf", "BEGIN:VCARD\r\nFN:a\r\nEND:VCARD\r\n");
    add(folder / "nothing.vcf", "no card here\r\n");
    host.rows.push_back(PathText(folder / "gone.vcf"));
    fs::create_directory(folder / "folder.vcf");  // reading it fails
    host.rows.push_back(PathText(folder / "folder.vcf"));
    add(folder / "b.vcf", "BEGIN:VCARD\r\nFN:b\r\nEND:VCARD\r\n");
    if (!way.allToOne) fs::create_directory(folder / "b.htm");  // writing its document fails
    RunSummary summary;
    EXPECT_EQ(StartConverting(host, summary), RunOutcome::Done);
    EXPECT_EQ(summary.inputs, 5u);
    EXPECT_EQ(summary.nothingToConvert, 1u);
    EXPECT_EQ(summary.nothingToConvertInputs, std::vector<Text>{PathText(folder / "nothing.vcf")});
    EXPECT_EQ(summary.notFound, 1u);
    EXPECT_EQ(summary.notFoundInputs, std::vector<Text>{PathText(folder / "gone.vcf")});
    EXPECT_EQ(summary.failed, way.allToOne ? 1u : 2u);
    EXPECT_EQ(summary.documentsWritten, 1u);
    // Per file the folder and the write fail; in one document the folder fails in both sweeps.
    EXPECT_EQ(host.errors.size(), 2u);
  }
}

// Memory that runs out at any moment of a run, in every way of converting, is
// said in an error box that names a file, and counted as a failed input: it
// never ends the run with an exception.
TEST_F(ConversionRun, MemoryRunningOutAnywhereIsSaidAndCountedAsAFailure) {
  struct Case {
    bool allToOne;
    bool perContact;
  };
  add(dir / "a.vcf", "BEGIN:VCARD\r\nFN:a\r\nEMAIL:a@b\r\nEND:VCARD\r\nBEGIN:VCARD\r\nFN:b\r\nEND:VCARD\r\n");
  add(dir / "b.vcf", "FN:c\nTEL:1\n");
  host.beside[OutputFormat::Csv] = true;
  host.beside[OutputFormat::Xlsx] = true;
  for (const Case way : {Case{false, false}, Case{false, true}, Case{true, false}, Case{true, true}}) {
    host.mode = way.allToOne ? DocumentMode::OneDocument : DocumentMode::PerInput;
    host.perContact = way.perContact;
    host.onYield = nullptr;
    host.yields = 0;
    StartConverting(host);
    const int yields = host.yields;
    for (int failing = 1; failing <= yields; ++failing) {
      SCOPED_TRACE(std::string(way.allToOne ? "one document" : "per file") +
                   (way.perContact ? ", one row per contact" : "") + ", failing turn " +
                   std::to_string(failing));
      host.errors.clear();
      host.yields = 0;
      bool thrown = false;
      host.onYield = [&] {
        if (host.yields != failing) return;
        thrown = true;
        if (failing % 2 == 0) throw std::bad_alloc();
        throw std::length_error("basic_string::_M_create");
      };
      RunSummary summary;
      EXPECT_NO_THROW(EXPECT_EQ(StartConverting(host, summary), RunOutcome::Done));
      if (!thrown) continue;  // a turn of the first run only, before its documents were there
      ASSERT_FALSE(host.errors.empty());
      for (const ErrorReport& error : host.errors) {
        EXPECT_EQ(error.description, kOutOfMemory);
        EXPECT_FALSE(error.file.empty());
      }
      EXPECT_GE(summary.failed, 1u);
    }
  }
}

TEST_F(ConversionRun, ListsAreNotLimitedTo32767Rows) {
  host.mode = DocumentMode::OneDocument;
  add(dir / "a.vcf", "FN:a\n");
  host.rows.resize(40000, host.rows.front());
  EXPECT_EQ(StartConverting(host), RunOutcome::Done);
  const std::string document = ReadBytes(dir / "output.xml");
  std::size_t rows = 0;
  for (std::size_t at = document.find("<td>&#160;a</td>"); at != std::string::npos;
       at = document.find("<td>&#160;a</td>", at + 1)) {
    ++rows;
  }
  EXPECT_EQ(rows, 40000u);
  EXPECT_EQ(host.captions[39999], u"Processing: a.vcf");
  EXPECT_TRUE(host.errors.empty());
}

}  // namespace
}  // namespace brevant
