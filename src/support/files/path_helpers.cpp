#include "support/files/path_helpers.h"

namespace brevant {

namespace {

// Replaces every doubled separator by one in a single left-to-right pass without
// overlap, so a run of three becomes two and a run of four becomes two.
Text CollapseDoubledSeparators(TextView text, char16_t separator) {
  Text result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    result += text[i];
    if (text[i] == separator && i + 1 < text.size() && text[i + 1] == separator) ++i;
  }
  return result;
}

}  // namespace

char16_t Separator(PathStyle style) { return style == PathStyle::Windows ? u'\\' : u'/'; }

Text GetFileName(TextView path, PathStyle style) {
  const std::size_t last = path.rfind(Separator(style));
  return Text(last == TextView::npos ? path : path.substr(last + 1));
}

Text GetFolderPath(TextView path, PathStyle style) {
  const std::size_t last = path.rfind(Separator(style));
  return last == TextView::npos ? Text() : Text(path.substr(0, last + 1));
}

Text StripExtension(TextView path) {
  const std::size_t dot = path.rfind(u'.');
  // A leading "." names a hidden or extension-only file, not an extension.
  if (dot == TextView::npos || dot == 0) return Text(path);
  return Text(path.substr(0, dot));
}

Text CollapseBackslashes(TextView path, PathStyle style) {
  const char16_t separator = Separator(style);
  if (path.empty() || path.front() != separator) return CollapseDoubledSeparators(path, separator);
  // A leading run keeps a network path's "\\" in Windows style; POSIX has no such paths.
  std::size_t firstOther = path.find_first_not_of(separator);
  if (firstOther == TextView::npos) firstOther = path.size();
  Text result = style == PathStyle::Windows ? Text(2, separator) : Text(1, separator);
  result += CollapseDoubledSeparators(path.substr(firstOther), separator);
  return result;
}

}  // namespace brevant
