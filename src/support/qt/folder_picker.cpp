#include "support/qt/folder_picker.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include "support/qt/qt_text.h"

namespace brevant {

Text BrowseForFolder(QWidget* owner, TextView title, TextView startFolder) {
  const QString start = ToQString(startFolder);
  const bool preselect = !start.isEmpty() && QFileInfo(start).isDir();
  const QString chosen = QFileDialog::getExistingDirectory(
      owner, ToQString(title), preselect ? start : QString(), QFileDialog::ShowDirsOnly);
  if (chosen.isEmpty()) return Text();
  Text folder = ToText(QDir::toNativeSeparators(chosen));
  while (folder.size() > 1 && folder.back() == u'/') folder.pop_back();
  return folder;
}

}  // namespace brevant
