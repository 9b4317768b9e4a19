#include "engine/contact_reader.h"

#include <algorithm>
#include <array>
#include <string>

#include "engine/ascii_html.h"
#include "engine/contact_text.h"
#include "engine/content_lines.h"
#include "engine/packed_name.h"

namespace brevant {

namespace {

constexpr std::size_t kNone = std::string_view::npos;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool StartsWithUpper(std::string_view text, std::string_view upper) {
  if (text.size() < upper.size()) return false;
  for (std::size_t i = 0; i < upper.size(); ++i) {
    char c = text[i];
    c = UpperAscii(c);
    if (c != upper[i]) return false;
  }
  return true;
}

bool IsWord(std::string_view text, std::string_view upper) {
  text = Trim(text);
  return text.size() == upper.size() && StartsWithUpper(text, upper);
}

bool IsUtf8Name(std::string_view charset) { return IsWord(charset, "UTF-8") || IsWord(charset, "UTF8"); }

// Backslash escapes: \n and \N are line breaks; \, \; \: and \\ the character
// itself. Any other backslash stays as it is written.
void AppendUnescaped(std::string& out, std::string_view text) {
  std::size_t start = 0;
  for (std::size_t i = text.find('\\'); i != kNone; i = text.find('\\', i)) {
    if (i + 1 == text.size()) break;
    const char next = text[i + 1];
    const bool lineBreak = next == 'n' || next == 'N';
    if (!lineBreak && next != ',' && next != ';' && next != ':' && next != '\\') {
      ++i;
      continue;
    }
    out.append(text.substr(start, i - start));
    out += lineBreak ? '\n' : next;
    i += 2;
    start = i;
  }
  out.append(text.substr(start));
}

// Cuts a structured value at every ";" that no backslash escapes.
void CutComponents(std::string_view text, std::vector<std::string_view>& parts) {
  parts.clear();
  std::size_t start = 0;
  if (text.find('\\') == kNone) {  // the usual case, with the library's fast search
    for (std::size_t semicolon; (semicolon = text.find(';', start)) != kNone; start = semicolon + 1) {
      parts.push_back(text.substr(start, semicolon - start));
    }
    parts.push_back(text.substr(start));
    return;
  }
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\') {
      ++i;
    } else if (text[i] == ';') {
      parts.push_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  parts.push_back(text.substr(start));
}

class ContactReader {
 public:
  ContactReader(const ContactBytes& bytes, ContactSink& sink)
      : bytes_(bytes), sink_(sink), start_(sink.values().size()) {}

  void read() {
    ContentLines lines(bytes_.bytes());
    // Until the first block, the file may turn out to have none and be one contact.
    bool sawBlock = false;
    bool inContact = true;
    std::size_t nested = 0;
    bool agentOpen = false;  // the last property was an agent whose value follows as a block
    ContentLine line;
    while (lines.next(line)) {
      const bool begin = line.name == PropertyName::Begin && IsWord(line.value, "VCARD");
      const bool end = line.name == PropertyName::End && IsWord(line.value, "VCARD");
      if (begin && sawBlock && inContact && (nested > 0 || agentOpen)) {
        ++nested;
      } else if (begin) {
        if (!sawBlock) {
          dropContact();  // text outside the blocks
          sawBlock = true;
        } else if (inContact) {
          finishContact();  // its END is missing
        }
        inContact = true;
        lines.setKeepFoldingBlank(false);
      } else if (end && sawBlock) {
        if (nested > 0) {
          --nested;
        } else if (inContact) {
          finishContact();
          inContact = false;
        }
      } else if (inContact && nested == 0) {
        if (line.name == PropertyName::Version) lines.setKeepFoldingBlank(IsWord(line.value, "2.1"));
        property(line);
      }
      agentOpen = line.name == PropertyName::Agent && Trim(line.value).empty();
    }
    if (inContact) finishContact();
  }

 private:
  void dropContact() {
    sink_.values().resize(start_);
    cells_.clear();
    counts_.fill(0);
  }

  void finishContact() {
    std::string& values = sink_.values();
    sink_.contact(Contact{cells_, std::string_view(values).substr(std::min(start_, values.size()))});
    cells_.clear();
    counts_.fill(0);
    start_ = sink_.values().size();
  }

  // The bytes of the value with quoted-printable decoded, and how to read
  // them: in the value's CHARSET when it has one that only bytes not read as
  // UTF-8 can need, else in the file's own encoding; quoted-printable bytes as
  // UTF-8 where they are valid UTF-8.
  std::string_view decode(const ContentLine& line) {
    std::string_view bytes = line.value;
    encoding_ = bytes_.encoding();
    if (line.quotedPrintable) {
      DecodeQuotedPrintable(bytes, quotedPrintable_);
      bytes = quotedPrintable_;
      encoding_ = ByteEncoding::Utf8;
    }
    if (line.charset.empty() || (!line.quotedPrintable && bytes_.encoding() == ByteEncoding::Utf8))
      return bytes;
    if (IsUtf8Name(line.charset)) {
      encoding_ = ByteEncoding::Utf8;
      return bytes;
    }
    decoded_.clear();
    if (!charsets_.appendAsUtf8(decoded_, line.charset, bytes)) return bytes;
    encoding_ = ByteEncoding::Utf8;
    return decoded_;
  }

  std::string_view unescaped(std::string_view text) {
    if (text.find('\\') == kNone) return text;
    unescaped_.clear();
    AppendUnescaped(unescaped_, text);
    return unescaped_;
  }

