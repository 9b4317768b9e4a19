// Start-up, the option handlers, pointer feedback and the host's view of the options.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine/write/output_formats.h"
#include "support/text/utf8.h"
#include "test_support/form_fixture.h"

namespace brevant::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST_F(FormTest, FirstStartShowsTheDefaultsAndStoresOnlyTheDefaultFolder) {
  MainForm& f = open();
  EXPECT_EQ(view.checked, (std::map<Control, bool>{{Control::AllInOneDocument, true},
                                                   {Control::DocumentPerInput, false},
                                                   {Control::RowPerContact, false},
                                                   {Control::AlsoSaveCsv, false},
                                                   {Control::AlsoSaveSpreadsheet, false},
                                                   {Control::SaveToChosenFolder, true},
                                                   {Control::SaveBesideInput, false}}));
  EXPECT_EQ(view.texts[Control::BorderWidth], u"1");
  EXPECT_EQ(view.texts[Control::OutputFolder], desktop);
  EXPECT_EQ(view.colours[Control::TextColourSwatch], 0x000000);
  EXPECT_EQ(view.colours[Control::BackgroundColourSwatch], 0xFFFFFF);
  EXPECT_TRUE(view.enabled[Control::OutputFolderFrame]);
  EXPECT_EQ(view.progressPosition, 0);
  EXPECT_EQ(view.progressCaption, u"Progress Bar");
  EXPECT_EQ(view.columnCaption, u" VCF File(s)");
  EXPECT_EQ(view.columnWidth, 7200);
  EXPECT_EQ(f.chosenFolder(), desktop);
  const std::string folder = ToUtf8(PathText(programFolder));
  EXPECT_THAT(view.calls, ElementsAre("skin " + folder, "caption Brevant", "icon", "title Brevant",
                                      "column  VCF File(s)", "width"));
  EXPECT_THAT(dialogs.asked, IsEmpty());
  EXPECT_EQ(settings.values, (std::map<Text, Text>{{u"Text1", desktop}}));
}

TEST_F(FormTest, PointerFilesBesideTheProgramAreLoadedWhenThere) {
  WriteBytes(programFolder / "HAND-M.CUR", "picture");
  WriteBytes(programFolder / "drag.ico", "picture");
  open();
  const std::string folder = ToUtf8(PathText(programFolder));
  const char separator = static_cast<char>(PathText(programFolder / "x").at(PathText(programFolder).size()));
  EXPECT_THAT(view.calls, ::testing::Contains("hand " + folder + separator + "HAND-M.CUR"));
  EXPECT_EQ(view.calls.back(), "drag " + folder + separator + "drag.ico");
}

struct StoredCase {
  std::map<Text, Text> stored;
  std::map<Control, bool> checked;
  Text borderWidth;
  Colour textColour;
  Colour backgroundColour;
  Text folder;
  // What start-up reports, and what it stores (a stored True chooses its option as a click does).
  std::vector<std::string> reported;
  std::map<Text, Text> storedAfter;
};

