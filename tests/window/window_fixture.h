#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <filesystem>
#include <memory>
#include <optional>

#include "form/scripted_dialogs.h"
#include "support/qt/qt_settings_store.h"
#include "test_support/temp_dir.h"
#include "window/qt_main_window.h"

namespace brevant::testing {

// A window of its own for every test: settings in a temporary file, dialogs
// answered from a script, and a program folder of its own.
class WindowTest : public ::testing::Test {
 protected:
  TempDir dir;
  std::filesystem::path programFolder = dir / "program";
  std::optional<QtSettingsStore> settings;
  ScriptedDialogs dialogs;
  std::unique_ptr<QtMainWindow> window;
  // A screen with room for the window at its own size (the offscreen one is 800 x 600).
  QRect screenArea{0, 0, 1280, 1024};

  WindowTest();
  QString settingsFile() const;
  // Writes a value into the store before the window opens.
  void seed(const QString& key, const QString& value);
  QtMainWindow& open();
  // The value on disk now, as a fresh reader sees it; "<absent>" when never written.
  std::string stored(const QString& key) const;
  // Moves the pointer over a control of the window.
  static void movePointerOver(QWidget* control);
};

Text PathText(const std::filesystem::path& path);

}  // namespace brevant::testing
