#pragma once

#include <QSettings>
#include <QString>
#include <memory>

#include "support/settings/settings_store.h"

namespace brevant {

// The settings in Qt's per-user store (an INI file under the user's
// configuration folder). A refused write is reported once on the error stream.
class QtSettingsStore final : public SettingsStore {
 public:
  // The user's own store.
  QtSettingsStore();
  // A store in the given file (tests keep theirs in a temporary folder).
  explicit QtSettingsStore(const QString& file);

  Text read(TextView key, TextView defaultValue) const override;
  bool contains(TextView key) const override;
  bool write(TextView key, TextView value) override;

  QString fileName() const { return settings_->fileName(); }

 private:
  std::unique_ptr<QSettings> settings_;
  bool refusalReported_ = false;
};

}  // namespace brevant
