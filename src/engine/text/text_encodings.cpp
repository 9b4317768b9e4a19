#include "engine/text/text_encodings.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "engine/text/packed_name.h"
#include "support/text/ansi_code_page.h"
#include "support/text/byte_search.h"
#include "support/text/charset_conversion.h"
#include "support/text/utf8.h"

namespace brevant {

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string UpperCaseCopy(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    c = UpperAscii(c);
  }
  return upper;
}

}  // namespace

ByteEncoding EncodingOfValue(std::string_view bytes) {
  return IsUtf8(bytes) ? ByteEncoding::Utf8 : ByteEncoding::Windows1252;
}

void Utf8Count::add(std::string_view slice) {
  std::size_t i = 0;
  while ((i = AsciiRunEnd(slice, i)) < slice.size()) {
    char32_t ignored;
    const std::size_t length = Utf8SequenceAt(slice, i, ignored);
    if (length == 0) {
      ++strays_;
      ++i;
    } else {
      ++sequences_;
      i += length;
    }
  }
}

ByteEncoding EncodingOfMostlyUtf8(std::string_view bytes) {
  Utf8Count count;
  count.add(bytes);
  return count.encoding();
}

std::string Utf8Of(std::string_view bytes) {
  if (EncodingOfMostlyUtf8(bytes) == ByteEncoding::Utf8) return std::string(bytes);
  std::string text;
  text.reserve(bytes.size() * 2);
  for (const char c : bytes) AppendUtf8(text, AnsiByteToChar(static_cast<unsigned char>(c)));
  return text;
}

std::string DeclaredCodePage(std::string_view bytes) {
  constexpr std::string_view kKey = "CHARSET";
  std::string found;
  bool several = false;
  // Each "=" (far rarer than letters) that ends "CHARSET", in any letter case,
  // with a ";" (and blanks) before it, as in a parameter.
  for (std::size_t at = bytes.find('='); at != std::string_view::npos; at = bytes.find('=', at + 1)) {
    if (at < kKey.size()) continue;
    std::size_t start = at - kKey.size();
    bool isKey = true;
    for (std::size_t k = 0; k < kKey.size() && isKey; ++k) isKey = UpperAscii(bytes[start + k]) == kKey[k];
    if (!isKey) continue;
    while (start > 0 && (bytes[start - 1] == ' ' || bytes[start - 1] == '\t')) --start;
    if (start == 0 || bytes[start - 1] != ';') continue;
    std::string_view rest = bytes.substr(at + 1);
    if (!rest.empty() && rest.front() == '"') rest.remove_prefix(1);
    const std::string name =
        UpperCaseCopy(rest.substr(0, std::min(rest.find_first_of(";:,\"\r\n"), std::size_t{64})));
    // Only a code page of one byte a character (or a few: Shift_JIS, GBK, ...) can be
    // what 8-bit text stands in; UTF-16 and its kind cannot.
    if (name.empty() || name == "US-ASCII" || name == "ASCII" || name.starts_with("UTF") ||
        name.starts_with("UCS") || name.starts_with("UNICODE"))
      continue;
    if (found.empty()) {
      found = name;
    } else if (found != name) {
      several = true;
    }
  }
  // Several: none of them speaks for the rest.
  return several ? std::string() : found;
}

ContactBytes::ContactBytes(const InputText& input) {
  if (input.utf16()) {
    std::u16string_view chars = input.chars();
    if (!chars.empty() && chars.front() == 0xFEFF) chars.remove_prefix(1);
    converted_.reserve(chars.size() + 1);
    for (std::size_t i = 0; i < chars.size();) AppendUtf8(converted_, NextCodePoint(chars, i));
    // Never empty, so that fromUtf16() tells; the NUL is no part of the bytes.
    converted_ += '\0';
    bytes_ = std::string_view(converted_).substr(0, converted_.size() - 1);
    return;
  }
  bytes_ = input.ansi();
  if (bytes_.starts_with("\xEF\xBB\xBF")) bytes_.remove_prefix(3);
}

