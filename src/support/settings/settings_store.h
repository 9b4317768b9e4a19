#pragma once

#include "support/text/text.h"

namespace brevant {

// The per-user settings of the window: organisation "Ambervale", section
// "Brevant", one text per key. Flags are the texts "True" and "False", colours
// signed decimal text. Every write is kept at once. A store that refuses a write
// (a read-only file, a full disk) keeps every value it had and the program goes on.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;

  virtual Text read(TextView key, TextView defaultValue) const = 0;
  // Whether the key was ever written.
  virtual bool contains(TextView key) const = 0;
  // False when the store refused the write.
  virtual bool write(TextView key, TextView value) = 0;
};

inline constexpr char kSettingsOrganisation[] = "Ambervale";
inline constexpr char kSettingsSection[] = "Brevant";

}  // namespace brevant
