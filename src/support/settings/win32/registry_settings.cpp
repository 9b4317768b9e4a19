#include "support/settings/win32/registry_settings.h"

#include <windows.h>

#include <string>

namespace brevant {

namespace {

const wchar_t* Wide(const Text& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

// The key opened for reading, closed when the object goes; nothing when it was never created.
class OpenKey {
 public:
  OpenKey(const Text& subKey, REGSAM access, bool create) {
    const LSTATUS status = create ? RegCreateKeyExW(HKEY_CURRENT_USER, Wide(subKey), 0, nullptr, 0, access,
                                                    nullptr, &key_, nullptr)
                                  : RegOpenKeyExW(HKEY_CURRENT_USER, Wide(subKey), 0, access, &key_);
    if (status != ERROR_SUCCESS) key_ = nullptr;
  }
  ~OpenKey() {
    if (key_ != nullptr) RegCloseKey(key_);
  }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

}  // namespace

RegistrySettings::RegistrySettings() : RegistrySettings(kRegistrySettingsKey) {}

RegistrySettings::RegistrySettings(TextView subKey) : subKey_(subKey) {}

Text RegistrySettings::read(TextView key, TextView defaultValue) const {
  const OpenKey open(subKey_, KEY_QUERY_VALUE, false);
  if (open.get() == nullptr) return Text(defaultValue);
  const Text name(key);
  // The value may change between asking its size and reading it: ask again then.
  for (;;) {
    DWORD type = 0;
    DWORD bytes = 0;
    if (RegQueryValueExW(open.get(), Wide(name), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
      return Text(defaultValue);
    std::u16string value(bytes / sizeof(char16_t) + 1, u'\0');
    DWORD got = static_cast<DWORD>(value.size() * sizeof(char16_t));
    const LSTATUS status =
        RegQueryValueExW(open.get(), Wide(name), nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &got);
    if (status == ERROR_MORE_DATA) continue;
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return Text(defaultValue);
    value.resize(got / sizeof(char16_t));
    // A string value normally ends in one NUL; a value written without it is taken whole.
    while (!value.empty() && value.back() == u'\0') value.pop_back();
    return value;
  }
}

bool RegistrySettings::contains(TextView key) const {
  const OpenKey open(subKey_, KEY_QUERY_VALUE, false);
  const Text name(key);
  return open.get() != nullptr &&
         RegQueryValueExW(open.get(), Wide(name), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool RegistrySettings::write(TextView key, TextView value) {
  const OpenKey open(subKey_, KEY_SET_VALUE, true);
  if (open.get() == nullptr) return false;
  const Text name(key);
  const Text data(value);
  const DWORD bytes = static_cast<DWORD>((data.size() + 1) * sizeof(char16_t));
  return RegSetValueExW(open.get(), Wide(name), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                        bytes) == ERROR_SUCCESS;
}

void RegistrySettings::removeAll() { RegDeleteTreeW(HKEY_CURRENT_USER, Wide(subKey_)); }

}  // namespace brevant
