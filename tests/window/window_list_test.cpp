// The input list: file dialog, folder scan, drops, removal, row dragging, samples.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QMimeData>
#include <QMouseEvent>
#include <QTest>
#include <QUrl>

#include "support/text/utf8.h"
#include "window/window_fixture.h"

namespace brevant::test {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::vector<std::string> Rows(QtMainWindow& w) {
  std::vector<std::string> rows;
  for (const Text& path : w.form().inputPaths()) rows.push_back(ToUtf8(path));
  return rows;
}

QMimeData* FileList(const std::vector<fs::path>& paths) {
  auto* data = new QMimeData;
  QList<QUrl> urls;
  for (const fs::path& path : paths)
    urls.push_back(QUrl::fromLocalFile(QString::fromStdString(path.string())));
  data->setUrls(urls);
  return data;
}

// Drags the data over the list and drops it there; gives whether the list took it.
bool Drop(QtMainWindow& w, QMimeData* data) {
  QWidget* target = w.inputList()->viewport();
  const QPoint at(20, 20);
  QDragEnterEvent enter(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &enter);
  const bool accepted = enter.isAccepted();
  QDropEvent drop(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &drop);
  delete data;
  return accepted;
}

void Mouse(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButtons held) {
  QMouseEvent event(type, at, target->mapToGlobal(at),
                    type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held, Qt::NoModifier);
  QApplication::sendEvent(target, &event);
}

class ListTest : public WindowTest {
 protected:
  fs::path tree = dir / "tree";