  // A cell, unless the value is empty; a caption met again in the contact is numbered.
  void emit(Caption caption, std::string_view text) {
    text = Trim(text);
    if (text.empty()) return;
    std::string& values = sink_.values();
    const std::size_t offset = values.size();
    AppendAsciiHtml(values, text, encoding_);
    cells_.push_back({CaptionKey{caption, ++counts_[static_cast<std::size_t>(caption)]}, offset - start_,
                      values.size() - offset});
  }

  void emitComponent(Caption caption, std::size_t index) {
    if (index < parts_.size()) emit(caption, unescaped(parts_[index]));
  }

  void property(const ContentLine& line) {
    switch (line.name) {
      case PropertyName::FN:
        return emit(Caption::DisplayName, unescaped(decode(line)));
      case PropertyName::N:
        CutComponents(decode(line), parts_);
        emitComponent(Caption::LastName, 0);
        return emitComponent(Caption::FirstName, 1);
      case PropertyName::ORG:
        return organisation(decode(line));
      case PropertyName::BDAY:
        return emit(Caption::Birthday, unescaped(decode(line)));
      case PropertyName::NICKNAME:
        return emit(Caption::Nickname, unescaped(decode(line)));
      case PropertyName::TITLE:
        return emit(Caption::JobTitle, unescaped(decode(line)));
      case PropertyName::ROLE:
        return emit(Caption::Role, unescaped(decode(line)));
      case PropertyName::EMAIL:
        return emit(Caption::EmailAddress, unescaped(decode(line)));
      case PropertyName::URL:
        return emit(Caption::Website, unescaped(decode(line)));
      case PropertyName::NOTE:
        return emit(Caption::Notes, unescaped(decode(line)));
      case PropertyName::ADR:
        return address(decode(line), (line.types & kTypeWork) != 0);
      case PropertyName::TEL:
        return telephone(unescaped(decode(line)), line.types);
      default:
        return;
    }
  }

  // The components from `from` up to `to` that are not empty, joined by the separator.
  std::string_view joinComponents(std::size_t from, std::size_t to, std::string_view separator) {
    joined_.clear();
    for (std::size_t i = from; i < to && i < parts_.size(); ++i) {
      const std::string_view part = Trim(unescaped(parts_[i]));
      if (part.empty()) continue;
      if (!joined_.empty()) joined_ += separator;
      joined_.append(part);
    }
    return joined_;
  }

  // Organisation units, those not empty, joined by ", ".
  void organisation(std::string_view value) {
    CutComponents(value, parts_);
    emit(Caption::Organization, joinComponents(0, parts_.size(), ", "));
  }

  // Post-office box, extended address, street, city, region, postal code,
  // country. The first of box, extended address and street that is given is
  // Address 1, the others are Address 2, one a line; components past the
  // seventh join the country.
  void address(std::string_view value, bool business) {
    CutComponents(value, parts_);
    const Caption first = business ? Caption::BusinessAddress1 : Caption::HomeAddress1;
    const auto caption = [first](int offset) {
      return static_cast<Caption>(static_cast<int>(first) + offset);
    };
    std::size_t line = 0;
    while (line < 3 && line < parts_.size() && Trim(unescaped(parts_[line])).empty()) ++line;
    if (line < 3) emitComponent(caption(0), line);
    emit(caption(1), joinComponents(line + 1, 3, "\n"));
    for (std::size_t i = 3; i < 6; ++i) emitComponent(caption(static_cast<int>(i) - 1), i);
    emit(caption(5), joinComponents(6, parts_.size(), ", "));
  }

  // A tel: URI keeps just the number (and its extension).
  void telephone(std::string_view value, unsigned types) {
    value = Trim(value);
    std::string number;
    if (StartsWithUpper(value, "TEL:")) {
      value.remove_prefix(4);
      const std::size_t semicolon = value.find(';');
      number.assign(value.substr(0, semicolon));
      for (std::size_t at = semicolon; at != kNone; at = value.find(';', at + 1)) {
        if (StartsWithUpper(value.substr(at + 1), "EXT=")) {
          number += " ext. ";
          number.append(value.substr(at + 5, value.find(';', at + 1) - (at + 5)));
        }
      }
      value = number;
    }
    Caption caption = Caption::HomePhone;
    if (types & kTypeFax) {
      caption = (types & kTypeWork) ? Caption::BusinessFax : Caption::HomeFax;
    } else if (types & kTypeCell) {
      caption = Caption::MobilePhone;
    } else if (types & kTypePager) {
      caption = Caption::Pager;
    } else if (types & kTypeWork) {
      caption = Caption::BusinessPhone;
    }
    emit(caption, value);
  }

  const ContactBytes& bytes_;
  ContactSink& sink_;
  CharsetDecoder charsets_;
  std::array<std::uint64_t, kCaptionCount> counts_{};
  std::vector<ContactCell> cells_;
  std::size_t start_ = 0;                       // where the contact's values begin in the sink's text
  ByteEncoding encoding_ = ByteEncoding::Utf8;  // of the value at hand
  std::string quotedPrintable_;
  std::string decoded_;
  std::string unescaped_;
  std::string joined_;
  std::vector<std::string_view> parts_;
};

}  // namespace

void ReadContacts(const InputText& input, ContactSink& sink) {
  const ContactBytes bytes(input);
  ContactReader(bytes, sink).read();
}

}  // namespace brevant