TEST_F(FormTest, StoredOptionsComeBackAndValuesThatDoNotConvertAreReported) {
  using enum Control;
  const StoredCase cases[] = {
      {{{u"Option1", u"False"},
        {u"Option2", u"True"},
        {u"Option3", u"False"},
        {u"Option4", u"True"},
        {u"Border Width", u"3x"},
        {u"Text Color", u"255"},
        {u"Background Color", u"-16777216"},
        {u"Text1", u"/srv/out/"},
        {u"OneRowPerContact", u"True"},
        {u"SaveCsv", u"True"},
        {u"SaveXlsx", u"True"}},
       {{AllInOneDocument, false},
        {DocumentPerInput, true},
        {RowPerContact, true},
        {AlsoSaveCsv, true},
        {AlsoSaveSpreadsheet, true},
        {SaveToChosenFolder, false},
        {SaveBesideInput, true}},
       u"1",  // no number: the default
       255,
       -16777216,
       u"/srv/out/",
       {},
       {}},
      // Words in any case and numbers; two False leave both unchosen. Spaces are no border width.
      {{{u"Option1", u"true"},
        {u"Option2", u"FALSE"},
        {u"Option3", u" 0.0 "},
        {u"Option4", u"0"},
        {u"Border Width", u"  "}},
       {{AllInOneDocument, true},
        {DocumentPerInput, false},
        {RowPerContact, false},
        {AlsoSaveCsv, false},
        {AlsoSaveSpreadsheet, false},
        {SaveToChosenFolder, false},
        {SaveBesideInput, false}},
       u"1",
       0,
       0xFFFFFF,
       desktop,
       {},
       {{u"Text1", desktop}}},
      {{{u"Option1", u"0"}, {u"Option2", u"-1"}, {u"Option3", u"2.5"}, {u"Border Width", u" 2 "}},
       {{AllInOneDocument, false},
        {DocumentPerInput, true},
        {RowPerContact, false},
        {AlsoSaveCsv, false},
        {AlsoSaveSpreadsheet, false},
        {SaveToChosenFolder, true},
        {SaveBesideInput, false}},
       u" 2 ",
       0,
       0xFFFFFF,
       desktop,
       {},
       {{u"Text1", desktop}, {u"Option1", u"False"}, {u"Option2", u"True"}}},
      // A value that does not convert leaves its control as it was; the next ones are restored.
      {{{u"Option1", u"maybe"},
        {u"Text Color", u"#ff0000"},
        {u"Background Color", u"255"},
        {u"Option4", u"yes"},
        {u"OneRowPerContact", u"1e3"},
        {u"SaveCsv", u"sometimes"},
        {u"SaveXlsx", u"perhaps"}},
       {{AllInOneDocument, true},
        {DocumentPerInput, false},
        {RowPerContact, true},
        {AlsoSaveCsv, false},
        {AlsoSaveSpreadsheet, false},
        {SaveToChosenFolder, true},
        {SaveBesideInput, false}},
       u"1",
       0,
       255,
       desktop,
       {"error: Type mismatch\r\nin Tarnwick2021/08/31.Form1.Form_Load at line 112",
        "error: Type mismatch\r\nin Tarnwick2021/08/31.Form1.Form_Load at line 116",
        "error: Type mismatch\r\nin Tarnwick2021/08/31.Form1.Form_Load at line 128",
        "error: Type mismatch\r\nin Tarnwick2021/08/31.Form1.Form_Load at line 134",
        "error: Type mismatch\r\nin Tarnwick2021/08/31.Form1.Form_Load at line 136"},
       {{u"Text1", desktop}}},
  };
  for (const StoredCase& c : cases) {
    SCOPED_TRACE(c.stored.size());
    settings.values = c.stored;
    dialogs.asked.clear();
    auto& f = open();
    EXPECT_EQ(view.checked, c.checked);
    for (const auto& [option, on] : c.checked) EXPECT_EQ(f.checked(option), on);
    // A group of two unchecked buttons runs as its first button says.
    EXPECT_EQ(f.documentMode(),
              c.checked.at(DocumentPerInput) ? DocumentMode::PerInput : DocumentMode::OneDocument);
    EXPECT_EQ(f.oneRowPerContact(), c.checked.at(RowPerContact));
    EXPECT_EQ(f.savesBeside(OutputFormat::Csv), c.checked.at(AlsoSaveCsv));
    EXPECT_EQ(f.savesBeside(OutputFormat::Xlsx), c.checked.at(AlsoSaveSpreadsheet));
    EXPECT_EQ(f.destination(),
              c.checked.at(SaveBesideInput) ? Destination::BesideInput : Destination::ChosenFolder);
    EXPECT_EQ(view.enabled[OutputFolderFrame], c.checked.at(SaveToChosenFolder));
    EXPECT_EQ(f.borderWidth(), c.borderWidth);
    EXPECT_EQ(view.texts[BorderWidth], c.borderWidth);
    EXPECT_EQ(f.tableTextColour(), c.textColour);
    EXPECT_EQ(view.colours[TextColourSwatch], c.textColour);
    EXPECT_EQ(f.tableBackgroundColour(), c.backgroundColour);
    EXPECT_EQ(view.colours[BackgroundColourSwatch], c.backgroundColour);
    EXPECT_EQ(f.chosenFolder(), c.folder);
    EXPECT_EQ(view.texts[OutputFolder], c.folder);
    EXPECT_EQ(dialogs.asked, c.reported);
    std::map<Text, Text> expected = c.stored;
    for (const auto& [key, value] : c.storedAfter) expected[key] = value;
    EXPECT_EQ(settings.values, expected);
  }
}

TEST_F(FormTest, AFailedStartUpStepIsReportedWithItsNumberAndStartUpGoesOn) {
  const std::pair<const char*, const char*> cases[] = {
      {"skin", "100"}, {"caption", "102"}, {"title", "106"}, {"column", "120"}};
  for (const auto& [step, line] : cases) {
    SCOPED_TRACE(step);
    dialogs.asked.clear();
    view = FakeView();
    view.failing = step;
    form.emplace(view, FormSetup{settings, dialogs, PathText(programFolder), [this] { return desktop; }});
    form->load();
    EXPECT_THAT(
        dialogs.asked,
        ElementsAre(
            std::string("error: Permission denied\r\nin Tarnwick2021/08/31.Form1.Form_Load at line ") +
            line));
    EXPECT_EQ(view.texts[Control::OutputFolder], desktop);
    EXPECT_EQ(view.columnWidth, 7200);
  }
}