  void makeTree() {
    WriteBytes(tree / "a.vcf", "FN:a\n");
    WriteBytes(tree / "B.VCF", "FN:b\n");
    WriteBytes(tree / "notes.txt", "n\n");
    WriteBytes(tree / "~lock.vcf", "x\n");
    WriteBytes(tree / ".hidden.vcf", "x\n");
    WriteBytes(tree / "sub" / "c.vcf", "FN:c\n");
  }
  std::string at(const char* name) const { return (tree / name).string(); }
};

TEST_F(ListTest, DropsAddFilesAsTheyAreAndEveryFileOfDroppedFolders) {
  makeTree();
  WriteBytes(dir / "other" / "x.doc", "d");
  seed("Extension", "vcf");  // a drop reads no setting
  QtMainWindow& w = open();
  EXPECT_TRUE(Drop(w, FileList({dir / "loose.txt", tree / "sub", dir / "other"})));
  EXPECT_THAT(Rows(w),
              ElementsAre((dir / "loose.txt").string(), at("sub/c.vcf"), (dir / "other/x.doc").string()));

  auto* text = new QMimeData;
  text->setText("just text");
  EXPECT_FALSE(Drop(w, text));
  auto* web = new QMimeData;
  web->setUrls({QUrl("https://example.com/a.vcf")});
  EXPECT_FALSE(Drop(w, web));
  EXPECT_EQ(Rows(w).size(), 3u);
  EXPECT_THAT(dialogs.asked, IsEmpty());
}

TEST_F(ListTest, RemovesTheSelectedRowAndClearsButNotWhileBusy) {
  QtMainWindow& w = open();
  dialogs.fileAnswers = {{u"/a", u"/b", u"/c", u"/d"}};
  w.button(Control::AddFiles)->click();
  w.inputList()->setCurrentIndex(w.inputList()->model()->index(1, 0));
  QTest::keyClick(w.inputList(), Qt::Key_Delete);
  EXPECT_THAT(Rows(w), ElementsAre("/a", "/c", "/d"));
  w.inputList()->setCurrentIndex(w.inputList()->model()->index(2, 0));
  QTest::mouseDClick(w.inputList()->viewport(), Qt::LeftButton, {},
                     w.inputList()->visualRect(w.inputList()->model()->index(2, 0)).center());
  EXPECT_THAT(Rows(w), ElementsAre("/a", "/c"));

  w.form().setBusy(true);
  w.inputList()->setCurrentIndex(w.inputList()->model()->index(0, 0));
  QTest::keyClick(w.inputList(), Qt::Key_Delete);
  QTest::mouseDClick(w.inputList()->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
  w.button(Control::ClearList)->click();
  EXPECT_THAT(Rows(w), ElementsAre("/a", "/c"));
  w.form().setBusy(false);
  w.button(Control::ClearList)->click();
  EXPECT_THAT(Rows(w), IsEmpty());
  QTest::keyClick(w.inputList(), Qt::Key_Delete);  // nothing left to remove
  EXPECT_THAT(dialogs.asked,
              ElementsAre("files: Add File(s) - Hold Ctrl to select multiple files [VCF Files (*.vcf)]"));
}

TEST_F(ListTest, DraggingTheThirdRowUpPutsItOnTop) {
  QtMainWindow& w = open();
  dialogs.fileAnswers = {{u"/a", u"/b", u"/c", u"/d"}};
  w.button(Control::AddFiles)->click();
  QWidget* rows = w.inputList()->viewport();
  auto centre = [&](int row) {
    return w.inputList()->visualRect(w.inputList()->model()->index(row, 0)).center();
  };
  Mouse(rows, QEvent::MouseButtonPress, centre(2), Qt::LeftButton);
  EXPECT_EQ(rows->cursor().shape(), Qt::DragMoveCursor);
  Mouse(rows, QEvent::MouseMove, centre(1), Qt::LeftButton);
  EXPECT_THAT(Rows(w), ElementsAre("/a", "/c", "/b", "/d"));
  Mouse(rows, QEvent::MouseMove, centre(0), Qt::LeftButton);
  Mouse(rows, QEvent::MouseButtonRelease, centre(0), Qt::NoButton);
  EXPECT_THAT(Rows(w), ElementsAre("/c", "/a", "/b", "/d"));
  EXPECT_EQ(w.inputList()->selectedRow(), 0);
  EXPECT_EQ(rows->cursor().shape(), Qt::ArrowCursor);
  // Without the button held, or held after a press beside the rows, moving changes nothing.
  Mouse(rows, QEvent::MouseMove, centre(3), Qt::NoButton);
  Mouse(rows, QEvent::MouseButtonPress, QPoint(10, rows->height() - 2), Qt::LeftButton);
  Mouse(rows, QEvent::MouseMove, centre(1), Qt::LeftButton);
  Mouse(rows, QEvent::MouseButtonRelease, centre(1), Qt::NoButton);
  EXPECT_THAT(Rows(w), ElementsAre("/c", "/a", "/b", "/d"));
}

TEST_F(ListTest, TheDragPointerComesFromTheProgramFolderWhenThere) {
  QImage picture(16, 16, QImage::Format_ARGB32);
  picture.fill(Qt::blue);
  ASSERT_TRUE(picture.save(QString::fromStdString((programFolder / "drag.ico").string()), "PNG"));
  QtMainWindow& w = open();
  dialogs.fileAnswers = {{u"/a", u"/b"}};
  w.button(Control::AddFiles)->click();
  QWidget* rows = w.inputList()->viewport();
  const QPoint first = w.inputList()->visualRect(w.inputList()->model()->index(0, 0)).center();
  Mouse(rows, QEvent::MouseButtonPress, first, Qt::LeftButton);
  EXPECT_EQ(rows->cursor().shape(), Qt::BitmapCursor);
  Mouse(rows, QEvent::MouseButtonRelease, first, Qt::NoButton);
}

TEST_F(ListTest, DraggingNearTheBottomScrollsTheList) {
  QtMainWindow& w = open();
  std::vector<Text> many;
  for (int i = 0; i < 40; ++i) many.push_back(u"/row" + FromUtf8(std::to_string(i)));
  dialogs.fileAnswers = {many};
  w.button(Control::AddFiles)->click();
  w.show();
  QWidget* rows = w.inputList()->viewport();
  const int bottom = rows->height() - 2;
  const QModelIndex last = w.inputList()->indexAt(QPoint(10, bottom));
  ASSERT_TRUE(last.isValid());
  Mouse(rows, QEvent::MouseButtonPress, QPoint(10, bottom), Qt::LeftButton);
  for (int step = 0; step < 5; ++step) Mouse(rows, QEvent::MouseMove, QPoint(10, bottom), Qt::LeftButton);
  Mouse(rows, QEvent::MouseButtonRelease, QPoint(10, bottom), Qt::NoButton);
  EXPECT_GT(w.inputList()->indexAt(QPoint(10, 2)).row(), 0);  // scrolled down
  EXPECT_GT(w.inputList()->selectedRow(), last.row());        // and the row travelled with it
}

}  // namespace
}  // namespace brevant::test
