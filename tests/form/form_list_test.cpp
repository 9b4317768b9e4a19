// The input list: file dialog, folder scan, drops, removal, row dragging, samples.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "support/folders/matching_files.h"
#include "support/files/path_helpers.h"
#include "support/text/utf8.h"
#include "test_support/form_fixture.h"

namespace brevant::test {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

// A path written with "/" in the system's own separator (on a drive on Windows).
Text Native(TextView path) {
  Text native(path);
  std::replace(native.begin(), native.end(), u'/', Separator());
  return Separator() == u'/' ? native : u"C:" + native;
}

std::vector<std::string> Strings(const std::vector<Text>& texts) {
  std::vector<std::string> strings;
  for (const Text& text : texts) strings.push_back(ToUtf8(text));
  return strings;
}

class ListTest : public FormTest {
 protected:
  fs::path tree = dir / "tree";

  void makeTree() {
    WriteBytes(tree / "a.vcf", "FN:a\n");
    WriteBytes(tree / "B.VCF", "FN:b\n");
    WriteBytes(tree / "notes.txt", "n\n");
    WriteBytes(tree / "~lock.vcf", "x\n");
    WriteBytes(tree / "sub" / "c.vcf", "FN:c\n");
  }
  std::string at(const char* name) const { return ToUtf8(PathText((tree / name).make_preferred())); }
  // The form's rows, and the view shows the same.
  std::vector<std::string> shownRows() {
    EXPECT_EQ(view.rows, form->rows());
    return rows();
  }
};

TEST_F(ListTest, AddsOneFileAsReturnedAndSeveralThroughTheirFolder) {
  MainForm& f = open();
  dialogs.fileAnswers = {{Native(u"/d//one.vcf")}, {Native(u"/d/a.vcf"), Native(u"/d/b.vcf")}, {}};
  for (int click = 0; click < 3; ++click) f.clicked(Control::AddFiles);
  // One file stays as the dialog gave it; several are joined to their folder with one separator.
  EXPECT_THAT(shownRows(),
              ElementsAreArray(Strings({Native(u"/d//one.vcf"), Native(u"/d/a.vcf"), Native(u"/d/b.vcf")})));
  EXPECT_THAT(dialogs.asked,
              ElementsAre("files: Add File(s) - Hold Ctrl to select multiple files [VCF Files (*.vcf)]",
                          "files: Add File(s) - Hold Ctrl to select multiple files [VCF Files (*.vcf)]",
                          "files: Add File(s) - Hold Ctrl to select multiple files [VCF Files (*.vcf)]"));
  // The same file twice gives two rows.
  dialogs.fileAnswers = {{Native(u"/d/a.vcf")}};
  f.clicked(Control::AddFiles);
  EXPECT_EQ(std::count(f.rows().begin(), f.rows().end(), Native(u"/d/a.vcf")), 2);
}

TEST_F(ListTest, ScansAFolderTreeForTheExtensionWithTheBusyPointer) {
  makeTree();
  settings.values[u"LastFolder"] = u"/start";
  MainForm& f = open();
  dialogs.textAnswers = {u"vcf", u"*"};
  dialogs.folderAnswers = {PathText(tree), PathText(tree)};
  std::vector<Pointer> pointers;
  view.whileEventsProcessed = [&] { pointers.push_back(view.pointer); };
  f.clicked(Control::AddFolder);
  EXPECT_THAT(shownRows(), ElementsAre(at("a.vcf"), at("B.VCF"), at("sub/c.vcf")));
  EXPECT_EQ(stored(u"Extension"), "vcf");
  EXPECT_EQ(settings.values[u"LastFolder"], PathText(tree));
  ASSERT_FALSE(pointers.empty());  // the scan gave the window its turns, busy all along
  EXPECT_EQ(std::count(pointers.begin(), pointers.end(), Pointer::Busy), static_cast<long>(pointers.size()));
  EXPECT_EQ(view.pointer, Pointer::Arrow);

  f.clicked(Control::ClearList);
  f.clicked(Control::AddFolder);
  ScanObserver quiet;
  EXPECT_EQ(f.rows(), ListMatchingFiles(PathText(tree), u"*", quiet));
  EXPECT_THAT(rows(), ::testing::Contains(at("notes.txt")));
  EXPECT_EQ(stored(u"Extension"), "*");
  const std::string prompt =
      "prompt: Enter file extension to load:\r\r(* for all files, txt for all txt files, doc for all doc "
      "files, "
      "etc.) [vcf]";
  EXPECT_THAT(dialogs.asked, ElementsAre(prompt, "folder: Please select folder: [/start]", prompt,
                                         "folder: Please select folder: [" + ToUtf8(PathText(tree)) + "]"));
}

TEST_F(ListTest, AnEmptyExtensionOrACancelledFolderStopsTheScan) {
  makeTree();
  MainForm& f = open();
  f.clicked(Control::AddFolder);  // prompt cancelled
  EXPECT_EQ(dialogs.asked.size(), 1u);
  EXPECT_EQ(stored(u"Extension"), "<absent>");
  dialogs.textAnswers = {u"txt"};
  f.clicked(Control::AddFolder);  // folder cancelled: the extension is stored already
  EXPECT_EQ(dialogs.asked.size(), 3u);
  EXPECT_EQ(stored(u"Extension"), "txt");
  EXPECT_EQ(stored(u"LastFolder"), "<absent>");
  EXPECT_THAT(rows(), IsEmpty());
  EXPECT_EQ(view.pointer, Pointer::Arrow);
}

TEST_F(ListTest, ASecondClickWhileTheScanYieldsStartsNoSecondScanAndACloseEndsIt) {
  makeTree();
  MainForm& f = open();
  dialogs.textAnswers = {u"vcf", u"vcf"};
  dialogs.folderAnswers = {PathText(tree), PathText(tree)};
  view.whileEventsProcessed = [&] { f.clicked(Control::AddFolder); };
  f.clicked(Control::AddFolder);
  EXPECT_EQ(dialogs.asked.size(), 2u);
  EXPECT_EQ(rows().size(), 3u);

  // Closed while it yields: the scan ends without adding, and the pointer is restored.
  dialogs.textAnswers = {u"vcf"};
  dialogs.folderAnswers = {PathText(tree)};
  view.whileEventsProcessed = [&] { f.close(); };
  f.clicked(Control::AddFolder);
  EXPECT_EQ(rows().size(), 3u);
  EXPECT_EQ(f.pointer(), Pointer::Arrow);
}

TEST_F(ListTest, DropsAddFilesAsTheyAreAndEveryFileOfDroppedFolders) {
  makeTree();
  WriteBytes(dir / "other" / "x.doc", "d");
  settings.values[u"Extension"] = u"vcf";  // a drop reads no setting
  MainForm& f = open();
  const Text missing = PathText(dir / "gone.txt");
  f.filesDropped({missing, PathText(tree / "sub"), PathText(dir / "other"), missing});
  EXPECT_THAT(shownRows(), ElementsAre(ToUtf8(missing), at("sub/c.vcf"),
                                       ToUtf8(PathText(dir / "other" / "x.doc")), ToUtf8(missing)));
  f.filesDropped({});
  EXPECT_EQ(rows().size(), 4u);
  EXPECT_THAT(dialogs.asked, IsEmpty());
  EXPECT_EQ(view.pointer, Pointer::Arrow);
}

TEST_F(ListTest, RemovesTheSelectedRowAndClearsButNotWhileBusy) {
  MainForm& f = open();
  f.filesDropped({u"a", u"b", u"c", u"d"});
  struct Removal {
    void (*gesture)(MainForm&, std::optional<std::size_t>);
    std::optional<std::size_t> selected;
    std::vector<std::string> left;
  };
  const auto del = [](MainForm& form, std::optional<std::size_t> row) {
    form.listKeyPressed(MainForm::kDeleteKey, row);
  };
  const auto other = [](MainForm& form, std::optional<std::size_t> row) { form.listKeyPressed(45, row); };
  const auto twice = [](MainForm& form, std::optional<std::size_t> row) { form.listDoubleClicked(row); };
  const Removal removals[] = {
      {del, 1, {"a", "c", "d"}},       {twice, 2, {"a", "c"}}, {other, 0, {"a", "c"}},  // another key
      {del, std::nullopt, {"a", "c"}},                                                  // nothing selected
      {twice, 7, {"a", "c"}},                                                           // no such row
  };
  for (const Removal& removal : removals) {
    removal.gesture(f, removal.selected);
    EXPECT_EQ(shownRows(), removal.left);
  }
  f.setBusy(true);
  f.listKeyPressed(MainForm::kDeleteKey, 0);
  f.listDoubleClicked(0);
  f.clicked(Control::ClearList);
  EXPECT_THAT(shownRows(), ElementsAre("a", "c"));
  f.setBusy(false);
  f.clicked(Control::ClearList);
  EXPECT_THAT(shownRows(), IsEmpty());
  f.listKeyPressed(MainForm::kDeleteKey, 0);  // nothing left to remove
  EXPECT_THAT(dialogs.asked, IsEmpty());
}

// One gesture of a row drag: a press over a row (or beside the rows), a move
// to a row at a height of the 100 pixels high rows area, or a release.
struct Gesture {
  enum Kind { Press, Move, Release } kind;
  std::optional<std::size_t> row;
  int y = 50;
};

struct DragCase {
  const char* name;
  std::vector<Text> rows;
  std::vector<Gesture> gestures;
  std::vector<std::string> after;
  std::optional<std::size_t> selected;
  std::vector<std::string> scrolled;
};

TEST_F(ListTest, RowDraggingCarriesThePathOneRowAtATimeAndScrollsAtTheEdges) {
  using enum Gesture::Kind;
  const DragCase cases[] = {
      {"the third row up over the second and first",
       {u"a", u"b", u"c", u"d"},
       {{Press, 2}, {Move, 1}, {Move, 0}, {Release, 0}},
       {"c", "a", "b", "d"},
       0,
       {}},
      {"a jump exchanges the two rows only",
       {u"a", u"b", u"c", u"d"},
       {{Press, 0}, {Move, 3}, {Release, 3}},
       {"d", "b", "c", "a"},
       3,
       {}},
      {"without the button held nothing moves", {u"a", u"b"}, {{Move, 0}, {Move, 1}}, {"a", "b"}, {}, {}},
      {"a press beside the rows drags nothing",
       {u"a", u"b"},
       {{Press, std::nullopt}, {Move, 0}, {Release, 0}},
       {"a", "b"},
       {},
       {}},
      {"equal texts are not exchanged", {u"x", u"x", u"y"}, {{Press, 0}, {Move, 1}}, {"x", "x", "y"}, {}, {}},
      {"after the release moving changes nothing",
       {u"a", u"b", u"c"},
       {{Press, 0}, {Release, 0}, {Move, 2}},
       {"a", "b", "c"},
       {},
       {}},
      // The top fifth (or above) shows the row above; the bottom fifth (or below) the row below.
      {"scrolls at the edges",
       {u"a", u"b", u"c", u"d"},
       {{Press, 1},
        {Move, 1, 19},
        {Move, 1, 20},
        {Move, 1, 79},
        {Move, 1, 80},
        {Move, 1, -30},
        {Move, 1, 400}},
       {"a", "b", "c", "d"},
       {},
       {"show row 0", "show row 2", "show row 0", "show row 2"}},
      {"no row beyond the ends", {u"a", u"b"}, {{Press, 0}, {Move, 0, 0}, {Move, 1, 99}}, {"b", "a"}, 1, {}},
  };
  for (const DragCase& c : cases) {
    SCOPED_TRACE(c.name);
    MainForm& f = open();
    f.filesDropped(c.rows);
    view.calls.clear();
    for (const Gesture& gesture : c.gestures) {
      switch (gesture.kind) {
        case Press:
          f.listButtonPressed(gesture.row);
          EXPECT_EQ(view.listDragPointer, gesture.row.has_value());
          break;
        case Move:
          f.listPointerMoved(gesture.row, gesture.y, 100);
          break;
        case Release:
          f.listButtonReleased();
          EXPECT_FALSE(view.listDragPointer);
          break;
      }
    }
    EXPECT_EQ(shownRows(), c.after);
    EXPECT_EQ(view.selected, c.selected);
    EXPECT_EQ(view.calls, c.scrolled);
  }
}

TEST_F(ListTest, ARowRemovedWhileDraggingDoesNotMoveTheWrongRow) {
  MainForm& f = open();
  f.filesDropped({u"a", u"b", u"c", u"d"});
  f.listButtonPressed(2);  // "c"
  f.listKeyPressed(MainForm::kDeleteKey, 0);
  f.listPointerMoved(0, 50, 100);
  EXPECT_THAT(shownRows(), ElementsAre("c", "b", "d"));
  f.listKeyPressed(MainForm::kDeleteKey, 0);  // the dragged row itself
  f.listPointerMoved(1, 50, 100);
  EXPECT_THAT(shownRows(), ElementsAre("b", "d"));
  f.clicked(Control::ClearList);
  f.listPointerMoved(0, 50, 100);
  EXPECT_THAT(shownRows(), IsEmpty());
}

class SamplesTest : public FormTest {
 protected:
  void makeSamples(const fs::path& folder) {
    WriteBytes(folder / "b.vcf", "FN:b\n");
    WriteBytes(folder / "A.vcf", "FN:a\n");
    fs::create_directories(folder / "nested");
  }
  static std::string Question() {
    return "question: Would you like this software to open the folder where these sample files are stored "
           "(so "
           "that you can view them before working with them)?";
  }
};

TEST_F(SamplesTest, LoadsEverySampleOnceAndAsksEachTime) {
  makeSamples(programFolder / "Samples");
  MainForm& f = open();
  const Text samples = PathText(programFolder / "Samples");
  const Text a = samples + Separator() + u"A.vcf";
  const Text b = samples + Separator() + u"b.vcf";
  f.clicked(Control::LoadSamples);
  EXPECT_THAT(f.rows(), ::testing::UnorderedElementsAre(a, b));
  dialogs.yesNoAnswers = {true};
  f.clicked(Control::LoadSamples);
  EXPECT_EQ(f.rows().size(), 2u);
  EXPECT_THAT(dialogs.asked, ElementsAre(Question(), Question(), "open: " + ToUtf8(samples)));

  // A removed sample comes back at the end; a row of exactly a sample's text is that
  // sample; the same file written otherwise is another row.
  f.clicked(Control::ClearList);
  const Text doubled = samples + Separator() + Separator() + u"b.vcf";
  f.filesDropped({b, doubled});
  f.clicked(Control::LoadSamples);
  EXPECT_THAT(f.rows(), ElementsAre(b, doubled, a));
  EXPECT_EQ(view.rows, f.rows());
}

TEST_F(SamplesTest, WithoutSamplesNothingIsAddedAndTheQuestionStillComes) {
  MainForm& f = open();
  dialogs.yesNoAnswers = {true};
  f.clicked(Control::LoadSamples);
  EXPECT_THAT(f.rows(), IsEmpty());
  EXPECT_EQ(dialogs.asked.size(), 2u);
  EXPECT_THAT(dialogs.errors, IsEmpty());
}

TEST_F(SamplesTest, AnInstalledProgramFindsTheInstalledSamples) {
  SKIP_ON_WINDOWS("a program on Windows keeps its samples beside it");
  programFolder = dir / "prefix" / "bin";
  fs::create_directories(programFolder);
  const fs::path installed = dir / "prefix" / "share" / "brevant" / "Samples";
  WriteBytes(installed / "A.vcf", "FN:a\n");
  MainForm& f = open();
  dialogs.yesNoAnswers = {true};
  f.clicked(Control::LoadSamples);
  ASSERT_EQ(f.rows().size(), 1u);
  EXPECT_TRUE(fs::equivalent(fs::path(f.rows()[0]), installed / "A.vcf"));
  EXPECT_TRUE(fs::equivalent(fs::path(dialogs.openedFolders.at(0)), installed));
}

}  // namespace
}  // namespace brevant::test