TEST_F(FormTest, OptionClicksStoreBothKeysOfTheirGroupAndTextsEveryChange) {
  MainForm& f = open();
  struct Click {
    Control option;
    const char16_t* key1;
    const char* value1;
    const char16_t* key2;
    const char* value2;
  };
  const Click clicks[] = {{Control::DocumentPerInput, u"Option1", "False", u"Option2", "True"},
                          {Control::AllInOneDocument, u"Option1", "True", u"Option2", "False"},
                          {Control::SaveBesideInput, u"Option3", "False", u"Option4", "True"},
                          {Control::SaveToChosenFolder, u"Option3", "True", u"Option4", "False"}};
  for (const Click& click : clicks) {
    f.toggled(click.option, true);
    EXPECT_EQ(stored(click.key1), click.value1);
    EXPECT_EQ(stored(click.key2), click.value2);
    EXPECT_EQ(view.checked[Control::AllInOneDocument], f.documentMode() == DocumentMode::OneDocument);
    EXPECT_EQ(view.checked[Control::DocumentPerInput], f.documentMode() == DocumentMode::PerInput);
    EXPECT_EQ(view.checked[Control::SaveToChosenFolder], f.destination() == Destination::ChosenFolder);
    EXPECT_EQ(view.checked[Control::SaveBesideInput], f.destination() == Destination::BesideInput);
    EXPECT_EQ(view.enabled[Control::OutputFolderFrame], f.destination() == Destination::ChosenFolder);
  }
  EXPECT_EQ(f.documentMode(), DocumentMode::OneDocument);
  f.toggled(Control::RowPerContact, true);
  EXPECT_EQ(stored(u"OneRowPerContact"), "True");
  EXPECT_TRUE(f.oneRowPerContact());
  f.toggled(Control::RowPerContact, false);
  EXPECT_EQ(stored(u"OneRowPerContact"), "False");
  f.toggled(Control::AlsoSaveCsv, true);
  EXPECT_EQ(stored(u"SaveCsv"), "True");
  EXPECT_TRUE(f.savesBeside(OutputFormat::Csv));
  f.toggled(Control::AlsoSaveCsv, false);
  EXPECT_EQ(stored(u"SaveCsv"), "False");
  EXPECT_FALSE(f.savesBeside(OutputFormat::Csv));
  f.toggled(Control::AlsoSaveSpreadsheet, true);
  EXPECT_EQ(stored(u"SaveXlsx"), "True");
  EXPECT_TRUE(f.savesBeside(OutputFormat::Xlsx));
  EXPECT_FALSE(f.savesBeside(OutputFormat::Csv));  // each box for itself
  f.toggled(Control::AlsoSaveSpreadsheet, false);
  EXPECT_EQ(stored(u"SaveXlsx"), "False");
  EXPECT_FALSE(f.savesBeside(OutputFormat::Xlsx));

  f.edited(Control::OutputFolder, u"/o");
  EXPECT_EQ(stored(u"Text1"), "/o");
  EXPECT_EQ(f.chosenFolder(), u"/o");
  f.edited(Control::BorderWidth, u"2x");  // no check while typing
  EXPECT_EQ(stored(u"Border Width"), "2x");
  EXPECT_EQ(f.borderWidth(), u"2x");
  EXPECT_THAT(dialogs.asked, IsEmpty());
}

TEST_F(FormTest, LeavingTheBorderWidthWithANonNumberAsksAndPutsTheFocusBack) {
  MainForm& f = open();
  for (const char16_t* entry : {u"a", u"", u"1.2.3", u"e5", u"--1"}) {
    dialogs.asked.clear();
    view.calls.clear();
    f.edited(Control::BorderWidth, entry);
    // The box takes the focus while it shows: that is no second leaving.
    dialogs.whileMessageShows = [&f] { f.focusLeft(Control::BorderWidth); };
    f.focusLeft(Control::BorderWidth);
    EXPECT_THAT(dialogs.asked, ElementsAre("message: Must be a numeric entry.")) << ToUtf8(entry);
    EXPECT_THAT(view.calls, ElementsAre("focus Text2"));
    EXPECT_EQ(stored(u"Border Width"), ToUtf8(entry));
  }
  for (const char16_t* entry : {u"3", u" -2 ", u"+1.5", u".5", u"7.", u"1e3", u"2.5E-2"}) {
    dialogs.asked.clear();
    f.edited(Control::BorderWidth, entry);
    f.focusLeft(Control::BorderWidth);
    EXPECT_THAT(dialogs.asked, IsEmpty()) << ToUtf8(entry);
  }
}

