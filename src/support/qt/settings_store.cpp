#include "support/qt/settings_store.h"

#include <cstdio>

#include "support/qt/qt_text.h"

namespace brevant {

namespace {
QString Key(const QString& key) { return QString::fromLatin1(kSettingsSection) + u'/' + key; }
}  // namespace

SettingsStore::SettingsStore()
    : settings_(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                            QString::fromLatin1(kSettingsOrganisation),
                                            QString::fromLatin1(kSettingsSection))) {}

SettingsStore::SettingsStore(const QString& file)
    : settings_(std::make_unique<QSettings>(file, QSettings::IniFormat)) {}

Text SettingsStore::read(const QString& key, TextView defaultValue) const {
  const QVariant value = settings_->value(Key(key));
  if (!value.isValid()) return Text(defaultValue);
  return ToText(value.toString());
}

bool SettingsStore::contains(const QString& key) const { return settings_->contains(Key(key)); }

bool SettingsStore::write(const QString& key, TextView value) {
  settings_->setValue(Key(key), ToQString(value));
  settings_->sync();
  if (settings_->status() == QSettings::NoError) return true;
  if (!refusalReported_) {
    refusalReported_ = true;
    std::fprintf(stderr, "brevant: the settings cannot be stored in %s\n",
                 settings_->fileName().toLocal8Bit().constData());
  }
  return false;
}

}  // namespace brevant
