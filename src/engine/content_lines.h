#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace brevant {

// The properties that the full reading maps or needs for its structure.
enum class PropertyName : std::uint8_t {
  Other,
  Begin,
  End,
  Version,
  Agent,
  FN,
  N,
  ORG,
  BDAY,
  NICKNAME,
  TITLE,
  ROLE,
  EMAIL,
  URL,
  NOTE,
  ADR,
  TEL,
};

// Type words, from TYPE parameters in every form (TYPE=WORK,FAX;
// TYPE=work;TYPE=fax; the bare WORK;FAX of vCard 2.1; TYPE="work,voice").
enum TypeWord : unsigned { kTypeWork = 1, kTypeFax = 2, kTypeCell = 4, kTypePager = 8 };

// One property of a contact, its lines joined again.
struct ContentLine {
  PropertyName name = PropertyName::Other;
  unsigned types = 0;  // TypeWord bits
  bool quotedPrintable = false;
  std::string_view charset;  // empty when none is given
  std::string_view value;    // as written (still encoded and escaped); empty for Other
};

// The lines of a contact file (ended by CR LF, LF or CR alone), one at a time.
// The search for a line's end runs forward only; peeking at the next line and
// then taking it searches it twice at most.
class PhysicalLines {
 public:
  explicit PhysicalLines(std::string_view text) : text_(text) {}
  bool atEnd() const { return pos_ >= text_.size(); }
  // The first byte of the next line ('\0' at the end).
  char peekByte() const { return atEnd() ? '\0' : text_[pos_]; }
  std::string_view peek() { return text_.substr(pos_, lineEnd() - pos_); }
  std::string_view take();

 private:
  std::size_t lineEnd();
  std::string_view text_;
  std::size_t pos_ = 0;
};

// 1 for a BEGIN:VCARD line, 2 for END:VCARD (letter case and blanks aside), else 0.
int BlockMark(std::string_view line);

// Cuts a contact file into properties: a line break followed by a blank or tab
// continues the line; a quoted-printable value ending in "=" goes on on the
// next line (never on a BEGIN:VCARD or END:VCARD line); the bare lines of an
// old-style base64 value (a photo, say) belong to it and are skipped.
class ContentLines {
 public:
  explicit ContentLines(std::string_view text) : lines_(text) {}
  // vCard 2.1 keeps the blank that starts a continued line; later versions drop it.
  void setKeepFoldingBlank(bool keep) { keepBlank_ = keep; }
  // False at the end of the text.
  bool next(ContentLine& line);

 private:
  void takeFolds();
  void skipBase64Lines();

  PhysicalLines lines_;
  bool keepBlank_ = false;
  std::vector<std::string_view> pieces_;
  std::string joined_;
  std::string charset_;
};

}  // namespace brevant