char32_t NextCodePoint(std::u16string_view chars, std::size_t& i) {
  const char32_t c = chars[i++];
  if (c >= 0xD800 && c <= 0xDBFF && i < chars.size() && chars[i] >= 0xDC00 && chars[i] <= 0xDFFF)
    return 0x10000 + ((c - 0xD800) << 10) + (chars[i++] - 0xDC00);
  return c >= 0xD800 && c <= 0xDFFF ? 0xFFFD : c;
}

bool IsUtf8(std::string_view bytes) {
  std::size_t i = 0;
  while ((i = AsciiRunEnd(bytes, i)) < bytes.size()) {
    char32_t ignored;
    const std::size_t length = Utf8SequenceAt(bytes, i, ignored);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

void DecodeQuotedPrintable(std::string_view in, std::string& out) {
  out.clear();
  std::size_t start = 0;
  for (std::size_t i = in.find('='); i != std::string_view::npos; i = in.find('=', i)) {
    const int high = i + 1 < in.size() ? HexDigit(in[i + 1]) : -1;
    const int low = i + 2 < in.size() ? HexDigit(in[i + 2]) : -1;
    if (high < 0 || low < 0) {
      // Not an encoded byte: the "=" stays, unless it follows an encoded line
      // break ("=0D=0A=two", as some exporters write): a soft break whose line end got lost.
      if (i > start || out.empty() || out.back() != '\n') {
        ++i;
        continue;
      }
      start = ++i;
      continue;
    }
    out.append(in.substr(start, i - start));
    out += static_cast<char>(high << 4 | low);
    i += 3;
    start = i;
  }
  out.append(in.substr(start));
}

std::size_t DecodeQuotedPrintableInPlace(char* text, std::size_t size) {
  std::size_t out = 0;
  bool afterEncoded = false;  // nothing but encoded bytes (and dropped "=") since the last literal one
  for (std::size_t i = 0; i < size;) {
    if (text[i] != '=') {
      text[out++] = text[i++];
      afterEncoded = false;
      continue;
    }
    const int high = i + 1 < size ? HexDigit(text[i + 1]) : -1;
    const int low = i + 2 < size ? HexDigit(text[i + 2]) : -1;
    if (high >= 0 && low >= 0) {
      text[out++] = static_cast<char>(high << 4 | low);
      i += 3;
      afterEncoded = true;
    } else {
      // As above: an "=" right after an encoded line feed goes, any other stays.
      if (!afterEncoded || text[out - 1] != '\n') {
        text[out++] = '=';
        afterEncoded = false;
      }
      ++i;
    }
  }
  return out;
}

CharsetDecoder::~CharsetDecoder() {
  for (const Converter& converter : converters_) CloseCharsetConverter(converter.handle);
}

void* CharsetDecoder::converterFor(std::string_view charset) {
  const std::string name = UpperCaseCopy(charset);
  ++uses_;
  for (Converter& converter : converters_) {
    if (converter.name == name) {
      converter.lastUse = uses_;
      return converter.handle;
    }
  }
  // A few names each file repeats; a name the system does not know is
  // remembered as refused. Past that many names, the one used longest ago gives way.
  constexpr std::size_t kMostNames = 16;
  if (converters_.size() >= kMostNames) {
    const auto oldest =
        std::min_element(converters_.begin(), converters_.end(),
                         [](const Converter& a, const Converter& b) { return a.lastUse < b.lastUse; });
    CloseCharsetConverter(oldest->handle);
    converters_.erase(oldest);
  }
  CharsetConverter handle = OpenCharsetConverter(name);
  converters_.push_back({name, handle, uses_});
  return handle;
}

bool CharsetDecoder::appendAsUtf8(std::string& out, std::string_view charset, std::string_view bytes) {
  return AppendCharsetAsUtf8(converterFor(charset), out, bytes);
}

}  // namespace brevant
