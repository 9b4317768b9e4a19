#include "support/text/charset_conversion.h"

#include <iconv.h>

#include <cerrno>

namespace brevant {

namespace {

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

}  // namespace

CharsetConverter OpenCharsetConverter(const std::string& upperCaseName) {
  // A name with "/" would ask iconv for its transliteration suffixes.
  if (upperCaseName.empty() || upperCaseName.find('/') != std::string::npos) return nullptr;
  const iconv_t handle = iconv_open("UTF-8", upperCaseName.c_str());
  return handle == kNoConverter ? nullptr : handle;
}

void CloseCharsetConverter(CharsetConverter converter) {
  if (converter != nullptr) iconv_close(static_cast<iconv_t>(converter));
}

bool AppendCharsetAsUtf8(CharsetConverter converter, std::string& out, std::string_view bytes) {
  const auto handle = static_cast<iconv_t>(converter);
  if (handle == nullptr) return false;
  iconv(handle, nullptr, nullptr, nullptr, nullptr);
  const std::size_t start = out.size();
  std::size_t room = bytes.size() * 4 + 8;
  out.resize(start + room);
  char* from = const_cast<char*>(bytes.data());
  std::size_t left = bytes.size();
  char* to = out.data() + start;
  while (left > 0) {
    if (iconv(handle, &from, &left, &to, &room) != static_cast<std::size_t>(-1)) break;
    if (errno != E2BIG) {
      out.resize(start);
      return false;
    }
    const std::size_t written = static_cast<std::size_t>(to - out.data());
    out.resize(out.size() + bytes.size() + 16);
    to = out.data() + written;
    room = out.size() - written;
  }
  // Flush a stateful encoding's final shift.
  if (iconv(handle, nullptr, nullptr, &to, &room) == static_cast<std::size_t>(-1)) {
    out.resize(start);
    return false;
  }
  out.resize(static_cast<std::size_t>(to - out.data()));
  return true;
}

}  // namespace brevant
