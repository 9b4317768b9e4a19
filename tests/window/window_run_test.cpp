// "Start Converting" in the window: refusals, both modes against brevant-convert,
// changes while the run yields, a second click, and closing the window meanwhile.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <map>

#include "support/utf8.h"
#include "window/window_fixture.h"

namespace brevant::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Every file of a folder by name, with its bytes.
std::map<std::string, std::string> Files(const fs::path& folder) {
  std::map<std::string, std::string> files;
  if (!fs::exists(folder)) return files;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder))
    files[entry.path().filename().string()] = ReadBytes(entry.path());
  return files;
}

std::string ContactWithEmails(int emails) {
  std::string text = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Many Mails\r\n";
  for (int i = 0; i < emails; ++i)
    text += "EMAIL;TYPE=INTERNET:user" + std::to_string(i) + "@example.com\r\n";
  return text + "END:VCARD\r\n";
}

class RunTest : public WindowTest {
 protected:
  fs::path out = dir / "out";

  Form1Window& openWithRows(const std::vector<fs::path>& inputs) {
    Form1Window& w = open();
    std::vector<Text> rows;
    for (const fs::path& input : inputs) rows.push_back(PathText(input));
    dialogs.fileAnswers = {rows};
    w.PushButton1->click();
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

TEST_F(RunTest, RefusesAnEmptyListThenAMissingFolderEveryTime) {
  Form1Window& w = open();
  w.PushButton2->click();
  w.PushButton2->click();
  dialogs.fileAnswers = {{PathText(dir / "a.vcf")}};
  w.PushButton1->click();
  w.Text1->setText(QString::fromStdString((dir / "missing").string()));
  w.PushButton2->click();
  w.Text1->setText("");
  w.PushButton2->click();
  EXPECT_THAT(dialogs.asked,
              ElementsAre("message: No files added.", "message: No files added.",
                          "files: Add File(s) - Hold Ctrl to select multiple files [VCF Files (*.vcf)]",
                          "message: Folder does not exist. Please select another folder.",
                          "message: Folder does not exist. Please select another folder."));
  EXPECT_EQ(w.form().pointer(), Pointer::Arrow);
}

// The window's documents are byte for byte those of brevant-convert with the
// same options, in both modes and both ways of reading.
TEST_F(RunTest, EveryModeWritesWhatTheCommandLineToolWrites) {
  const std::vector<fs::path> inputs = samples();
  ASSERT_GE(inputs.size(), 3u);
  std::string files;
  for (const fs::path& input : inputs) files += " '" + input.string() + "'";
  for (const bool perContact : {false, true}) {
    for (const bool each : {true, false}) {
      const std::string name = std::string(each ? "each" : "single") + (perContact ? "-per-contact" : "");
      SCOPED_TRACE(name);
      const fs::path byWindow = dir / ("window-" + name);
      const fs::path byTool = dir / ("tool-" + name);
      fs::create_directories(byWindow);
      fs::create_directories(byTool);
      Form1Window& w = openWithRows(inputs);
      (each ? w.Option2 : w.Option1)->click();
      if (w.Check1->isChecked() != perContact) w.Check1->click();
      w.Text1->setText(QString::fromStdString(byWindow.string()));
      w.Text2->setText("2");
      dialogs.colourAnswers = {0x336699, 0xEEDDCC};
      w.PushButton4->click();
      w.PushButton6->click();
      dialogs.asked.clear();
      w.PushButton2->click();
      // Two samples hold several contacts (one of them in UTF-16): one row per file puts each
      // file's contacts in one row, and the box says so.
      EXPECT_THAT(
          dialogs.asked,
          ElementsAre(perContact ? std::string("message: Done.")
                                 : "message: Done.\r\n\r\n2 of the " + std::to_string(inputs.size()) +
                                       " files hold several contacts each, and each file became one row. "
                                       "Tick \"One row per contact\" to give every contact its own row."));
      EXPECT_EQ(w.ProgressBar1->position(), 0);
      EXPECT_EQ(w.ProgressBar1->caption(), "Progress Bar");
      EXPECT_EQ(w.form().pointer(), Pointer::Arrow);

      const std::string command = std::string(BREVANT_CLI_PATH) + " -q --mode " + (each ? "each" : "single") +
                                  (perContact ? " --per-contact" : "") + " --output-dir '" + byTool.string() +
                                  "' --border 2 --text-color " + std::to_string(0x336699) +
                                  " --background-color " + std::to_string(0xEEDDCC) + files;
      ASSERT_EQ(std::system(command.c_str()), 0);
      const auto written = Files(byWindow);
      EXPECT_EQ(written.size(), each ? inputs.size() : 1u);
      EXPECT_EQ(written, Files(byTool));
    }
  }
}

TEST_F(RunTest, ShowsEachFileWithItsShareWhileTheRunYields) {
  WriteBytes(dir / "a.vcf", "FN:a\n");
  WriteBytes(dir / "b.vcf", "FN:b\n");
  WriteBytes(dir / "c.vcf", "FN:c\n");
  Form1Window& w = openWithRows({dir / "a.vcf", dir / "b.vcf", dir / "c.vcf"});
  w.Option2->click();
  w.Option4->click();
  double position = -1;
  QString caption;
  QTimer::singleShot(0, &w, [&] {
    position = w.ProgressBar1->position();
    caption = w.ProgressBar1->caption();
  });
  w.PushButton2->click();
  EXPECT_DOUBLE_EQ(position, 100.0 / 3);
  EXPECT_EQ(caption, "Processing: a.vcf");
  for (const char* document : {"a.htm", "b.htm", "c.htm"})
    EXPECT_TRUE(fs::exists(dir / document)) << document;
}

TEST_F(RunTest, ChangesWhileTheRunYieldsApplyFromTheNextReadButRowsStayAsTheyWere) {
  WriteBytes(dir / "a.vcf", "FN:a\n");
  WriteBytes(dir / "b.vcf", "FN:b\n");
  WriteBytes(dir / "late.vcf", "FN:late\n");
  Form1Window& w = openWithRows({dir / "a.vcf", dir / "b.vcf"});
  w.Option2->click();
  w.Option4->click();
  bool clickedAgain = false;
  QTimer::singleShot(0, &w, [&] {
    w.Text2->setText("7");
    dialogs.fileAnswers = {{PathText(dir / "late.vcf")}};
    w.PushButton1->click();  // adding is not held off, but this run has its rows
    w.PushButton2->click();  // a second start does nothing
    clickedAgain = true;
  });
  w.PushButton2->click();
  EXPECT_TRUE(clickedAgain);
  EXPECT_NE(ReadBytes(dir / "a.htm").find("border='7'"), std::string::npos);
  EXPECT_NE(ReadBytes(dir / "b.htm").find("border='7'"), std::string::npos);
  EXPECT_FALSE(fs::exists(dir / "late.htm"));
  EXPECT_EQ(w.form().inputPaths().size(), 3u);
  EXPECT_EQ(std::count(dialogs.asked.begin(), dialogs.asked.end(), "message: Done."), 1);
}

TEST_F(RunTest, EngineErrorsShowTheirBoxesAndTheRunGoesOn) {
  WriteBytes(dir / "a.vcf", "FN:a\n");
  WriteBytes(dir / "b.vcf", "FN:b\n");
  Form1Window& w = openWithRows({dir / "missing.vcf", dir / "a.vcf"});
  w.Option1->click();
  w.Text1->setText(QString::fromStdString(dir.path().string()));
  fs::create_directories(dir / "output.xml");  // a folder where the document should go
  w.PushButton2->click();
  ASSERT_EQ(dialogs.errors.size(), 1u);
  EXPECT_EQ(dialogs.errors[0].tag, u"in Tarnwick2021/08/31.modVCF.ConvertVCFToSingleHTML ");
  EXPECT_EQ(dialogs.asked.back(), "message: Done.");
}

class CloseDuringRun : public RunTest {
 protected:
  // Closes the window at the first turn of the event loop in which `writing`
  // says the run is writing a document (documents are written to unnamed files,
  // so the bar tells, not the folder).
  bool closeWhen(Form1Window& w, std::function<bool(const ProgressDisplay&)> writing) {
    bool closed = false;
    auto* watch = new QTimer(&w);
    QObject::connect(watch, &QTimer::timeout, &w, [&] {
      if (!closed && writing(*w.ProgressBar1)) {
        closed = true;
        w.close();
      }
    });
    watch->start(0);
    w.PushButton2->click();
    watch->stop();
    return closed;
  }

  static std::vector<std::string> Temporaries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& [name, bytes] : Files(folder))
      if (name.find(".brevant-") != std::string::npos) names.push_back(name);
    return names;
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
  Form1Window& w = openWithRows(inputs);
  w.show();
  w.Text1->setText(QString::fromStdString(out.string()));
  // The second sweep, which writes the document, names each file on the bar.
  ASSERT_TRUE(
      closeWhen(w, [](const ProgressDisplay& bar) { return bar.caption().startsWith("Processing: "); }));
  EXPECT_FALSE(w.isVisible());
  EXPECT_THAT(dialogs.asked, IsEmpty());  // no "Done." after the close
  EXPECT_EQ(ReadBytes(out / "output.xml"), "earlier document");
  EXPECT_THAT(Temporaries(out), IsEmpty());
}

// The sweep that collects the columns gives the window its turns too (the bar
// has moved, its caption is still idle): a close there ends the run at once.
TEST_F(CloseDuringRun, AOneDocumentRunEndsWhileItCollectsTheColumns) {
  WriteBytes(dir / "a.vcf", ContactWithEmails(2000));
  fs::create_directories(out);
  WriteBytes(out / "output.xml", "earlier document");
  Form1Window& w = openWithRows({dir / "a.vcf"});
  w.show();
  w.Text1->setText(QString::fromStdString(out.string()));
  ASSERT_TRUE(closeWhen(
      w, [](const ProgressDisplay& bar) { return bar.caption() == "Progress Bar" && bar.position() > 0; }));
  EXPECT_FALSE(w.isVisible());
  EXPECT_THAT(dialogs.asked, IsEmpty());
  EXPECT_EQ(Files(out), (std::map<std::string, std::string>{{"output.xml", "earlier document"}}));
}

// Destroyed by another program in the middle of a run, the window ends the run
// as a close does.
TEST_F(CloseDuringRun, AWindowTakenAwayEndsTheRunAsACloseDoes) {
  WriteBytes(dir / "a.vcf", ContactWithEmails(2000));
  fs::create_directories(out);
  WriteBytes(out / "output.xml", "earlier document");
  Form1Window& w = openWithRows({dir / "a.vcf"});
  w.show();
  w.Text1->setText(QString::fromStdString(out.string()));
  bool gone = false;
  auto* watch = new QTimer(&w);
  QObject::connect(watch, &QTimer::timeout, &w, [&] {
    if (!gone && w.ProgressBar1->position() > 0) {
      gone = true;
      w.windowGone();
    }
  });
  watch->start(0);
  w.PushButton2->click();
  EXPECT_TRUE(gone);
  EXPECT_THAT(dialogs.asked, IsEmpty());
  EXPECT_EQ(Files(out), (std::map<std::string, std::string>{{"output.xml", "earlier document"}}));
}

TEST_F(CloseDuringRun, NoPartialDocumentAndLaterInputsUntouched) {
  WriteBytes(dir / "big.vcf", ContactWithEmails(200000));
  WriteBytes(dir / "next.vcf", "FN:next\n");
  fs::create_directories(out);
  WriteBytes(out / "next.htm", "earlier document");
  Form1Window& w = openWithRows({dir / "big.vcf", dir / "next.vcf"});
  w.show();
  w.Option2->click();
  w.Text1->setText(QString::fromStdString(out.string()));
  // While big.htm is written its cells move the bar away from the run's 50.
  ASSERT_TRUE(closeWhen(w, [](const ProgressDisplay& bar) {
    return bar.caption() == "Processing: big.vcf" && bar.position() > 0 && bar.position() < 50;
  }));
  EXPECT_THAT(dialogs.asked, IsEmpty());
  EXPECT_FALSE(fs::exists(out / "big.htm"));
  EXPECT_EQ(ReadBytes(out / "next.htm"), "earlier document");
  EXPECT_THAT(Temporaries(out), IsEmpty());
}

}  // namespace
}  // namespace brevant::testing
