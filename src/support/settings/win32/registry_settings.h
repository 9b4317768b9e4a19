#pragma once

#include "support/settings/settings_store.h"
#include "support/text/text.h"

namespace brevant {

// The per-user settings on Windows: one string value (REG_SZ) a key under
// HKEY_CURRENT_USER\Software\Ambervale\Brevant. Flags are the texts "True" and
// "False", colours signed decimal text. Every write reaches the registry at
// once; a write the registry refuses keeps the earlier value and gives false.
class RegistrySettings final : public SettingsStore {
 public:
  // The user's own store.
  RegistrySettings();
  // A store under another key of HKEY_CURRENT_USER (tests keep theirs apart).
  explicit RegistrySettings(TextView subKey);

  // The stored text, or the default when the key was never written (or holds
  // no string).
  Text read(TextView key, TextView defaultValue) const override;
  bool contains(TextView key) const override;
  bool write(TextView key, TextView value) override;

  // Removes the whole key with its values (for tests).
  void removeAll();

 private:
  Text subKey_;
};

inline constexpr char16_t kRegistrySettingsKey[] = u"Software\\Ambervale\\Brevant";

}  // namespace brevant
