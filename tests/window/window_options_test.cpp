// Start-up, the option handlers and the host's view of the options.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QFocusEvent>
#include <QHeaderView>
#include <QStandardPaths>
#include <QTest>

#include "support/qt/qt_text.h"
#include "support/text/utf8.h"
#include "window/window_fixture.h"

namespace brevant::test {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// A home folder of the test's own for as long as it lives, so that the
// desktop and Documents folders are the test's too.
class ScopedHome {
 public:
  explicit ScopedHome(const std::filesystem::path& home) : saved_(qgetenv("HOME")) {
    std::filesystem::create_directories(home);
    qputenv("HOME", QByteArray::fromStdString(home.string()));
  }
  ~ScopedHome() { qputenv("HOME", saved_); }

 private:
  QByteArray saved_;
};

TEST_F(WindowTest, FirstStartShowsTheDefaultsAndStoresOnlyTheDesktopFolder) {
  const ScopedHome home(dir / "home");
  std::filesystem::create_directories(dir / "home" / "Desktop");
  const std::string desktop = (dir / "home" / "Desktop").string() + "/";
  QtMainWindow& w = open();
  EXPECT_TRUE(w.optionButton(Control::AllInOneDocument)->isChecked());
  EXPECT_FALSE(w.optionButton(Control::DocumentPerInput)->isChecked());
  EXPECT_TRUE(w.optionButton(Control::SaveToChosenFolder)->isChecked());
  EXPECT_FALSE(w.optionButton(Control::SaveBesideInput)->isChecked());
  EXPECT_FALSE(w.checkBox(Control::RowPerContact)->isChecked());
  EXPECT_EQ(w.textBox(Control::BorderWidth)->text(), "1");
  EXPECT_EQ(w.form().tableTextColour(), 0x000000);
  EXPECT_EQ(w.form().tableBackgroundColour(), 0xFFFFFF);
  EXPECT_EQ(w.swatch(Control::TextColourSwatch)->palette().color(QPalette::Window), QColor(Qt::black));
  EXPECT_EQ(w.swatch(Control::BackgroundColourSwatch)->palette().color(QPalette::Window), QColor(Qt::white));
  EXPECT_EQ(w.textBox(Control::OutputFolder)->text().toStdString(), desktop);
  EXPECT_TRUE(w.frame(Control::OutputFolderFrame)->isEnabled());
  EXPECT_EQ(w.progressBar()->caption(), "Progress Bar");
  EXPECT_EQ(w.progressBar()->position(), 0);
  EXPECT_EQ(w.inputList()->model()->headerData(0, Qt::Horizontal).toString(), " VCF File(s)");
  EXPECT_EQ(w.inputList()->header()->sectionSize(0), 480);
  EXPECT_EQ(w.windowTitle(), "Brevant");
  EXPECT_EQ(QApplication::applicationDisplayName(), "Brevant");
  EXPECT_THAT(dialogs.asked, IsEmpty());

  EXPECT_EQ(stored("Text1"), desktop);
  for (const char* untouched : {"Border Width", "Option1", "Option2", "Option3", "Option4", "Text Color",
                                "Background Color", "LastFolderDot", "OneRowPerContact"}) {
    EXPECT_EQ(stored(untouched), "<absent>") << untouched;
  }
}

TEST_F(WindowTest, WithoutADesktopTheFirstRunGoesToDocumentsOrHome) {
  const std::filesystem::path homeFolder = dir / "home";
  const ScopedHome home(homeFolder);
  fs::create_directories(dir / "in");
  WriteBytes(dir / "in" / "a.vcf", "BEGIN:VCARD\nFN:Ann\nEND:VCARD\n");
  for (const bool withDocuments : {true, false}) {
    SCOPED_TRACE(withDocuments);
    if (withDocuments) fs::create_directories(homeFolder / "Documents");
    const std::filesystem::path expected = withDocuments ? homeFolder / "Documents" : homeFolder;
    settings.emplace(settingsFile() + (withDocuments ? "1" : "2"));  // a first start both times
    QtMainWindow& w = open();
    EXPECT_EQ(w.textBox(Control::OutputFolder)->text().toStdString(), expected.string() + "/");
    w.form().filesDropped({PathText(dir / "in" / "a.vcf")});
    dialogs.asked.clear();
    w.button(Control::StartConverting)->click();
    EXPECT_THAT(dialogs.asked, ElementsAre("message: Done."));
    EXPECT_TRUE(fs::exists(expected / "output.xml"));
    fs::remove_all(homeFolder / "Documents");
  }
}

TEST_F(WindowTest, StoredOptionsComeBackAsTheyWereLeft) {
  seed("Option1", "False");
  seed("Option2", "True");
  seed("Option3", "False");
  seed("Option4", "True");
  seed("Border Width", " 3 ");
  seed("Text Color", "255");
  seed("Background Color", "-16777216");  // signed, as stored
  seed("Text1", "/srv/out/");
  seed("OneRowPerContact", "True");
  QtMainWindow& w = open();
  EXPECT_TRUE(w.optionButton(Control::DocumentPerInput)->isChecked());
  EXPECT_FALSE(w.optionButton(Control::AllInOneDocument)->isChecked());
  EXPECT_TRUE(w.optionButton(Control::SaveBesideInput)->isChecked());
  EXPECT_FALSE(w.optionButton(Control::SaveToChosenFolder)->isChecked());
  EXPECT_FALSE(w.frame(Control::OutputFolderFrame)->isEnabled());
  EXPECT_FALSE(w.textBox(Control::OutputFolder)->isEnabled());
  EXPECT_FALSE(w.button(Control::ChooseOutputFolder)->isEnabled());
  EXPECT_EQ(w.textBox(Control::BorderWidth)->text(), " 3 ");
  EXPECT_EQ(w.form().tableTextColour(), 255);
  EXPECT_EQ(w.swatch(Control::TextColourSwatch)->palette().color(QPalette::Window), QColor(Qt::red));
  EXPECT_EQ(w.form().tableBackgroundColour(), -16777216);
  EXPECT_EQ(w.textBox(Control::OutputFolder)->text(), "/srv/out/");
  EXPECT_TRUE(w.checkBox(Control::RowPerContact)->isChecked());
  EXPECT_TRUE(w.form().oneRowPerContact());
  EXPECT_THAT(dialogs.asked, IsEmpty());
}

// Values longer than a line edit holds by default come back whole, and
// starting up leaves them as they were stored.
TEST_F(WindowTest, LongTextsAreRestoredWholeAndNotStoredAgain) {
  const QString folder = "/srv/" + QString(40000, u'f') + "/";
  const QString border = QString(33000, u'7');
  seed("Text1", folder);
  seed("Border Width", border);
  QtMainWindow& w = open();
  EXPECT_EQ(w.textBox(Control::OutputFolder)->text(), folder);
  EXPECT_EQ(w.textBox(Control::BorderWidth)->text(), border);
  EXPECT_EQ(w.form().chosenFolder(), folder.toStdU16String());
  EXPECT_EQ(stored("Text1"), folder.toStdString());
  EXPECT_EQ(stored("Border Width"), border.toStdString());
  QTest::keyClick(w.textBox(Control::BorderWidth), Qt::Key_End);
  QTest::keyClick(w.textBox(Control::BorderWidth), '8');
  EXPECT_EQ(stored("Border Width"), (border + "8").toStdString());
}

TEST_F(WindowTest, FlagsReadAsWordsOrNumbers) {
  struct Case {
    const char* option1;
    const char* option2;
    bool oneChecked;
    bool twoChecked;
  };
  for (const Case& c : {Case{"true", "FALSE", true, false}, Case{"0", "-1", false, true},
                        Case{" 0.0 ", "2.5", false, true}, Case{"False", "False", false, false}}) {
    seed("Option1", c.option1);
    seed("Option2", c.option2);
    QtMainWindow& w = open();
    EXPECT_EQ(w.optionButton(Control::AllInOneDocument)->isChecked(), c.oneChecked) << c.option1;
    EXPECT_EQ(w.optionButton(Control::DocumentPerInput)->isChecked(), c.twoChecked) << c.option2;
    // Neither checked: the run makes one document, as the group's first button says.
    EXPECT_EQ(w.form().documentMode(), c.twoChecked ? DocumentMode::PerInput : DocumentMode::OneDocument);
  }
  EXPECT_THAT(dialogs.asked, IsEmpty());
}

TEST_F(WindowTest, OptionClicksStoreBothKeysOfTheirGroup) {
  QtMainWindow& w = open();
  w.optionButton(Control::DocumentPerInput)->click();
  EXPECT_EQ(stored("Option1"), "False");
  EXPECT_EQ(stored("Option2"), "True");
  w.optionButton(Control::AllInOneDocument)->click();
  EXPECT_EQ(stored("Option1"), "True");
  EXPECT_EQ(stored("Option2"), "False");

  w.optionButton(Control::SaveBesideInput)->click();
  EXPECT_EQ(stored("Option3"), "False");
  EXPECT_EQ(stored("Option4"), "True");
  EXPECT_FALSE(w.frame(Control::OutputFolderFrame)->isEnabled());
  w.optionButton(Control::SaveToChosenFolder)->click();
  EXPECT_EQ(stored("Option3"), "True");
  EXPECT_EQ(stored("Option4"), "False");
  EXPECT_TRUE(w.frame(Control::OutputFolderFrame)->isEnabled());

  w.checkBox(Control::RowPerContact)->click();
  EXPECT_EQ(stored("OneRowPerContact"), "True");
  w.checkBox(Control::RowPerContact)->click();
  EXPECT_EQ(stored("OneRowPerContact"), "False");
}

TEST_F(WindowTest, EveryKeystrokeInTheTwoTextsIsStored) {
  QtMainWindow& w = open();
  w.textBox(Control::OutputFolder)->clear();
  QTest::keyClicks(w.textBox(Control::OutputFolder), "/o");
  EXPECT_EQ(stored("Text1"), "/o");
  QTest::keyClick(w.textBox(Control::OutputFolder), 'u');
  EXPECT_EQ(stored("Text1"), "/ou");

  w.textBox(Control::BorderWidth)->selectAll();
  QTest::keyClicks(w.textBox(Control::BorderWidth), "2");
  EXPECT_EQ(stored("Border Width"), "2");
  QTest::keyClick(w.textBox(Control::BorderWidth), 'x');  // no check while typing
  EXPECT_EQ(stored("Border Width"), "2x");
  EXPECT_THAT(dialogs.asked, IsEmpty());
}

class BorderWidthCheck : public WindowTest {
 protected:
  QtMainWindow& openFocused() {
    QtMainWindow& w = open();
    w.show();
    QApplication::setActiveWindow(&w);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&w));
    w.textBox(Control::BorderWidth)->setFocus();
    return w;
  }
};

