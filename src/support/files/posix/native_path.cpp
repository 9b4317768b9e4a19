#include "support/files/native_path.h"

#include "support/text/utf8.h"

namespace brevant {

bool ToNativePath(TextView path, std::string& bytes) {
  if (path.find(u'\0') != TextView::npos) return false;
  bytes = ToUtf8(path);
  return true;
}

Text FromNativePath(const NativePath& native) { return FromUtf8(native); }

Text ShownPath(const NativePath& native) { return FromNativePath(native); }

}  // namespace brevant
