// The window tests run without a display and without a real user's settings.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QStandardPaths>
#include <string>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
    // Qt wants a private runtime folder; one per user serves every test.
    const std::string runtime = "/tmp/brevant-tests-runtime-" + std::to_string(getuid());
    mkdir(runtime.c_str(), 0700);
    qputenv("XDG_RUNTIME_DIR", runtime.c_str());
  }
  QStandardPaths::setTestModeEnabled(true);
  QApplication application(argc, argv);
  QApplication::setStyle(QStringLiteral("Fusion"));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
