// Start-up, the option handlers, pointer feedback and the host's view of the options.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "form/form_fixture.h"
#include "support/utf8.h"

namespace brevant::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST_F(FormTest, FirstStartShowsTheDefaultsAndStoresOnlyTheDefaultFolder) {
  Form1& f = open();
  EXPECT_EQ(view.checked, (std::map<Control, bool>{{Control::Option1, true},
                                                   {Control::Option2, false},
                                                   {Control::Check1, false},
                                                   {Control::Check2, false},
                                                   {Control::Option3, true},
                                                   {Control::Option4, false}}));
  EXPECT_EQ(view.texts[Control::Text2], u"1");
  EXPECT_EQ(view.texts[Control::Text1], desktop);
  EXPECT_EQ(view.colours[Control::Picture1], 0x000000);
  EXPECT_EQ(view.colours[Control::Picture2], 0xFFFFFF);
  EXPECT_TRUE(view.enabled[Control::Frame6]);
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
        {u"SaveCsv", u"True"}},
       {{Option1, false}, {Option2, true}, {Check1, true}, {Check2, true}, {Option3, false}, {Option4, true}},
       u"3x",
       255,
       -16777216,
       u"/srv/out/",
       {},
       {}},
      // Words in any case and numbers; two False leave both unchosen.
      {{{u"Option1", u"true"}, {u"Option2", u"FALSE"}, {u"Option3", u" 0.0 "}, {u"Option4", u"0"}},
       {{Option1, true},
        {Option2, false},
        {Check1, false},
        {Check2, false},
        {Option3, false},
        {Option4, false}},
       u"1",
       0,
       0xFFFFFF,
       desktop,
       {},
       {{u"Text1", desktop}}},
      {{{u"Option1", u"0"}, {u"Option2", u"-1"}, {u"Option3", u"2.5"}},
       {{Option1, false},
        {Option2, true},
        {Check1, false},
        {Check2, false},
        {Option3, true},
        {Option4, false}},
       u"1",
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
        {u"SaveCsv", u"sometimes"}},
       {{Option1, true},
        {Option2, false},
        {Check1, true},
        {Check2, false},
        {Option3, true},
        {Option4, false}},
       u"1",
       0,
       255,
       desktop,
       {"error: Type mismatch\r\nin Tarnwick2021/08/31.Form1.Form_Load at line 112",
        "error: Type mismatch\r\nin Tarnwick2021/08/31.Form1.Form_Load at line 116",
        "error: Type mismatch\r\nin Tarnwick2021/08/31.Form1.Form_Load at line 128",
        "error: Type mismatch\r\nin Tarnwick2021/08/31.Form1.Form_Load at line 134"},
       {{u"Text1", desktop}}},
  };
  for (const StoredCase& c : cases) {
    SCOPED_TRACE(c.stored.size());
    settings.values = c.stored;
    dialogs.asked.clear();
    auto& f = open();
    EXPECT_EQ(view.checked, c.checked);
    for (const auto& [option, on] : c.checked) EXPECT_EQ(f.checked(option), on);
    EXPECT_EQ(f.convertAllToOne(), c.checked.at(Option1));
    EXPECT_EQ(f.convertEach(), c.checked.at(Option2));
    EXPECT_EQ(f.oneRowPerContact(), c.checked.at(Check1));
    EXPECT_EQ(f.saveCsv(), c.checked.at(Check2));
    EXPECT_EQ(f.saveToChosenFolder(), c.checked.at(Option3));
    EXPECT_EQ(f.saveBesideInput(), c.checked.at(Option4));
    EXPECT_EQ(view.enabled[Frame6], c.checked.at(Option3));
    EXPECT_EQ(f.borderWidth(), c.borderWidth);
    EXPECT_EQ(view.texts[Text2], c.borderWidth);
    EXPECT_EQ(f.tableTextColour(), c.textColour);
    EXPECT_EQ(view.colours[Picture1], c.textColour);
    EXPECT_EQ(f.tableBackgroundColour(), c.backgroundColour);
    EXPECT_EQ(view.colours[Picture2], c.backgroundColour);
    EXPECT_EQ(f.chosenFolder(), c.folder);
    EXPECT_EQ(view.texts[Text1], c.folder);
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
    form->Form_Load();
    EXPECT_THAT(
        dialogs.asked,
        ElementsAre(
            std::string("error: Permission denied\r\nin Tarnwick2021/08/31.Form1.Form_Load at line ") +
            line));
    EXPECT_EQ(view.texts[Control::Text1], desktop);
    EXPECT_EQ(view.columnWidth, 7200);
  }
}

