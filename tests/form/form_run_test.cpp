// "Start Converting": refusals, the bar while the run yields, changes meanwhile,
// engine errors, the closing box, and closing the window in the middle of a run.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>

#include "engine/write/output_formats.h"
#include "form/option_groups.h"
#include "support/text/utf8.h"
#include "test_support/form_fixture.h"
#include "test_support/run_files.h"
#include "test_support/temporary_files.h"

namespace brevant::test {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class RunTest : public FormTest {
 protected:
  fs::path out = dir / "out";

  MainForm& openWithRows(const std::vector<fs::path>& inputs) {
    MainForm& f = open();
    std::vector<Text> rows;
    for (const fs::path& input : inputs) rows.push_back(PathText(input));
    f.filesDropped(rows);
    return f;
  }
  void expectIdle() {
    EXPECT_EQ(view.progressPosition, 0);
    EXPECT_EQ(view.progressCaption, u"Progress Bar");
    EXPECT_EQ(view.pointer, Pointer::Arrow);
    EXPECT_FALSE(form->running());
  }
};

TEST_F(RunTest, RefusesAnEmptyListThenAMissingFolderEveryTime) {
  MainForm& f = open();
  f.clicked(Control::StartConverting);
  f.clicked(Control::StartConverting);
  f.filesDropped({PathText(dir / "a.vcf")});
  f.edited(Control::OutputFolder, PathText(dir / "missing"));
  f.clicked(Control::StartConverting);
  f.edited(Control::OutputFolder, u"");
  f.clicked(Control::StartConverting);
  // A folder whose path the system cannot take is said to be too long.
  f.edited(Control::OutputFolder, PathText(dir.path()) + u"/" + Text(300, u'n'));
  f.clicked(Control::StartConverting);
  EXPECT_THAT(dialogs.asked, ElementsAre("message: No files added.", "message: No files added.",
                                         "message: Folder does not exist. Please select another folder.",
                                         "message: Folder does not exist. Please select another folder.",
                                         "message: Path too long. Please select another folder."));
  expectIdle();
}

TEST_F(RunTest, ShowsEachFileWithItsShareWhileTheRunYieldsThenDone) {
  for (const char* name : {"a.vcf", "b.vcf", "c.vcf"}) WriteBytes(dir / name, "FN:x\n");
  MainForm& f = openWithRows({dir / "a.vcf", dir / "b.vcf", dir / "c.vcf"});
  f.toggled(Control::DocumentPerInput, true);
  f.toggled(Control::SaveBesideInput, true);
  std::vector<std::pair<double, std::string>> shown;
  view.whileEventsProcessed = [&] {
    shown.emplace_back(view.progressPosition, ToUtf8(view.progressCaption));
    EXPECT_EQ(view.pointer, Pointer::Busy);
  };
  f.clicked(Control::StartConverting);
  // The run looks at every input first, the bar still idle; then it shows each file.
  const auto first = std::find_if(shown.begin(), shown.end(),
                                  [](const auto& state) { return state.second != "Progress Bar"; });
  ASSERT_NE(first, shown.end());
  EXPECT_DOUBLE_EQ(first->first, 100.0 / 3);
  EXPECT_EQ(first->second, "Processing: a.vcf");
  for (const char* document : {"a.htm", "b.htm", "c.htm"})
    EXPECT_TRUE(fs::exists(dir / document)) << document;
  EXPECT_THAT(dialogs.asked, ElementsAre("message: Done."));
  expectIdle();
}

// Stored settings may leave both buttons of a group unchecked; the run then
// does what each group's first button says: one document, in the chosen folder.
TEST_F(RunTest, AGroupWithNeitherButtonCheckedRunsAsItsFirstButton) {
  fs::create_directory(out);
  WriteBytes(dir / "a.vcf", "FN:x\n");
  for (const char* key : {"Option1", "Option2", "Option3", "Option4"})
    settings.values[FromUtf8(key)] = u"False";
  settings.values[u"Text1"] = PathText(out);
  MainForm& f = openWithRows({dir / "a.vcf"});
  for (const Control option : {Control::AllInOneDocument, Control::DocumentPerInput,
                               Control::SaveToChosenFolder, Control::SaveBesideInput})
    EXPECT_FALSE(view.checked[option]);
  f.clicked(Control::StartConverting);
  EXPECT_TRUE(fs::exists(out / "output.xml"));
  EXPECT_FALSE(fs::exists(dir / "a.htm"));
  EXPECT_THAT(dialogs.asked, ElementsAre("message: Done."));
  for (const char* key : {"Option1", "Option2", "Option3", "Option4"})
    EXPECT_EQ(stored(FromUtf8(key)), "False");
}

TEST_F(RunTest, ChangesWhileTheRunYieldsApplyFromTheNextReadButRowsStayAsTheyWere) {
  WriteBytes(dir / "a.vcf", "FN:a\n");
  WriteBytes(dir / "b.vcf", "FN:b\n");
  MainForm& f = openWithRows({dir / "a.vcf", dir / "b.vcf"});
  f.toggled(Control::DocumentPerInput, true);
  f.toggled(Control::SaveBesideInput, true);
  bool changed = false;
  view.whileEventsProcessed = [&] {
    if (changed) return;
    changed = true;
    f.edited(Control::BorderWidth, u"7");
    f.filesDropped({PathText(dir / "late.vcf")});  // adding is not held off, but this run has its rows
    f.clicked(Control::StartConverting);           // a second start does nothing
  };
  f.clicked(Control::StartConverting);
  EXPECT_TRUE(changed);
  EXPECT_NE(ReadBytes(dir / "a.htm").find("border='7'"), std::string::npos);
  EXPECT_NE(ReadBytes(dir / "b.htm").find("border='7'"), std::string::npos);
  EXPECT_FALSE(fs::exists(dir / "late.htm"));
  EXPECT_EQ(f.rows().size(), 3u);
  EXPECT_THAT(dialogs.asked, ElementsAre("message: Done."));
}

TEST_F(RunTest, EngineErrorsShowTheirBoxesAndTheRunGoesOn) {
  WriteBytes(dir / "a.vcf", "FN:a\n");
  MainForm& f = openWithRows({dir / "missing.vcf", dir / "a.vcf"});
  f.edited(Control::OutputFolder, PathText(dir.path()));
  fs::create_directories(dir / "output.xml");  // a folder where the document should go
  f.clicked(Control::StartConverting);
  ASSERT_EQ(dialogs.errors.size(), 1u);
  EXPECT_EQ(dialogs.errors[0].tag, u"in Tarnwick2021/08/31.modVCF.ConvertVCFToSingleHTML ");
  // The document that was not written held the other file.
  EXPECT_EQ(
      dialogs.asked.back(),
      "message: Done.\r\n\r\n1 of the 2 files was not found, and 1 could not be converted (see the error "
      "messages).");
  expectIdle();
}

// "Done." stays first; a paragraph says how many inputs were not there, how many
// failed (their own read, or the one document's write) and how many had nothing
// to convert, in either mode and either way of reading, before the hint about
// files of several contacts.
TEST_F(RunTest, DoneCountsEveryInputThatWasNotConverted) {
  WriteBytes(dir / "a.vcf", "FN:a\n");
  WriteBytes(dir / "b.vcf", "FN:b\n");
  WriteBytes(dir / "two.vcf", "BEGIN:VCARD\r\nFN:A\r\nEND:VCARD\r\nBEGIN:VCARD\r\nFN:B\r\nEND:VCARD\r\n");
  WriteBytes(dir / "c.vcf", "BEGIN:VCARD\r\nFN:C\r\nEND:VCARD\r\n");
  WriteBytes(dir / "empty.vcf", "");
  WriteBytes(dir / "blank.vcf", "BEGIN:VCARD\r\nEND:VCARD\r\n");
  WriteBytes(dir / "notes.txt", "shopping list\r\n");
  fs::create_directories(out / "b.htm");  // a folder where b's document should go
  // Seven files with nothing to convert, listed out of name order: the first five are named.
  std::vector<fs::path> blanks;
  for (const char* name : {"g.vcf", "f.vcf", "e.vcf", "d.vcf", "c0.vcf", "b0.vcf", "a0.vcf"}) {
    WriteBytes(dir / name, blanks.size() % 2 == 0 ? "" : "BEGIN:VCARD\r\nEND:VCARD\r\n");
    blanks.push_back(dir / name);
  }
  const std::string firstBlanks = "g.vcf, f.vcf, e.vcf, d.vcf, c0.vcf";
  std::vector<fs::path> sixBlanksAndACard(blanks.begin(), blanks.begin() + 6);
  sixBlanksAndACard.insert(sixBlanksAndACard.begin() + 3, dir / "c.vcf");
  const std::string failedOnly = " could not be converted (see the error messages).";
  enum Mode { PerFile, OneDocument, OneDocumentBlocked };  // blocked: a folder where output.xml should go
  struct Case {
    std::vector<fs::path> rows;
    Mode mode;
    std::string message;
    bool perContact = false;
  };
  const Case cases[] = {
      {{dir / "a.vcf"}, PerFile, "Done."},
      {{dir / "gone.vcf"}, PerFile, "Done.\r\n\r\nThe file was not found."},
      {{dir / "gone.vcf", dir / "a.vcf", dir / "lost.vcf"},
       PerFile,
       "Done.\r\n\r\n2 of the 3 files were not found."},
      {{dir / "folder.vcf", dir / "b.vcf"}, PerFile, "Done.\r\n\r\nAll 2 files" + failedOnly},
      {{dir / "a.vcf", dir / "b.vcf"}, PerFile, "Done.\r\n\r\n1 of the 2 files" + failedOnly},
      {{dir / "gone.vcf", dir / "folder.vcf", dir / "a.vcf"},
       OneDocument,
       "Done.\r\n\r\n1 of the 3 files was not found, and 1" + failedOnly},
      {{dir / "two.vcf", dir / "gone.vcf"},
       OneDocument,
       "Done.\r\n\r\n1 of the 2 files was not found.\r\n\r\nThe file holds several contacts, and it became "
       "one row. Tick \"One row per contact\" to give every contact its own row."},
      // The one document could not be written: every file it would have held was not converted.
      {{dir / "a.vcf", dir / "b.vcf"}, OneDocumentBlocked, "Done.\r\n\r\nAll 2 files" + failedOnly},
      {{dir / "two.vcf", dir / "c.vcf"}, OneDocumentBlocked, "Done.\r\n\r\nAll 2 files" + failedOnly, true},
      {{dir / "gone.vcf", dir / "empty.vcf", dir / "a.vcf"},
       OneDocumentBlocked,
       "Done.\r\n\r\n1 of the 3 files was not found, 1 could not be converted (see the error messages), and "
       "1 had nothing to convert: empty.vcf."},
      // Nothing to convert, in each mode and way of reading, named as no error box names them.
      {{dir / "empty.vcf"}, PerFile, "Done.\r\n\r\nThe file had nothing to convert: empty.vcf."},
      {{dir / "blank.vcf", dir / "a.vcf"},
       OneDocument,
       "Done.\r\n\r\n1 of the 2 files had nothing to convert: blank.vcf."},
      {{dir / "notes.txt", dir / "empty.vcf", dir / "two.vcf"},
       PerFile,
       "Done.\r\n\r\n2 of the 3 files had nothing to convert: notes.txt and empty.vcf.",
       true},
      {{dir / "notes.txt", dir / "gone.vcf", dir / "blank.vcf", dir / "two.vcf"},
       OneDocument,
       "Done.\r\n\r\n1 of the 4 files was not found, and 2 had nothing to convert: notes.txt and blank.vcf.",
       true},
      {{dir / "blank.vcf", dir / "a.vcf", dir / "notes.txt", dir / "folder.vcf", dir / "empty.vcf"},
       PerFile,
       "Done.\r\n\r\n1 of the 5 files could not be converted (see the error messages), and 3 had nothing to "
       "convert: blank.vcf, notes.txt, and empty.vcf."},
      // The first few by name, then how many more, in list order.
      {blanks, PerFile, "Done.\r\n\r\nAll 7 files had nothing to convert: " + firstBlanks + ", and 2 more.",
       true},
      {blanks, OneDocument,
       "Done.\r\n\r\nAll 7 files had nothing to convert: " + firstBlanks + ", and 2 more."},
      {sixBlanksAndACard, OneDocument,
       "Done.\r\n\r\n6 of the 7 files had nothing to convert: " + firstBlanks + ", and 1 more.", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    dialogs.asked.clear();
    MainForm& f = openWithRows(c.rows);
    // A folder where a listed file was: reading it fails (a folder dropped would have been scanned).
    fs::create_directories(dir / "folder.vcf");
    if (c.mode == OneDocumentBlocked) fs::create_directories(out / "output.xml");
    f.edited(Control::OutputFolder, PathText(out));
    f.toggled(c.mode == PerFile ? Control::DocumentPerInput : Control::AllInOneDocument, true);
    f.toggled(Control::RowPerContact, c.perContact);
    f.clicked(Control::StartConverting);
    fs::remove(dir / "folder.vcf");
    fs::remove(out / "output.xml");
    ASSERT_FALSE(dialogs.asked.empty());
    EXPECT_EQ(dialogs.asked.back(), "message: " + c.message);
  }
}

// Memory that runs out fails the input at hand, and the run goes on with the next.
TEST_F(RunTest, DoneCountsAnInputWhoseMemoryRanOut) {
  for (const char* name : {"a.vcf", "b.vcf", "c.vcf"}) WriteBytes(dir / name, "FN:x\n");
  MainForm& f = openWithRows({dir / "a.vcf", dir / "b.vcf", dir / "c.vcf"});
  f.toggled(Control::DocumentPerInput, true);
  f.toggled(Control::SaveBesideInput, true);
  view.whileEventsProcessed = [&] {
    if (view.progressCaption == u"Processing: a.vcf") throw std::bad_alloc();
  };
  f.clicked(Control::StartConverting);
  view.whileEventsProcessed = nullptr;
  EXPECT_FALSE(fs::exists(dir / "a.htm"));
  EXPECT_TRUE(fs::exists(dir / "b.htm"));
  EXPECT_TRUE(fs::exists(dir / "c.htm"));
  ASSERT_EQ(dialogs.errors.size(), 1u);
  EXPECT_EQ(dialogs.asked.back(),
            "message: Done.\r\n\r\n1 of the 3 files could not be converted (see the error messages).");
  expectIdle();
}

// A value longer than a workbook's cell holds is cut there: "Done." names the
// workbook and how many values it holds cut, the first few workbooks by name.
TEST_F(RunTest, DoneNamesTheWorkbooksThatHoldValuesCut) {
  const std::string note = "NOTE;CHARSET=UTF-8:" + std::string(40000, 'n') + "\r\n";
  const std::string card = "BEGIN:VCARD\r\nFN:A\r\n" + note + "END:VCARD\r\n";
  WriteBytes(dir / "short.vcf", "BEGIN:VCARD\r\nFN:A\r\nEND:VCARD\r\n");
  WriteBytes(dir / "two.vcf", card + card);
  std::vector<fs::path> seven;
  for (int i = 1; i <= 7; ++i) {
    seven.push_back(dir / ("long" + std::to_string(i) + ".vcf"));
    WriteBytes(seven.back(), card);
  }
  const std::string cutIn = " longer than a spreadsheet cell holds ";
  fs::create_directories(out);
  struct Case {
    std::vector<fs::path> rows;
    bool perContact;
    std::string message;
  };
  const Case cases[] = {
      {{dir / "short.vcf"}, true, "Done."},
      {{dir / "two.vcf", dir / "short.vcf"}, true, "Done.\r\n\r\n2 values" + cutIn + "were cut in two.xlsx."},
      {{seven.front()}, false, "Done.\r\n\r\n1 value" + cutIn + "was cut in long1.xlsx."},
      {seven, true,
       "Done.\r\n\r\n1 value" + cutIn + "was cut in long1.xlsx.\r\n1 value" + cutIn +
           "was cut in long2.xlsx.\r\n" + "1 value" + cutIn + "was cut in long3.xlsx.\r\n1 value" + cutIn +
           "was cut in long4.xlsx.\r\n" + "1 value" + cutIn +
           "was cut in long5.xlsx.\r\nValues were cut in 2 more workbooks."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    dialogs.asked.clear();
    MainForm& f = openWithRows(c.rows);
    f.edited(Control::OutputFolder, PathText(out));
    f.toggled(Control::DocumentPerInput, true);
    f.toggled(Control::RowPerContact, c.perContact);
    f.toggled(CheckBoxOf(OutputFormat::Xlsx), true);
    f.clicked(Control::StartConverting);
    ASSERT_FALSE(dialogs.asked.empty());
    EXPECT_EQ(dialogs.asked.back(), "message: " + c.message);
  }
}

TEST_F(RunTest, DoneSaysWhenFilesOfSeveralContactsBecameOneRowEach) {
  const std::string two = "BEGIN:VCARD\r\nFN:Ann\r\nEND:VCARD\r\nBEGIN:VCARD\r\nFN:Bob\r\nEND:VCARD\r\n";
  WriteBytes(dir / "two.vcf", two);
  WriteBytes(dir / "one.vcf", "BEGIN:VCARD\r\nFN:Cy\r\nEND:VCARD\r\n");
  for (const bool perContact : {false, true}) {
    SCOPED_TRACE(perContact);
    dialogs.asked.clear();
    MainForm& f = openWithRows({dir / "two.vcf", dir / "one.vcf"});
    f.edited(Control::OutputFolder, PathText(dir.path()));
    f.toggled(Control::RowPerContact, perContact);
    f.clicked(Control::StartConverting);
    EXPECT_THAT(
        dialogs.asked,
        ElementsAre(perContact ? std::string("message: Done.")
                               : "message: Done.\r\n\r\n1 of the 2 files holds several contacts, and it "
                                 "became one row. Tick \"One row per contact\" to give every contact its "
                                 "own row."));
  }
}

class CloseDuringRun : public RunTest {
 protected:
  // Closes the window at the first turn of the event loop at which `now` says so.
  bool closeWhen(MainForm& f, std::function<bool()> now) {
    bool closed = false;
    view.whileEventsProcessed = [&] {
      if (!closed && now()) {
        closed = true;
        f.close();
      }
    };
    f.clicked(Control::StartConverting);
    view.whileEventsProcessed = nullptr;
    return closed;
  }
};

TEST_F(CloseDuringRun, TheOneDocumentStaysAsItWasWhileColumnsOrRowsAreCollected) {
  std::vector<fs::path> inputs;
  const std::string contact = ContactWithEmails(2000);
  for (int i = 0; i < 150; ++i) {
    inputs.push_back(dir / "in" / ("c" + std::to_string(i) + ".vcf"));
    WriteBytes(inputs.back(), contact);
  }
  // The sweep that collects the columns moves the bar under the idle caption;
  // the sweep that writes the document names each file.
  const std::function<bool(const FakeView&)> moments[] = {
      [](const FakeView& v) { return v.progressCaption == u"Progress Bar" && v.progressPosition > 0; },
      [](const FakeView& v) { return v.progressCaption.starts_with(u"Processing: "); }};
  for (const auto& moment : moments) {
    fs::remove_all(out);
    fs::create_directories(out);
    WriteBytes(out / "output.xml", "earlier document");
    dialogs.asked.clear();
    MainForm& f = openWithRows(inputs);
    f.edited(Control::OutputFolder, PathText(out));
    ASSERT_TRUE(closeWhen(f, [&] { return moment(view); }));
    EXPECT_THAT(dialogs.asked, IsEmpty());  // no "Done." after the close
    EXPECT_EQ(FilesIn(out), (std::map<std::string, std::string>{{"output.xml", "earlier document"}}));
    EXPECT_FALSE(f.running());
  }
}

TEST_F(CloseDuringRun, NoPartialDocumentAndLaterInputsUntouched) {
  WriteBytes(dir / "big.vcf", ContactWithEmails(200000));
  WriteBytes(dir / "next.vcf", "FN:next\n");
  fs::create_directories(out);
  WriteBytes(out / "next.htm", "earlier document");
  MainForm& f = openWithRows({dir / "big.vcf", dir / "next.vcf"});
  f.toggled(Control::DocumentPerInput, true);
  f.edited(Control::OutputFolder, PathText(out));
  // While big.htm is written its cells move the bar away from the run's 50.
  ASSERT_TRUE(closeWhen(
      f, [&] { return view.progressCaption == u"Processing: big.vcf" && view.progressPosition != 50; }));
  EXPECT_THAT(dialogs.asked, IsEmpty());
  EXPECT_FALSE(fs::exists(out / "big.htm"));
  EXPECT_EQ(ReadBytes(out / "next.htm"), "earlier document");
  EXPECT_THAT(TemporaryFilesIn(out), IsEmpty());
}

}  // namespace
}  // namespace brevant::test
