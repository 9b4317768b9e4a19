#include "support/native_path.h"

namespace brevant {

// The wide calls take the program's UTF-16 text as it is; "/" typed by a user
// is a separator too.
bool ToNativePath(TextView path, NativePath& native) {
  if (path.find(u'\0') != TextView::npos) return false;
  native.assign(path.begin(), path.end());
  for (wchar_t& unit : native) {
    if (unit == L'/') unit = L'\\';
  }
  return true;
}

Text FromNativePath(const NativePath& native) { return Text(native.begin(), native.end()); }

}  // namespace brevant
