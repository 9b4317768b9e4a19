#pragma once

#include <QSettings>
#include <QString>
#include <memory>

#include "support/text.h"

namespace brevant {

// The per-user settings: organisation "Ambervale", section "Brevant", one text
// per key. Flags are the texts "True" and "False", colours signed decimal text.
// Every write goes to disk at once. A store that refuses a write (a read-only
// file, a full disk) keeps every value it had and the program goes on; the
// refusal is reported once on the error stream.
class SettingsStore {
 public:
  // The user's own store.
  SettingsStore();
  // A store in the given file (tests keep theirs in a temporary folder).
  explicit SettingsStore(const QString& file);

  Text read(const QString& key, TextView defaultValue) const;
  // Whether the key was ever written.
  bool contains(const QString& key) const;
  // False when the store refused the write.
  bool write(const QString& key, TextView value);

  QString fileName() const { return settings_->fileName(); }

 private:
  std::unique_ptr<QSettings> settings_;
  bool refusalReported_ = false;
};

inline constexpr char kSettingsOrganisation[] = "Ambervale";
inline constexpr char kSettingsSection[] = "Brevant";

}  // namespace brevant
