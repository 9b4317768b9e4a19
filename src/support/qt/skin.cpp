#include "support/qt/skin.h"

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <stdexcept>

namespace brevant {

namespace {

void TakeButtonFace(QWidget& widget) {
  QPalette palette = widget.palette();
  palette.setColor(widget.backgroundRole(), palette.color(QPalette::Button));
  widget.setPalette(palette);
}

template <class Kind>
void ButtonFaceOnEvery(QWidget& window) {
  for (Kind* widget : window.findChildren<Kind*>()) TakeButtonFace(*widget);
}

}  // namespace

bool ApplySkin(QWidget& window, const QString& programFolder) {
  const QFileInfo skin(programFolder + QStringLiteral("/x/o.cjs"));
  if (!skin.isFile() || skin.isHidden()) return false;
  QFile file(skin.filePath());
  if (!file.open(QIODevice::ReadOnly)) throw std::runtime_error("Path/File access error");
  const QString styleSheet = QString::fromUtf8(file.readAll());

  TakeButtonFace(window);
  ButtonFaceOnEvery<QRadioButton>(window);
  ButtonFaceOnEvery<QCheckBox>(window);
  ButtonFaceOnEvery<QGroupBox>(window);
  ButtonFaceOnEvery<QLabel>(window);
  window.setStyleSheet(styleSheet);
  return true;
}

}  // namespace brevant
