#include "window/window_fixture.h"

#include <QApplication>
#include <QMouseEvent>

#include "support/text/utf8.h"

namespace brevant::test {

WindowTest::WindowTest() {
  std::filesystem::create_directories(programFolder);
  settings.emplace(settingsFile());
}

QString WindowTest::settingsFile() const { return QString::fromStdString((dir / "settings.ini").string()); }

void WindowTest::seed(const QString& key, const QString& value) {
  settings->write(key.toStdU16String(), value.toStdU16String());
}

QtMainWindow& WindowTest::open() {
  window =
      std::make_unique<QtMainWindow>(WindowSetup{*settings, dialogs, PathText(programFolder), screenArea});
  return *window;
}

std::string WindowTest::stored(const QString& key) const {
  const QtSettingsStore reader(settingsFile());
  return ToUtf8(reader.read(key.toStdU16String(), u"<absent>"));
}

void WindowTest::movePointerOver(QWidget* control) {
  const QPointF inside(control->width() / 2.0, control->height() / 2.0);
  QMouseEvent move(QEvent::MouseMove, inside, control->mapToGlobal(inside), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QApplication::sendEvent(control, &move);
}

Text PathText(const std::filesystem::path& path) { return FromUtf8(path.string()); }

}  // namespace brevant::test
