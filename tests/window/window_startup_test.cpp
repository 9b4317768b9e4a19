// Starting the window: the command line, paths given at start-up, the program's
// desktop identity and the samples of an installed program.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QProcess>
#include <QUrl>
#include <sstream>

#include "brevant_version.h"
#include "form/command_line.h"
#include "support/text/utf8.h"
#include "window/desktop_identity.h"
#include "window/window_fixture.h"

namespace brevant::test {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

QStringList Strings(const std::vector<std::string>& texts) {
  QStringList list;
  for (const std::string& text : texts) list.push_back(QString::fromStdString(text));
  return list;
}

std::vector<Text> Texts(const std::vector<std::string>& texts) {
  std::vector<Text> list;
  for (const std::string& text : texts) list.push_back(FromUtf8(text));
  return list;
}

std::vector<std::string> Rows(QtMainWindow& w) {
  std::vector<std::string> rows;
  for (const Text& path : w.form().inputPaths()) rows.push_back(ToUtf8(path));
  return rows;
}

struct ProgramCase {
  std::vector<std::string> args;
  int status;
  QString out;
  std::string errHas;  // "" when nothing may go to standard error
};

// The real program, with no display to connect to: whatever does not open the
// window must not need one.
TEST(WindowCommandLine, HelpVersionAndMistakesAnswerOnTheTerminalWithoutADisplay) {
  const ProgramCase cases[] = {
      {{"--help"}, 0, QString::fromStdU16String(WindowHelpText()), ""},
      {{"-h", "a.vcf"}, 0, QString::fromStdU16String(WindowHelpText()), ""},
      {{"a.vcf", "--version"}, 0, QString::fromStdU16String(WindowVersionText()), ""},
      {{"--bogus", "a.vcf"}, 2, "", "brevant: unknown option '--bogus'\nUsage: brevant"},
      {{"--help=all"}, 2, "", "unknown option '--help=all'"},
      {{"-hq"}, 2, "", "unknown option '-hq'"},
  };
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) environment.remove(name);
  for (const ProgramCase& c : cases) {
    SCOPED_TRACE(c.args.front());
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(BREVANT_WINDOW_PATH), Strings(c.args));
    ASSERT_TRUE(program.waitForFinished(20000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), c.status);
    EXPECT_EQ(QString::fromUtf8(program.readAllStandardOutput()), c.out);
    const std::string err = program.readAllStandardError().toStdString();
    if (c.errHas.empty()) {
      EXPECT_EQ(err, "");
    } else {
      EXPECT_THAT(err, HasSubstr(c.errHas));
    }
  }
  EXPECT_THAT(ToUtf8(WindowHelpText()), HasSubstr("Usage: brevant [OPTION]... [FILE]...\n"));
  EXPECT_THAT(ToUtf8(WindowVersionText()), HasSubstr("brevant " BREVANT_VERSION "\n"));
}

class StartupTest : public WindowTest {
 protected:
  // Drags the paths onto the list and drops them there.
  static void Drop(QtMainWindow& w, const std::vector<fs::path>& paths) {
    QMimeData data;
    QList<QUrl> urls;
    for (const fs::path& path : paths)
      urls.push_back(QUrl::fromLocalFile(QString::fromStdString(path.string())));
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w.inputList()->viewport(), &enter);
    QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w.inputList()->viewport(), &drop);
  }
};

TEST_F(StartupTest, PathsGivenAtStartUpGiveTheRowsOfADropOfThem) {
  const fs::path work = dir / "work";
  WriteBytes(work / "card.vcf", "FN:a\n");
  WriteBytes(work / "a b#1.vcf", "FN:b\n");
  WriteBytes(work / "-dash.vcf", "FN:c\n");
  WriteBytes(work / "tree" / "x.vcf", "FN:x\n");
  WriteBytes(work / "tree" / "~lock.vcf", "x\n");
  WriteBytes(work / "tree" / "deeper" / "notes.txt", "n\n");
  const std::string gone = (dir / "gone.vcf").string();

  QtMainWindow& started = open();
  started.form().filesDropped(ParseWindowCommandLine(Texts({"card.vcf", "tree", "./a b#1.vcf", gone, "--",
                                                            "-dash.vcf", "../work/card.vcf"}),
                                                     PathText(work))
                                  .paths);
  const std::vector<std::string> fromCommandLine = Rows(started);

  QtMainWindow& dropped = open();
  Drop(dropped,
       {work / "card.vcf", work / "tree", work / "a b#1.vcf", gone, work / "-dash.vcf", work / "card.vcf"});
  EXPECT_EQ(fromCommandLine, Rows(dropped));
  const std::string w = work.string();
  EXPECT_THAT(fromCommandLine, ElementsAre(w + "/card.vcf", w + "/tree/x.vcf", w + "/tree/deeper/notes.txt",
                                           w + "/a b#1.vcf", gone, w + "/-dash.vcf", w + "/card.vcf"));
}

TEST(DesktopIdentity, NamesTheMenuEntryAndCarriesItsIcon) {
  PresentAsDesktopApplication();
  EXPECT_EQ(QGuiApplication::desktopFileName(), QStringLiteral("example.ambervale.Brevant"));
  EXPECT_FALSE(QApplication::windowIcon().isNull());
  // The built-in copy, for a program whose icon theme lacks the icon.
  for (const char* size : {"48x48", "128x128"})
    EXPECT_TRUE(
        QFile::exists(QStringLiteral(":/icons/%1/example.ambervale.Brevant.png").arg(QLatin1String(size))));
}

}  // namespace
}  // namespace brevant::test