TEST_F(FormTest, OptionClicksStoreBothKeysOfTheirGroupAndTextsEveryChange) {
  Form1& f = open();
  struct Click {
    void (Form1::*handler)();
    const char16_t* key1;
    const char* value1;
    const char16_t* key2;
    const char* value2;
  };
  const Click clicks[] = {{&Form1::Option2_Click, u"Option1", "False", u"Option2", "True"},
                          {&Form1::Option1_Click, u"Option1", "True", u"Option2", "False"},
                          {&Form1::Option4_Click, u"Option3", "False", u"Option4", "True"},
                          {&Form1::Option3_Click, u"Option3", "True", u"Option4", "False"}};
  for (const Click& click : clicks) {
    (f.*click.handler)();
    EXPECT_EQ(stored(click.key1), click.value1);
    EXPECT_EQ(stored(click.key2), click.value2);
    EXPECT_EQ(view.checked[Control::Option1], f.convertAllToOne());
    EXPECT_EQ(view.checked[Control::Option2], f.convertEach());
    EXPECT_EQ(view.checked[Control::Option3], f.saveToChosenFolder());
    EXPECT_EQ(view.checked[Control::Option4], f.saveBesideInput());
    EXPECT_EQ(view.enabled[Control::Frame6], f.saveToChosenFolder());
  }
  EXPECT_FALSE(f.convertEach());
  f.Check1_Click(true);
  EXPECT_EQ(stored(u"OneRowPerContact"), "True");
  EXPECT_TRUE(f.oneRowPerContact());
  f.Check1_Click(false);
  EXPECT_EQ(stored(u"OneRowPerContact"), "False");
  f.Check2_Click(true);
  EXPECT_EQ(stored(u"SaveCsv"), "True");
  EXPECT_TRUE(f.saveCsv());
  f.Check2_Click(false);
  EXPECT_EQ(stored(u"SaveCsv"), "False");
  EXPECT_FALSE(f.saveCsv());

  f.Text1_Change(u"/o");
  EXPECT_EQ(stored(u"Text1"), "/o");
  EXPECT_EQ(f.chosenFolder(), u"/o");
  f.Text2_Change(u"2x");  // no check while typing
  EXPECT_EQ(stored(u"Border Width"), "2x");
  EXPECT_EQ(f.borderWidth(), u"2x");
  EXPECT_THAT(dialogs.asked, IsEmpty());
}

TEST_F(FormTest, LeavingTheBorderWidthWithANonNumberAsksAndPutsTheFocusBack) {
  Form1& f = open();
  for (const char16_t* entry : {u"a", u"", u"1.2.3", u"e5", u"--1"}) {
    dialogs.asked.clear();
    view.calls.clear();
    f.Text2_Change(entry);
    // The box takes the focus while it shows: that is no second leaving.
    dialogs.whileMessageShows = [&f] { f.Text2_LostFocus(); };
    f.Text2_LostFocus();
    EXPECT_THAT(dialogs.asked, ElementsAre("message: Must be a numeric entry.")) << ToUtf8(entry);
    EXPECT_THAT(view.calls, ElementsAre("focus Text2"));
    EXPECT_EQ(stored(u"Border Width"), ToUtf8(entry));
  }
  for (const char16_t* entry : {u"3", u" -2 ", u"+1.5", u".5", u"7.", u"1e3", u"2.5E-2"}) {
    dialogs.asked.clear();
    f.Text2_Change(entry);
    f.Text2_LostFocus();
    EXPECT_THAT(dialogs.asked, IsEmpty()) << ToUtf8(entry);
  }
}

