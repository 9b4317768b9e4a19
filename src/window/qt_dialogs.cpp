#include "window/qt_dialogs.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QUrl>

#include "support/qt/folder_picker.h"
#include "support/qt/qt_text.h"
#include "window/colour_conversion.h"

namespace brevant {

namespace {
QString Title() { return QGuiApplication::applicationDisplayName(); }

// The texts break their lines as the window system's boxes do (CR LF, or CR
// alone); Qt's labels break at LF.
QString ForDisplay(const Text& text) {
  QString shown = ToQString(text);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  shown.replace(u'\r', u'\n');
  return shown;
}
}  // namespace

void QtDialogs::message(const Text& text) {
  QMessageBox box(QMessageBox::NoIcon, Title(), ForDisplay(text), QMessageBox::Ok, owner_);
  box.exec();
}

void QtDialogs::errorBox(const ErrorReport& report) {
  QMessageBox box(QMessageBox::Warning, ToQString(kErrorBoxTitle), ForDisplay(report.boxText()),
                  QMessageBox::Ok, owner_);
  box.exec();
}

bool QtDialogs::askYesNo(const Text& text) {
  QMessageBox box(QMessageBox::NoIcon, Title(), ForDisplay(text), QMessageBox::Yes | QMessageBox::No, owner_);
  return box.exec() == QMessageBox::Yes;
}

Text QtDialogs::askText(const Text& prompt, const Text& defaultText) {
  bool accepted = false;
  const QString answer = QInputDialog::getText(owner_, Title(), ForDisplay(prompt), QLineEdit::Normal,
                                               ToQString(defaultText), &accepted);
  return accepted ? ToText(answer) : Text();
}

std::vector<Text> QtDialogs::chooseFiles(const Text& title, const Text& filter) {
  std::vector<Text> files;
  for (const QString& file :
       QFileDialog::getOpenFileNames(owner_, ToQString(title), QString(), ToQString(filter)))
    files.push_back(ToText(file));
  return files;
}

Colour QtDialogs::chooseColour(const Text& title, Colour initial) {
  const QColor chosen = QColorDialog::getColor(ToQColor(initial), owner_, ToQString(title));
  return chosen.isValid() ? FromQColor(chosen) : initial;
}

Text QtDialogs::chooseFolder(const Text& title, const Text& startFolder) {
  return BrowseForFolder(owner_, title, startFolder);
}

void QtDialogs::openFolder(const Text& folder) {
  QDesktopServices::openUrl(QUrl::fromLocalFile(ToQString(folder)));
}

}  // namespace brevant
