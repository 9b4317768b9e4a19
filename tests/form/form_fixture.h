#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "form/fake_view.h"
#include "form/main_form.h"
#include "form/scripted_dialogs.h"
#include "test_support/temp_dir.h"

namespace brevant::testing {

// The settings in memory; a refusing store keeps what it had.
class MemorySettings : public SettingsStore {
 public:
  std::map<Text, Text> values;
  bool refuse = false;

  Text read(TextView key, TextView defaultValue) const override;
  bool contains(TextView key) const override { return values.contains(Text(key)); }
  bool write(TextView key, TextView value) override;
};

// A form of its own for every test, on a fake view: settings in memory, dialogs
// answered from a script, and a program folder of its own.
class FormTest : public ::testing::Test {
 protected:
  TempDir dir;
  std::filesystem::path programFolder = dir / "program";
  MemorySettings settings;
  ScriptedDialogs dialogs;
  FakeView view;
  std::optional<MainForm> form;
  Text desktop = u"/home/user/Desktop/";

  FormTest();
  MainForm& open();
  // The value in the store; "<absent>" when never written.
  std::string stored(const Text& key) const;
  std::vector<std::string> rows() const;
};

Text PathText(const std::filesystem::path& path);

}  // namespace brevant::testing
