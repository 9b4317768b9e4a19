#include "engine/contact_text.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

namespace brevant {

namespace {

constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

void AppendCodePoint(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Length of the valid UTF-8 sequence at i (2 to 4 bytes, the first one not
// ASCII), or 0 when the bytes there are no valid sequence.
std::size_t SequenceLength(std::string_view bytes, std::size_t i) {
  const auto at = [&](std::size_t k) { return static_cast<unsigned char>(bytes[i + k]); };
  const auto continuation = [&](std::size_t k) { return i + k < bytes.size() && (at(k) & 0xC0) == 0x80; };
  const unsigned lead = at(0);
  if (lead >= 0xC2 && lead <= 0xDF) return continuation(1) ? 2 : 0;
  if (lead >= 0xE0 && lead <= 0xEF) {
    if (!continuation(1) || !continuation(2)) return 0;
    if (lead == 0xE0 && at(1) < 0xA0) return 0;   // overlong
    if (lead == 0xED && at(1) >= 0xA0) return 0;  // surrogate
    return 3;
  }
  if (lead >= 0xF0 && lead <= 0xF4) {
    if (!continuation(1) || !continuation(2) || !continuation(3)) return 0;
    if (lead == 0xF0 && at(1) < 0x90) return 0;   // overlong
    if (lead == 0xF4 && at(1) >= 0x90) return 0;  // beyond U+10FFFF
    return 4;
  }
  return 0;
}

// Length of the leading ASCII run, eight bytes at a time.
std::size_t AsciiRun(std::string_view bytes, std::size_t from) {
  std::size_t i = from;
  for (std::uint64_t eight; i + 8 <= bytes.size(); i += 8) {
    std::memcpy(&eight, bytes.data() + i, 8);
    if (eight & kHighBits) break;
  }
  while (i < bytes.size() && static_cast<unsigned char>(bytes[i]) < 0x80) ++i;
  return i - from;
}

void AppendUtf16AsUtf8(std::string& out, std::u16string_view text) {
  out.reserve(text.size() + text.size() / 2);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t ch = text[i];
    if (ch >= 0xD800 && ch <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      AppendCodePoint(out, 0x10000 + ((ch - 0xD800) << 10) + (text[i + 1] - 0xDC00));
      ++i;
    } else if (ch >= 0xD800 && ch <= 0xDFFF) {
      AppendCodePoint(out, 0xFFFD);  // a lone surrogate
    } else {
      AppendCodePoint(out, ch);
    }
  }
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string UpperAscii(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

}  // namespace

ContactBytes::ContactBytes(const InputText& input) {
  if (input.utf16()) {
    std::u16string_view chars = input.chars();
    if (!chars.empty() && chars.front() == 0xFEFF) chars.remove_prefix(1);
    AppendUtf16AsUtf8(converted_, chars);
    bytes_ = converted_;
    return;
  }
  bytes_ = input.ansi();
  const bool marked = bytes_.starts_with("\xEF\xBB\xBF");
  if (marked) bytes_.remove_prefix(3);
  wellFormed_ = IsUtf8(bytes_);
  if (!marked && !wellFormed_) encoding_ = ByteEncoding::Windows1252;
}

bool IsUtf8(std::string_view bytes) {
  std::size_t i = 0;
  while ((i += AsciiRun(bytes, i)) < bytes.size()) {
    const std::size_t length = SequenceLength(bytes, i);
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
      ++i;  // not an encoded byte: the "=" stays
      continue;
    }
    out.append(in.substr(start, i - start));
    out += static_cast<char>(high << 4 | low);
    i += 3;
    start = i;
  }
  out.append(in.substr(start));
}

CharsetDecoder::~CharsetDecoder() {
  for (const Converter& converter : converters_) {
    if (converter.handle != kNoConverter) iconv_close(static_cast<iconv_t>(converter.handle));
  }
}

void* CharsetDecoder::converterFor(std::string_view charset) {
  const std::string name = UpperAscii(charset);
  for (const Converter& converter : converters_) {
    if (converter.name == name) return converter.handle;
  }
  // A few names each file repeats; anything odd is refused once and remembered.
  constexpr std::size_t kMostNames = 16;
  if (converters_.size() >= kMostNames) return kNoConverter;
  const iconv_t handle =
      name.empty() || name.find('/') != std::string::npos ? kNoConverter : iconv_open("UTF-8", name.c_str());
  converters_.push_back({name, handle});
  return handle;
}

bool CharsetDecoder::appendAsUtf8(std::string& out, std::string_view charset, std::string_view bytes) {
  const auto handle = static_cast<iconv_t>(converterFor(charset));
  if (handle == kNoConverter) return false;
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
