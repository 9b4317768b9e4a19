// "Start Converting" in the window: refusals, both modes against brevant-convert,
// changes while the run yields, a second click, and closing the window meanwhile.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <map>

#include "support/text/utf8.h"
#include "test_support/run_files.h"
#include "test_support/temporary_files.h"
#include "window/window_fixture.h"

namespace brevant::test {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class RunTest : public WindowTest {
 protected:
  fs::path out = dir / "out";

  QtMainWindow& openWithRows(const std::vector<fs::path>& inputs) {
    QtMainWindow& w = open();
    std::vector<Text> rows;
    for (const fs::path& input : inputs) rows.push_back(PathText(input));
    dialogs.fileAnswers = {rows};
    w.button(Control::AddFiles)->click();
    dialogs.asked.clear();
    return w;
  }

  std::vector<fs::path> samples() const {
    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(BREVANT_SAMPLES_PATH))
      if (entry.path().extension() == ".vcf") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
  }
};

// The window's documents are byte for byte those of brevant-convert with the
// same options, in both modes and both ways of reading, with and without the CSV files and workbooks.
TEST_F(RunTest, EveryModeWritesWhatTheCommandLineToolWrites) {
  const std::vector<fs::path> inputs = samples();
  ASSERT_GE(inputs.size(), 3u);
  std::string files;
  for (const fs::path& input : inputs) files += " '" + input.string() + "'";
  for (const bool perContact : {false, true}) {
    for (const bool each : {true, false}) {
      const bool csv = each != perContact;
      const bool xlsx = !csv || perContact;
      const std::string name = std::string(each ? "each" : "single") + (perContact ? "-per-contact" : "");
      SCOPED_TRACE(name);
      const fs::path byWindow = dir / ("window-" + name);
      const fs::path byTool = dir / ("tool-" + name);
      fs::create_directories(byWindow);
      fs::create_directories(byTool);
      QtMainWindow& w = openWithRows(inputs);
      (each ? w.optionButton(Control::DocumentPerInput) : w.optionButton(Control::AllInOneDocument))->click();
      if (w.checkBox(Control::RowPerContact)->isChecked() != perContact)
        w.checkBox(Control::RowPerContact)->click();
      if (w.checkBox(Control::AlsoSaveCsv)->isChecked() != csv) w.checkBox(Control::AlsoSaveCsv)->click();
      if (w.checkBox(Control::AlsoSaveSpreadsheet)->isChecked() != xlsx)
        w.checkBox(Control::AlsoSaveSpreadsheet)->click();
      w.textBox(Control::OutputFolder)->setText(QString::fromStdString(byWindow.string()));
      w.textBox(Control::BorderWidth)->setText("2");
      dialogs.colourAnswers = {0x336699, 0xEEDDCC};
      w.button(Control::ChooseTextColour)->click();
      w.button(Control::ChooseBackgroundColour)->click();
      dialogs.asked.clear();
      w.button(Control::StartConverting)->click();
      // Two samples hold several contacts (one of them in UTF-16): one row per file puts each
      // file's contacts in one row, and the box says so.
      EXPECT_THAT(
          dialogs.asked,
          ElementsAre(perContact ? std::string("message: Done.")
                                 : "message: Done.\r\n\r\n2 of the " + std::to_string(inputs.size()) +
                                       " files hold several contacts each, and each file became one row. "
                                       "Tick \"One row per contact\" to give every contact its own row."));
      EXPECT_EQ(w.progressBar()->position(), 0);
      EXPECT_EQ(w.progressBar()->caption(), "Progress Bar");
      EXPECT_EQ(w.form().pointer(), Pointer::Arrow);

      const std::string command = std::string(BREVANT_CLI_PATH) + " -q --mode " + (each ? "each" : "single") +
                                  (perContact ? " --per-contact" : "") + (csv ? " --csv" : "") +
                                  (xlsx ? " --xlsx" : "") + " --output-dir '" + byTool.string() +
                                  "' --border 2 --text-color " + std::to_string(0x336699) +
                                  " --background-color " + std::to_string(0xEEDDCC) + files;
      ASSERT_EQ(std::system(command.c_str()), 0);
      const auto written = FilesIn(byWindow);
      EXPECT_EQ(written.size(), (each ? inputs.size() : 1u) * (1 + csv + xlsx));
      EXPECT_EQ(written, FilesIn(byTool));
    }
  }
}

class CloseDuringRun : public RunTest {
 protected:
  // Closes the window at the first turn of the event loop in which `writing`
  // says the run is writing a document (documents are written to unnamed files,
  // so the bar tells, not the folder).
  bool closeWhen(QtMainWindow& w, std::function<bool(const ProgressDisplay&)> writing) {
    bool closed = false;
    auto* watch = new QTimer(&w);
    QObject::connect(watch, &QTimer::timeout, &w, [&] {
      if (!closed && writing(*w.progressBar())) {
        closed = true;
        w.close();
      }
    });
    watch->start(0);
    w.button(Control::StartConverting)->click();
    watch->stop();
    return closed;
  }
};

TEST_F(CloseDuringRun, TheOneDocumentStaysAsItWasAndNoTemporaryFileIsLeft) {
  std::vector<fs::path> inputs;
  const std::string contact = ContactWithEmails(2000);
  for (int i = 0; i < 150; ++i) {
    inputs.push_back(dir / "in" / ("c" + std::to_string(i) + ".vcf"));
    WriteBytes(inputs.back(), contact);
  }
  fs::create_directories(out);
  WriteBytes(out / "output.xml", "earlier document");
  QtMainWindow& w = openWithRows(inputs);
  w.show();
  w.textBox(Control::OutputFolder)->setText(QString::fromStdString(out.string()));
  // The second sweep, which writes the document, names each file on the bar.
  ASSERT_TRUE(
      closeWhen(w, [](const ProgressDisplay& bar) { return bar.caption().startsWith("Processing: "); }));
  EXPECT_FALSE(w.isVisible());
  EXPECT_THAT(dialogs.asked, IsEmpty());  // no "Done." after the close
  EXPECT_EQ(ReadBytes(out / "output.xml"), "earlier document");
  EXPECT_THAT(TemporaryFilesIn(out), IsEmpty());
}

// Destroyed by another program in the middle of a run, the window ends the run
// as a close does.
TEST_F(CloseDuringRun, AWindowTakenAwayEndsTheRunAsACloseDoes) {
  WriteBytes(dir / "a.vcf", ContactWithEmails(2000));
  fs::create_directories(out);
  WriteBytes(out / "output.xml", "earlier document");
  QtMainWindow& w = openWithRows({dir / "a.vcf"});
  w.show();
  w.textBox(Control::OutputFolder)->setText(QString::fromStdString(out.string()));
  bool gone = false;
  auto* watch = new QTimer(&w);
  QObject::connect(watch, &QTimer::timeout, &w, [&] {
    if (!gone && w.progressBar()->position() > 0) {
      gone = true;
      w.windowGone();
    }
  });
  watch->start(0);
  w.button(Control::StartConverting)->click();
  EXPECT_TRUE(gone);
  EXPECT_THAT(dialogs.asked, IsEmpty());
  EXPECT_EQ(FilesIn(out), (std::map<std::string, std::string>{{"output.xml", "earlier document"}}));
}

}  // namespace
}  // namespace brevant::test
