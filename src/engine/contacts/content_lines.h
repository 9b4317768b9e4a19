#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "engine/contacts/address_book_properties.h"
#include "engine/scan/property_names.h"

namespace brevant {

// Type words, from TYPE parameters in every form (TYPE=WORK,FAX;
// TYPE=work;TYPE=fax; the bare WORK;FAX of vCard 2.1; TYPE="work,voice").
enum TypeWord : unsigned { kTypeWork = 1, kTypeFax = 2, kTypeCell = 4, kTypePager = 8, kTypeHome = 16 };

// One property of a contact, its lines joined again.
// Its views stay valid until the next line is taken.
struct ContentLine {
  PropertyName name = PropertyName::Other;
  // For a name that neither reader's table holds: what the address books'
  // table says of it (nullptr: a property of no known meaning, which a person may have typed).
  const AddressBookProperty* book = nullptr;
  unsigned types = 0;  // TypeWord bits
  bool quotedPrintable = false;
  bool base64 = false;         // ENCODING=b or BASE64
  std::string_view nameText;   // as written, without its group
  std::string_view group;      // "item1" of item1.TEL; empty when none
  std::string_view typeWord;   // the first type word that is none of the TypeWord bits nor PREF, VOICE, ...
  std::string_view mediaType;  // MEDIATYPE
  std::string_view charset;    // empty when none is given
  std::string_view service;    // X-SERVICE-TYPE of an IMPP
  std::string_view omitYear;   // X-APPLE-OMIT-YEAR: the year that stands for none
  // As written (still encoded and escaped); empty for a property that is left
  // out. A picture, key or sound stands as it does in the text, its folded
  // lines and line breaks and all, and is never copied.
  std::string_view value;
};

// Whether a property's value is kept at all: machine data is passed over.
bool KeepsValue(const ContentLine& line);

// The lines of a contact file (ended by CR LF, LF, CR alone or CR CR LF), one at a time.
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
  std::size_t position() const { return pos_; }
  std::size_t remaining() const { return text_.size() - pos_; }
  // Whether a line end follows a line of this text (the last line may have none).
  bool endsLine(std::string_view line) const {
    return line.data() + line.size() < text_.data() + text_.size();
  }

 private:
  std::size_t lineEnd();
  std::string_view text_;
  std::size_t pos_ = 0;
};

// 1 for a BEGIN:VCARD line, 2 for END:VCARD (letter case and blanks aside), else 0.
int BlockMark(std::string_view line);

// Cuts a contact file into properties: a line break followed by a blank or tab
// continues the line; a quoted-printable value ending in "=" goes on on the
// next line (never on a BEGIN:VCARD or END:VCARD line), and past blank lines
// unless what follows them begins a property; the "=" that ends a value so
// goes. The bare lines of an old-style base64 value (a photo, say) belong to it.
class ContentLines {
 public:
  explicit ContentLines(std::string_view text) : lines_(text) {}
  // vCard 2.1 keeps the blank that starts a continued line; later versions drop it.
  void setKeepFoldingBlank(bool keep) { keepBlank_ = keep; }
  // False at the end of the text.
  bool next(ContentLine& line);
  // A line of several physical lines is joined at the end of this text (one
  // of its own by default), where the caller may keep it, change it in place
  // or cut it off again: joining a line never copies it once more.
  void setJoinTo(std::string& text) { joinTo_ = &text; }
  // Where the line given last begins in the join text; npos when it stood on one physical line.
  std::size_t joinedAt() const { return joined_ ? joinStart_ : std::string::npos; }

  // Called every few thousand physical lines and every few megabytes, so that
  // a caller can give the window a turn however the text is made.
  void setTurn(std::function<void()> turn) { turn_ = std::move(turn); }

 private:
  std::string_view takeLine();
  std::string_view asWritten() const;
  std::string_view joinedText() const { return std::string_view(*joinTo_).substr(joinStart_); }
  void append(std::string_view piece);
  void takeFolds();
  void skipBase64Lines();

  PhysicalLines lines_;
  bool keepBlank_ = false;
  // The line at hand: its first physical line, and the whole joined line once it has more.
  std::string_view first_;
  std::string_view last_;   // the physical line of the value taken last
  std::string_view taken_;  // the physical line taken last
  bool joined_ = false;
  std::string ownJoined_;
  std::string* joinTo_ = &ownJoined_;
  std::size_t joinStart_ = 0;
  // Where its name and parameters end, once known; whether its pieces must be kept.
  std::size_t headEnd_ = std::string_view::npos;
  bool softBreaks_ = false;
  bool keepText_ = true;
  std::string headCopy_;  // a head that was folded, apart from the line that goes on growing
  std::string charset_;
  std::function<void()> turn_;
  std::size_t linesSinceTurn_ = 0;
  std::size_t positionAtTurn_ = 0;
};

}  // namespace brevant