TEST_F(FormTest, ColourButtonsTakeTheChosenColourAndKeepItOnCancel) {
  MainForm& f = open();
  dialogs.colourAnswers = {0x123456};
  f.clicked(Control::ChooseTextColour);
  EXPECT_EQ(f.tableTextColour(), 0x123456);
  EXPECT_EQ(view.colours[Control::TextColourSwatch], 0x123456);
  EXPECT_EQ(stored(u"Text Color"), "1193046");
  f.clicked(Control::ChooseTextColour);  // cancelled: the dialog gives its starting colour back
  EXPECT_EQ(f.tableTextColour(), 0x123456);
  dialogs.colourAnswers = {0x00FF00};
  f.clicked(Control::ChooseBackgroundColour);
  EXPECT_EQ(f.tableBackgroundColour(), 0x00FF00);
  EXPECT_EQ(view.colours[Control::BackgroundColourSwatch], 0x00FF00);
  EXPECT_EQ(stored(u"Background Color"), "65280");
  EXPECT_THAT(dialogs.asked,
              ElementsAre("colour: Choose text colour [0]", "colour: Choose text colour [1193046]",
                          "colour: Choose background colour [16777215]"));
}

TEST_F(FormTest, BrowseForTheOutputFolder) {
  settings.values[u"LastFolderDot"] = u"/srv";
  MainForm& f = open();
  const Text separator(1, PathText(dir / "x").at(PathText(dir.path()).size()));
  dialogs.folderAnswers = {u"/srv/data", separator, u""};
  f.clicked(Control::ChooseOutputFolder);
  EXPECT_EQ(f.chosenFolder(), u"/srv/data" + separator);
  EXPECT_EQ(view.texts[Control::OutputFolder], f.chosenFolder());
  EXPECT_EQ(settings.values[u"Text1"], f.chosenFolder());
  EXPECT_EQ(stored(u"LastFolderDot"), "/srv/data");
  f.clicked(Control::ChooseOutputFolder);  // the root keeps its one separator
  EXPECT_EQ(f.chosenFolder(), separator);
  f.clicked(Control::ChooseOutputFolder);  // cancelled: nothing changes
  EXPECT_EQ(f.chosenFolder(), separator);
  EXPECT_EQ(settings.values[u"LastFolderDot"], separator);
  EXPECT_THAT(dialogs.asked,
              ElementsAre("folder: Please select folder: [/srv]", "folder: Please select folder: [/srv/data]",
                          "folder: Please select folder: [" + ToUtf8(separator) + "]"));
}

TEST_F(FormTest, PointerFeedbackNeverReplacesTheBusyPointer) {
  MainForm& f = open();
  f.pointerMoved(Control::StartConverting);
  EXPECT_EQ(view.pointer, Pointer::Hand);
  f.pointerMoved(Control::Window);
  EXPECT_EQ(view.pointer, Pointer::Arrow);
  f.pointerMoved(Control::StartConverting);
  f.listPointerMoved(std::nullopt, 10, 100);
  EXPECT_EQ(view.pointer, Pointer::Arrow);

  f.setBusy(true);
  f.pointerMoved(Control::StartConverting);
  f.pointerMoved(Control::Window);
  f.listPointerMoved(std::nullopt, 10, 100);
  EXPECT_EQ(view.pointer, Pointer::Busy);
  EXPECT_EQ(f.pointer(), Pointer::Busy);
  f.setBusy(false);
  EXPECT_EQ(view.pointer, Pointer::Arrow);
  f.pointerMoved(Control::StartConverting);
  EXPECT_EQ(view.pointer, Pointer::Hand);
}

TEST_F(FormTest, TheHostShowsProgressAndReportsErrors) {
  MainForm& f = open();
  Host& host = f;
  host.setProgressPosition(100.0 / 3);
  host.setProgressCaption(u"Processing: a.vcf");
  EXPECT_DOUBLE_EQ(view.progressPosition, 100.0 / 3);
  EXPECT_EQ(view.progressCaption, u"Processing: a.vcf");
  EXPECT_EQ(f.progressCaption(), u"Processing: a.vcf");
  host.reportError(
      ErrorReport{u"Disk full", u"in Tarnwick2021/08/31.modVCF.ConvertVCFToSingleHTML ", 842, true});
  EXPECT_THAT(dialogs.asked,
              ElementsAre("error: Disk full\r\nin Tarnwick2021/08/31.modVCF.ConvertVCFToSingleHTML "
                          "at line 842\r\rPlease email screenshot of this message to "
                          "support@ambervale.example"));
}

}  // namespace
}  // namespace brevant::test
