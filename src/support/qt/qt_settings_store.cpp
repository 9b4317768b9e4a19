#include "support/qt/qt_settings_store.h"

#include <cstdio>

#include "support/qt/qt_text.h"

namespace brevant {

namespace {
QString Key(TextView key) { return QString::fromLatin1(kSettingsSection) + u'/' + ToQString(key); }
}  // namespace

QtSettingsStore::QtSettingsStore()
    : settings_(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                            QString::fromLatin1(kSettingsOrganisation),
                                            QString::fromLatin1(kSettingsSection))) {}

QtSettingsStore::QtSettingsStore(const QString& file)
    : settings_(std::make_unique<QSettings>(file, QSettings::IniFormat)) {}

Text QtSettingsStore::read(TextView key, TextView defaultValue) const {
  const QVariant value = settings_->value(Key(key));
  if (!value.isValid()) return Text(defaultValue);
  return ToText(value.toString());
}

bool QtSettingsStore::contains(TextView key) const { return settings_->contains(Key(key)); }

bool QtSettingsStore::write(TextView key, TextView value) {
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