TEST_F(BorderWidthCheck, LeavingWithANonNumberAsksAndPutsTheFocusBack) {
  QtMainWindow& w = openFocused();
  // A real box takes the focus into itself while it shows: that is no leaving.
  dialogs.whileMessageShows = [&w] {
    QFocusEvent intoTheBox(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(w.textBox(Control::BorderWidth), &intoTheBox);
  };
  for (const char* entry : {"a", "", "1.2.3", "e5", "--1"}) {
    dialogs.asked.clear();
    w.textBox(Control::BorderWidth)->setText(entry);
    w.textBox(Control::OutputFolder)->setFocus();
    EXPECT_THAT(dialogs.asked, ElementsAre("message: Must be a numeric entry.")) << entry;
    EXPECT_EQ(QApplication::focusWidget(), w.textBox(Control::BorderWidth)) << entry;
    EXPECT_EQ(w.textBox(Control::BorderWidth)->text(), entry);
    EXPECT_EQ(stored("Border Width"), entry);
  }
  for (const char* entry : {"3", " -2 ", "+1.5", ".5", "7.", "1e3", "2.5E-2"}) {
    dialogs.asked.clear();
    w.textBox(Control::BorderWidth)->setFocus();
    w.textBox(Control::BorderWidth)->setText(entry);
    w.textBox(Control::OutputFolder)->setFocus();
    EXPECT_THAT(dialogs.asked, IsEmpty()) << entry;
    EXPECT_EQ(QApplication::focusWidget(), w.textBox(Control::OutputFolder)) << entry;
  }
}

TEST_F(WindowTest, BrowseForTheOutputFolder) {
  seed("LastFolderDot", "/srv");
  QtMainWindow& w = open();
  dialogs.folderAnswers = {u"/srv/data", u"/", u""};
  w.button(Control::ChooseOutputFolder)->click();
  EXPECT_EQ(w.textBox(Control::OutputFolder)->text(), "/srv/data/");
  EXPECT_EQ(stored("Text1"), "/srv/data/");
  EXPECT_EQ(stored("LastFolderDot"), "/srv/data");
  w.button(Control::ChooseOutputFolder)->click();  // the root keeps its one separator
  EXPECT_EQ(w.textBox(Control::OutputFolder)->text(), "/");
  EXPECT_EQ(stored("LastFolderDot"), "/");
  w.button(Control::ChooseOutputFolder)->click();  // cancelled: nothing changes
  EXPECT_EQ(w.textBox(Control::OutputFolder)->text(), "/");
  EXPECT_EQ(stored("LastFolderDot"), "/");
  EXPECT_THAT(dialogs.asked,
              ElementsAre("folder: Please select folder: [/srv]", "folder: Please select folder: [/srv/data]",
                          "folder: Please select folder: [/]"));
}

TEST_F(WindowTest, PointerFeedbackNeverReplacesTheBusyPointer) {
  QtMainWindow& w = open();
  movePointerOver(w.button(Control::StartConverting));
  EXPECT_EQ(w.form().pointer(), Pointer::Hand);
  EXPECT_EQ(w.cursor().shape(), Qt::PointingHandCursor);
  movePointerOver(w.frame(Control::HtmlOptions));
  EXPECT_EQ(w.form().pointer(), Pointer::Arrow);
  movePointerOver(w.button(Control::ChooseOutputFolder));
  movePointerOver(&w);
  EXPECT_EQ(w.form().pointer(), Pointer::Arrow);

  w.form().setBusy(true);
  for (QWidget* over : std::initializer_list<QWidget*>{
           w.button(Control::AddFiles), w.button(Control::ChooseTextColour), w.frame(Control::ConvertOptions),
           w.frame(Control::OutputFolderFrame), &w}) {
    movePointerOver(over);
    EXPECT_EQ(w.form().pointer(), Pointer::Busy) << over->objectName().toStdString();
    EXPECT_EQ(w.cursor().shape(), Qt::WaitCursor);
  }
  w.form().setBusy(false);
  movePointerOver(w.button(Control::AddFiles));
  EXPECT_EQ(w.form().pointer(), Pointer::Hand);
}

TEST_F(WindowTest, TheHandPointerComesFromTheProgramFolderWhenThere) {
  // Any picture file will do as the pointer file.
  QImage picture(16, 16, QImage::Format_ARGB32);
  picture.fill(Qt::red);
  ASSERT_TRUE(picture.save(QString::fromStdString((programFolder / "HAND-M.CUR").string()), "PNG"));
  QtMainWindow& w = open();
  movePointerOver(w.button(Control::AddFiles));
  EXPECT_EQ(w.cursor().shape(), Qt::BitmapCursor);
  EXPECT_THAT(dialogs.asked, IsEmpty());
}

TEST_F(WindowTest, TheHostReadsTheControlsAtTheMomentItAsks) {
  QtMainWindow& w = open();
  Host& host = w.form();
  EXPECT_EQ(host.documentMode(), DocumentMode::OneDocument);
  w.optionButton(Control::DocumentPerInput)->click();
  EXPECT_EQ(host.documentMode(), DocumentMode::PerInput);
  EXPECT_EQ(host.destination(), Destination::ChosenFolder);
  w.optionButton(Control::SaveBesideInput)->click();
  EXPECT_EQ(host.destination(), Destination::BesideInput);
  w.textBox(Control::OutputFolder)->setText("/elsewhere/");
  EXPECT_EQ(host.chosenFolder(), u"/elsewhere/");
  w.textBox(Control::BorderWidth)->setText("4");
  EXPECT_EQ(host.borderWidth(), u"4");
  dialogs.colourAnswers = {0xABCDEF};
  w.button(Control::ChooseBackgroundColour)->click();
  EXPECT_EQ(host.tableBackgroundColour(), 0xABCDEF);
  w.checkBox(Control::RowPerContact)->click();
  EXPECT_TRUE(host.oneRowPerContact());

  host.setProgressPosition(100.0 / 3);
  host.setProgressCaption(u"Processing: a.vcf");
  EXPECT_DOUBLE_EQ(w.progressBar()->position(), 100.0 / 3);
  host.setProgressPosition(200.0 / 3);
  EXPECT_DOUBLE_EQ(w.progressBar()->position(), 200.0 / 3);
  EXPECT_EQ(w.progressBar()->caption(), "Processing: a.vcf");
}

}  // namespace
}  // namespace brevant::test
