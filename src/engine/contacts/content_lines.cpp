#include "engine/contacts/content_lines.h"

#include <algorithm>
#include <cstring>

#include "engine/text/packed_name.h"
#include "support/text/byte_search.h"

namespace brevant {

namespace {

constexpr std::size_t kNone = std::string_view::npos;

bool EqualsUpper(std::string_view text, std::string_view upper) {
  if (text.size() != upper.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (UpperAscii(text[i]) != upper[i]) return false;
  }
  return true;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

std::string_view Unquoted(std::string_view text) {
  text = Trim(text);
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') text = text.substr(1, text.size() - 2);
  return text;
}

// Where the name and parameters end: the first ":" outside double quotes (the
// first ":" at all when a quote is left open); kNone when there is none.
std::size_t HeadEnd(std::string_view line) {
  std::size_t i = 0;
  while (i < line.size() && line[i] != ':' && line[i] != '"') ++i;
  if (i == line.size() || line[i] == ':') return i == line.size() ? kNone : i;
  bool quoted = false;
  for (; i < line.size(); ++i) {
    if (line[i] == '"') {
      quoted = !quoted;
    } else if (line[i] == ':' && !quoted) {
      return i;
    }
  }
  return line.find(':');
}

// Calls piece(text) for every piece of the text between separators outside quotes.
template <class Piece>
void ForEachPiece(std::string_view text, char separator, Piece&& piece) {
  bool quoted = false;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || (text[i] == separator && !quoted)) {
      piece(text.substr(start, i - start));
      start = i + 1;
    } else if (text[i] == '"') {
      quoted = !quoted;
    }
  }
}

// What a type word (unquoted) says: its TypeWord bit; kSaysNothing for a
// word that says nothing a column shows (PREF, VOICE, INTERNET, ...); 0 for
// any other, which may name a label. Sorted out by length first: a head has
// a few type words, and every line has a head.
constexpr unsigned kSaysNothing = 1u << 31;
unsigned ClassifyTypeWord(std::string_view word) {
  const auto is = [&](std::string_view upper) { return EqualsUpper(word, upper); };
  switch (word.size()) {
    case 0:
      return kSaysNothing;
    case 1:
      return word[0] >= '0' && word[0] <= '9' ? kSaysNothing : 0;
    case 3:
      if (is("FAX")) return kTypeFax;
      return is("MSG") || is("DOM") ? kSaysNothing : 0;
    case 4:
      if (is("WORK")) return kTypeWork;
      if (is("CELL")) return kTypeCell;
      if (is("HOME")) return kTypeHome;
      return is("PREF") || is("X400") || is("INTL") || is("8BIT") || is("7BIT") ? kSaysNothing : 0;
    case 5:
      if (is("PAGER")) return kTypePager;
      return is("VOICE") ? kSaysNothing : 0;
    case 6:
      if (is("IPHONE") || is("MOBILE")) return kTypeCell;
      return is("POSTAL") || is("PARCEL") || is("BASE64") ? kSaysNothing : 0;
    case 7:  // a kind of fax in one word, as some exports write it: "homeFax"
      if (is("HOMEFAX")) return kTypeHome | kTypeFax;
      return is("WORKFAX") ? kTypeWork | kTypeFax : 0;
    case 8:
      if (is("OTHERFAX")) return kTypeFax;
      return is("INTERNET") ? kSaysNothing : 0;
    case 11:
      return is("BUSINESSFAX") ? kTypeWork | kTypeFax : 0;
    case 16:
      return is("QUOTED-PRINTABLE") ? kSaysNothing : 0;
    default:
      return 0;
  }
}

void TypeWordSeen(ContentLine& line, std::string_view word) {
  word = Unquoted(word);
  const unsigned says = ClassifyTypeWord(word);
  line.types |= says & ~kSaysNothing;
  if (says == 0 && line.typeWord.empty()) line.typeWord = word;
}

// Every field afresh, one store each: a whole line cleared at once is
// cleared by "rep stos", whose start costs more than parsing a short head.
void Reset(ContentLine& line) {
  // A field added changes the size: checked where the size is known (64-bit builds).
  static_assert(sizeof(void*) != 8 || sizeof(ContentLine) == 152, "every field is reset below");
  line.name = PropertyName::Other;
  line.book = nullptr;
  line.types = 0;
  line.quotedPrintable = false;
  line.base64 = false;
  line.nameText = {};
  line.group = {};
  line.typeWord = {};
  line.mediaType = {};
  line.charset = {};
  line.service = {};
  line.omitYear = {};
  line.value = {};
}

// The name and parameters of a line, into `parsed`; its value stays empty.
void ParseHead(std::string_view head, ContentLine& parsed) {
  Reset(parsed);
  bool first = true;
  ForEachPiece(head, ';', [&](std::string_view piece) {
    if (first) {
      parsed.nameText = Trim(piece);
      if (const std::size_t dot = parsed.nameText.rfind('.'); dot != kNone) {  // item1.EMAIL
        parsed.group = parsed.nameText.substr(0, dot);
        parsed.nameText.remove_prefix(dot + 1);
      }
      parsed.name = FindPropertyName(parsed.nameText).name;
      if (parsed.name == PropertyName::Other) parsed.book = FindAddressBookProperty(parsed.nameText);
      first = false;
      return;
    }
    piece = Trim(piece);
    const std::size_t equals = piece.find('=');
    if (equals == kNone) {  // vCard 2.1's bare parameters, also in a list (TEL;FAX,WORK)
      ForEachPiece(piece, ',', [&](std::string_view word) {
        word = Trim(word);
        if (EqualsUpper(word, "QUOTED-PRINTABLE")) parsed.quotedPrintable = true;
        if (EqualsUpper(word, "BASE64")) parsed.base64 = true;
        TypeWordSeen(parsed, word);
      });
      return;
    }
    const std::string_view key = Trim(piece.substr(0, equals));
    const std::string_view values = piece.substr(equals + 1);
    if (EqualsUpper(key, "TYPE")) {
      ForEachPiece(values, ',', [&](std::string_view word) {
        // 4.0 quotes the whole list: TYPE="work,voice".
        const std::string_view inner = Unquoted(word);
        if (inner.size() + 2 <= word.size() && inner.find(',') != kNone) {
          ForEachPiece(inner, ',', [&](std::string_view each) { TypeWordSeen(parsed, each); });
        } else {
          TypeWordSeen(parsed, word);
        }
      });
    } else if (EqualsUpper(key, "ENCODING")) {
      const std::string_view encoding = Unquoted(values);
      if (EqualsUpper(encoding, "QUOTED-PRINTABLE")) parsed.quotedPrintable = true;
      if (EqualsUpper(encoding, "BASE64") || EqualsUpper(encoding, "B")) parsed.base64 = true;
    } else if (EqualsUpper(key, "CHARSET")) {
      parsed.charset = Unquoted(values);
    } else if (EqualsUpper(key, "X-SERVICE-TYPE")) {
      parsed.service = Unquoted(values);
    } else if (EqualsUpper(key, "X-APPLE-OMIT-YEAR")) {
      parsed.omitYear = Unquoted(values);
    } else if (EqualsUpper(key, "MEDIATYPE")) {
      parsed.mediaType = Unquoted(values);
    }
  });
}

// A line that begins a property: a name (with its group, item1.TEL) of
// letters, digits and hyphens, then ";" or ":".
bool StartsProperty(std::string_view line) {
  if (line.empty() || UpperAscii(line[0]) < 'A' || UpperAscii(line[0]) > 'Z') return false;
  for (const char c : line) {
    if (c == ';' || c == ':') return true;
    const char upper = UpperAscii(c);
    if (!((upper >= 'A' && upper <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.')) return false;
  }
  return false;
}

bool IsBase64Line(std::string_view line) {
  if (Trim(line).empty()) return false;
  return std::all_of(line.begin(), line.end(), [](char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' ||
           c == '/' || c == '=' || c == ' ' || c == '\t';
  });
}

}  // namespace

std::size_t PhysicalLines::lineEnd() {
  // Lines are mostly short: eight bytes at a time, looking for CR and LF at once.
  std::size_t i = pos_;
  const std::size_t shortEnd = std::min(text_.size(), pos_ + 256);
  for (std::uint64_t eight; i + 8 <= shortEnd; i += 8) {
    eight = byte_words::Load(text_.data() + i);
    if (byte_words::Byte(eight, '\n') | byte_words::Byte(eight, '\r')) break;
  }
  if (i + 8 > shortEnd && shortEnd < text_.size()) {
    // A long line (a value of megabytes): the library's vectorised search, a
    // window at a time, for a line feed and then a carriage return before it.
    constexpr std::size_t kWindow = std::size_t{1} << 16;
    for (; i < text_.size(); i += kWindow) {
      const char* start = text_.data() + i;
      const std::size_t size = std::min(kWindow, text_.size() - i);
      const char* feed = static_cast<const char*>(std::memchr(start, '\n', size));
      const std::size_t length = feed == nullptr ? size : static_cast<std::size_t>(feed - start);
      const char* cr = static_cast<const char*>(std::memchr(start, '\r', length));
      if (cr != nullptr) return static_cast<std::size_t>(cr - text_.data());
      if (feed != nullptr) return static_cast<std::size_t>(feed - text_.data());
    }
    return text_.size();
  }
  while (i < text_.size() && text_[i] != '\n' && text_[i] != '\r') ++i;
  return i;
}

std::string_view PhysicalLines::take() {
  const std::size_t end = lineEnd();
  const std::string_view line = text_.substr(pos_, end - pos_);
  pos_ = end;
  if (pos_ < text_.size() && text_[pos_] == '\r') {
    ++pos_;
    // CR CR LF, as some phones write every line end, is one line end too.
    if (pos_ + 1 < text_.size() && text_[pos_] == '\r' && text_[pos_ + 1] == '\n') ++pos_;
  }
  if (pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
  return line;
}

int BlockMark(std::string_view line) {
  line = Trim(line);
  const std::size_t colon = line.find(':');
  if (colon == kNone || !EqualsUpper(Trim(line.substr(colon + 1)), "VCARD")) return 0;
  const std::string_view name = Trim(line.substr(0, colon));
  if (EqualsUpper(name, "BEGIN")) return 1;
  if (EqualsUpper(name, "END")) return 2;
  return 0;
}

bool KeepsValue(const ContentLine& line) {
  return line.name != PropertyName::Other || line.book == nullptr ||
         line.book->meaning != PropertyMeaning::Machine;
}

namespace {

// Pictures, keys and sounds are read where they stand: they may be megabytes.
bool StandsAsWritten(const AddressBookProperty* book) {
  return book != nullptr &&
         (book->meaning == PropertyMeaning::Picture || book->meaning == PropertyMeaning::Key ||
          book->meaning == PropertyMeaning::Sound);
}

}  // namespace

std::string_view ContentLines::takeLine() {
  constexpr std::size_t kLinesPerTurn = 4096;
  constexpr std::size_t kBytesPerTurn = std::size_t{16} << 20;
  if (++linesSinceTurn_ >= kLinesPerTurn || lines_.position() - positionAtTurn_ >= kBytesPerTurn) {
    linesSinceTurn_ = 0;
    positionAtTurn_ = lines_.position();
    if (turn_) turn_();
  }
  taken_ = lines_.take();
  return taken_;
}

// The value from the end of its head to the end of the line taken last, line breaks and all.
std::string_view ContentLines::asWritten() const {
  const char* start = first_.data() + headEnd_ + 1;
  return std::string_view(start, static_cast<std::size_t>(taken_.data() + taken_.size() - start));
}

void ContentLines::append(std::string_view piece) {
  if (keepText_) {
    std::string& joined = *joinTo_;
    if (!joined_) {
      joinStart_ = joined.size();
      // The line may go on for most of the text: room for all of it at once,
      // so that growing never holds two copies (room not written costs nothing).
      const std::size_t most = first_.size() + piece.size() + lines_.remaining();
      if (joined.capacity() - joined.size() < most) joined.reserve(joined.size() + most);
      joined.append(first_);
      joined_ = true;
    }
    // A soft line break: the "=" that ended the piece before goes (one in the head stays).
    if (softBreaks_ && !last_.empty() && last_.back() == '=' && joined.size() - 1 - joinStart_ > headEnd_) {
      joined.pop_back();
    }
    joined.append(piece);
  }
  last_ = piece;
}

void ContentLines::takeFolds() {
  while (lines_.peekByte() == ' ' || lines_.peekByte() == '\t') {
    const std::string_view fold = takeLine();
    append(keepBlank_ ? fold : fold.substr(1));
  }
}

void ContentLines::skipBase64Lines() {
  while (!lines_.atEnd() && IsBase64Line(lines_.peek())) takeLine();
  if (!lines_.atEnd() && lines_.peek().empty()) takeLine();  // the blank line that ends the value
}

bool ContentLines::next(ContentLine& line) {
  while (!lines_.atEnd()) {
    first_ = last_ = takeLine();
    if (joinTo_ == &ownJoined_) ownJoined_.clear();
    joined_ = false;
    softBreaks_ = false;
    keepText_ = true;
    // Name and parameters usually stand on the first line; a folded head needs the joined line.
    headEnd_ = HeadEnd(first_);
    std::string_view headSource = first_;
    if (headEnd_ == kNone) {
      takeFolds();
      if (joined_) {
        headEnd_ = HeadEnd(joinedText());
        headCopy_.assign(joinedText().substr(0, headEnd_ == kNone ? 0 : headEnd_));
        headSource = headCopy_;
      }
      if (headEnd_ == kNone) continue;  // no property: a stray line
    }
    ParseHead(headSource.substr(0, headEnd_), line);
    charset_.assign(line.charset);
    line.charset = charset_;
    softBreaks_ = line.quotedPrintable;
    // The pieces of a property that is left out, or read where it stands, are
    // passed over without copying.
    const bool whereItStands = StandsAsWritten(line.book) && !joined_;
    keepText_ = (KeepsValue(line) && !whereItStands) || joined_;
    takeFolds();
    bool softBreakEnds = false;
    if (line.quotedPrintable) {
      // A soft line break: the value goes on on the next line. Blank lines
      // after one are the exporter's: the value goes on after them with more
      // of its text, and ends there when a property or the contact's end
      // follows them (Android ends every folded value so).
      while (!last_.empty() && last_.back() == '=') {
        std::string_view next = lines_.peek();
        bool blank = false;
        while (next.empty() && !lines_.atEnd()) {
          takeLine();
          next = lines_.peek();
          blank = true;
        }
        if (lines_.atEnd() || BlockMark(next) != 0 || (blank && StartsProperty(next))) {
          softBreakEnds = lines_.endsLine(last_);
          break;
        }
        append(takeLine());
        takeFolds();
      }
    }
    if (line.base64) skipBase64Lines();

    if (!KeepsValue(line)) return true;  // its value is never looked at
    line.value = whereItStands ? asWritten() : (joined_ ? joinedText() : first_).substr(headEnd_ + 1);
    // The soft line break at the very end of a value stands for nothing.
    if (softBreakEnds && !whereItStands && line.value.ends_with('=')) {
      line.value.remove_suffix(1);
      if (joined_) joinTo_->pop_back();
    }
    return true;
  }
  return false;
}

}  // namespace brevant
