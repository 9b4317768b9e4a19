#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/text/file_text.h"
#include "support/text/utf8.h"

namespace brevant {

// How the bytes of one value stand for characters: UTF-8 (a byte that is no
// part of a valid sequence reads as U+FFFD), or Windows-1252 throughout.
enum class ByteEncoding : std::uint8_t { Utf8, Windows1252 };

// A value that is valid UTF-8 is UTF-8; any other is Windows-1252, so one stray
// byte elsewhere in the file does not change how a value reads.
ByteEncoding EncodingOfValue(std::string_view bytes);

// The valid UTF-8 sequences of two to four bytes in a value, and the bytes
// that belong to none, counted a slice at a time (a slice never ends inside a
// sequence). A value whose sequences are at least as many as its stray bytes
// is UTF-8 with a few bad bytes (one broken character in a name of forty
// good ones): it keeps its characters. Any other value that is not valid
// UTF-8 is Windows-1252.
class Utf8Count {
 public:
  void add(std::string_view slice);
  ByteEncoding encoding() const {
    return strays_ == 0 || (sequences_ > 0 && sequences_ >= strays_) ? ByteEncoding::Utf8
                                                                     : ByteEncoding::Windows1252;
  }

 private:
  std::uint64_t sequences_ = 0;
  std::uint64_t strays_ = 0;
};
ByteEncoding EncodingOfMostlyUtf8(std::string_view bytes);
// The text in UTF-8: as it is when it is mostly UTF-8, else read as Windows-1252.
std::string Utf8Of(std::string_view bytes);

// The one code page that a contact file names in its CHARSET parameters
// besides ASCII and the Unicode forms (a file that declares Windows-1253 on
// one line is written in it where it says nothing); empty when it names none,
// or several.
std::string DeclaredCodePage(std::string_view bytes);

// A contact file as bytes to read: UTF-16 input turned into UTF-8 (a lone
// surrogate becomes U+FFFD), a byte-order mark left out.
class ContactBytes {
 public:
  explicit ContactBytes(const InputText& input);
  ContactBytes(const ContactBytes&) = delete;
  ContactBytes& operator=(const ContactBytes&) = delete;

  std::string_view bytes() const { return bytes_; }
  // The file's own characters were UTF-16: its bytes here are ours, and a
  // CHARSET can only speak of quoted-printable bytes.
  bool fromUtf16() const { return !converted_.empty(); }

 private:
  std::string converted_;  // only for UTF-16 input
  std::string_view bytes_;
};

// The code point of the UTF-16 character at i (a surrogate pair is one, a lone
// surrogate U+FFFD); i moves past it.
char32_t NextCodePoint(std::u16string_view chars, std::size_t& i);

// True when the bytes are well-formed UTF-8 (ASCII runs are checked eight bytes at a time).
bool IsUtf8(std::string_view bytes);

// Quoted-printable: "=XY" (either letter case) is one byte; an "=" that starts
// no such pair stays as it is, unless it directly follows an encoded line feed.
void DecodeQuotedPrintable(std::string_view in, std::string& out);
// The same, in place (the decoded bytes are never more); gives their number.
std::size_t DecodeQuotedPrintableInPlace(char* text, std::size_t size);

// Turns bytes of a named character set into UTF-8 with the system's converters.
// Converters are opened once per name and kept; past a few names the one
// used longest ago makes room.
class CharsetDecoder {
 public:
  CharsetDecoder() = default;
  ~CharsetDecoder();
  CharsetDecoder(const CharsetDecoder&) = delete;
  CharsetDecoder& operator=(const CharsetDecoder&) = delete;

  // False, with `out` unchanged, for an unknown character set or bytes that are
  // not valid in it.
  bool appendAsUtf8(std::string& out, std::string_view charset, std::string_view bytes);

 private:
  struct Converter {
    std::string name;  // upper-case
    void* handle;      // nullptr for a name the system does not know
    std::uint64_t lastUse;
  };
  void* converterFor(std::string_view charset);
  std::vector<Converter> converters_;
  std::uint64_t uses_ = 0;
};

}  // namespace brevant