TEST_F(FormTest, ColourButtonsTakeTheChosenColourAndKeepItOnCancel) {
  Form1& f = open();
  dialogs.colourAnswers = {0x123456};
  f.PushButton4_Click();
  EXPECT_EQ(f.tableTextColour(), 0x123456);
  EXPECT_EQ(view.colours[Control::Picture1], 0x123456);
  EXPECT_EQ(stored(u"Text Color"), "1193046");
  f.PushButton4_Click();  // cancelled: the dialog gives its starting colour back
  EXPECT_EQ(f.tableTextColour(), 0x123456);
  dialogs.colourAnswers = {0x00FF00};
  f.PushButton6_Click();
  EXPECT_EQ(f.tableBackgroundColour(), 0x00FF00);
  EXPECT_EQ(view.colours[Control::Picture2], 0x00FF00);
  EXPECT_EQ(stored(u"Background Color"), "65280");
  EXPECT_THAT(dialogs.asked,
              ElementsAre("colour: Choose text colour [0]", "colour: Choose text colour [1193046]",
                          "colour: Choose background colour [16777215]"));
}

TEST_F(FormTest, BrowseForTheOutputFolder) {
  settings.values[u"LastFolderDot"] = u"/srv";
  Form1& f = open();
  const Text separator(1, PathText(dir / "x").at(PathText(dir.path()).size()));
  dialogs.folderAnswers = {u"/srv/data", separator, u""};
  f.PushButton9_Click();
  EXPECT_EQ(f.chosenFolder(), u"/srv/data" + separator);
  EXPECT_EQ(view.texts[Control::Text1], f.chosenFolder());
  EXPECT_EQ(settings.values[u"Text1"], f.chosenFolder());
  EXPECT_EQ(stored(u"LastFolderDot"), "/srv/data");
  f.PushButton9_Click();  // the root keeps its one separator
  EXPECT_EQ(f.chosenFolder(), separator);
  f.PushButton9_Click();  // cancelled: nothing changes
  EXPECT_EQ(f.chosenFolder(), separator);
  EXPECT_EQ(settings.values[u"LastFolderDot"], separator);
  EXPECT_THAT(dialogs.asked,
              ElementsAre("folder: Please select folder: [/srv]", "folder: Please select folder: [/srv/data]",
                          "folder: Please select folder: [" + ToUtf8(separator) + "]"));
}

TEST_F(FormTest, PointerFeedbackNeverReplacesTheBusyPointer) {
  Form1& f = open();
  f.PushButton_MouseMove();
  EXPECT_EQ(view.pointer, Pointer::Hand);
  f.Form_MouseMove();
  EXPECT_EQ(view.pointer, Pointer::Arrow);
  f.PushButton_MouseMove();
  f.ListView1_MouseMove(std::nullopt, 10, 100);
  EXPECT_EQ(view.pointer, Pointer::Arrow);

  f.setBusy(true);
  f.PushButton_MouseMove();
  f.Form_MouseMove();
  f.ListView1_MouseMove(std::nullopt, 10, 100);
  EXPECT_EQ(view.pointer, Pointer::Busy);
  EXPECT_EQ(f.pointer(), Pointer::Busy);
  f.setBusy(false);
  EXPECT_EQ(view.pointer, Pointer::Arrow);
  f.PushButton_MouseMove();
  EXPECT_EQ(view.pointer, Pointer::Hand);
}

TEST_F(FormTest, TheHostShowsProgressAndReportsErrors) {
  Form1& f = open();
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
}  // namespace brevant::testing
