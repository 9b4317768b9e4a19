#include "support/text/charset_conversion.h"

#include <windows.h>

#include <charconv>
#include <cstdint>

#include "support/text/utf8.h"

namespace brevant {

namespace {

struct NamedCodePage {
  const char* name;
  UINT codePage;
};

// The character set names vCards carry, and the code pages that hold them.
constexpr NamedCodePage kCodePages[] = {
    {"UTF-8", CP_UTF8},  {"UTF8", CP_UTF8},      {"UTF-7", CP_UTF7},   {"UTF7", CP_UTF7},
    {"US-ASCII", 20127}, {"ASCII", 20127},       {"LATIN1", 28591},    {"LATIN-1", 28591},
    {"L1", 28591},       {"LATIN2", 28592},      {"KOI8-R", 20866},    {"KOI8-U", 21866},
    {"SHIFT_JIS", 932},  {"SHIFT-JIS", 932},     {"SJIS", 932},        {"MS_KANJI", 932},
    {"CP932", 932},      {"WINDOWS-31J", 932},   {"EUC-JP", 20932},    {"ISO-2022-JP", 50220},
    {"GB2312", 936},     {"GBK", 936},           {"EUC-CN", 936},      {"GB18030", 54936},
    {"BIG5", 950},       {"BIG-5", 950},         {"EUC-KR", 51949},    {"KS_C_5601-1987", 949},
    {"UHC", 949},        {"TIS-620", 874},       {"MACINTOSH", 10000}, {"MAC", 10000},
    {"IBM437", 437},     {"IBM850", 850},        {"IBM866", 866},      {"ISO-8859-15", 28605},
    {"LATIN-9", 28605},  {"ISO-8859-13", 28603},
};

// "ISO-8859-N", "ISO8859-N", "WINDOWS-N", "CPN": the number names the code page.
UINT NumberedCodePage(std::string_view name) {
  const auto number = [](std::string_view digits) -> UINT {
    unsigned value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return error == std::errc() && end == digits.data() + digits.size() ? value : 0;
  };
  for (const std::string_view prefix : {"ISO-8859-", "ISO8859-", "ISO_8859-"}) {
    if (name.starts_with(prefix)) {
      const UINT part = number(name.substr(prefix.size()));
      return part >= 1 && part <= 9 ? 28590 + part : 0;
    }
  }
  for (const std::string_view prefix : {"WINDOWS-", "CP"}) {
    if (name.starts_with(prefix)) {
      const UINT page = number(name.substr(prefix.size()));
      return page >= 1250 && page <= 1258                               ? page
             : page == 874 || page == 437 || page == 850 || page == 866 ? page
                                                                        : 0;
    }
  }
  return 0;
}

// Code pages that refuse the flag for invalid characters.
bool TakesNoFlags(UINT codePage) {
  return (codePage >= 50220 && codePage <= 50229) || codePage == 54936 || codePage == 42 ||
         codePage == CP_UTF7 || (codePage >= 57002 && codePage <= 57011);
}

}  // namespace

CharsetConverter OpenCharsetConverter(const std::string& upperCaseName) {
  UINT codePage = NumberedCodePage(upperCaseName);
  for (const NamedCodePage& entry : kCodePages) {
    if (codePage == 0 && upperCaseName == entry.name) codePage = entry.codePage;
  }
  if (codePage == 0 || !IsValidCodePage(codePage)) return nullptr;
  return reinterpret_cast<CharsetConverter>(static_cast<std::uintptr_t>(codePage));
}

void CloseCharsetConverter(CharsetConverter) {}

bool AppendCharsetAsUtf8(CharsetConverter converter, std::string& out, std::string_view bytes) {
  if (converter == nullptr) return false;
  if (bytes.empty()) return true;
  const auto codePage = static_cast<UINT>(reinterpret_cast<std::uintptr_t>(converter));
  if (bytes.size() > 0x3FFFFFFF) return false;
  const DWORD flags = TakesNoFlags(codePage) ? 0 : MB_ERR_INVALID_CHARS;
  const int length = static_cast<int>(bytes.size());
  const int units = MultiByteToWideChar(codePage, flags, bytes.data(), length, nullptr, 0);
  if (units <= 0) return false;
  std::u16string text(static_cast<std::size_t>(units), u'\0');
  if (MultiByteToWideChar(codePage, flags, bytes.data(), length, reinterpret_cast<wchar_t*>(text.data()),
                          units) != units) {
    return false;
  }
  out += ToUtf8(text);
  return true;
}

}  // namespace brevant
