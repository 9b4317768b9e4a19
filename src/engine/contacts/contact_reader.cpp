#include "engine/contacts/contact_reader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <string>
#include <unordered_set>

#include "engine/contacts/contact_values.h"
#include "engine/contacts/property_names.h"
#include "engine/text/ascii_html.h"
#include "engine/text/packed_name.h"

namespace brevant {

namespace {

constexpr std::size_t kNone = std::string_view::npos;
constexpr std::size_t kLargeValue = std::size_t{8} << 20;

bool IsWord(std::string_view text, std::string_view upper) {
  return EqualsUpperAscii(TrimBlanks(text), upper);
}

// The components of N, in their order.
constexpr std::array<Caption, 5> kNameCaptions = {Caption::LastName, Caption::FirstName, Caption::MiddleName,
                                                  Caption::NamePrefix, Caption::NameSuffix};

bool IsUtf8Name(std::string_view charset) { return IsWord(charset, "UTF-8") || IsWord(charset, "UTF8"); }

std::string UpperCopy(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = UpperAscii(c);
  return upper;
}

class ContactReader {
 public:
  ContactReader(const ContactBytes& bytes, ContactSink& sink, Host& host)
      : bytes_(bytes),
        sink_(sink),
        host_(host),
        keepsValues_(sink.keepsValues()),
        start_(sink.cells().size()) {}

  std::size_t read() {
    ContentLines lines(bytes_.bytes());
    lines.setTurn([this] { host_.yield(); });
    // A line of several physical lines is joined where its value can stay.
    lines.setJoinTo(sink_.values());
    // Until the first block, the file may turn out to have none and be one contact.
    bool sawBlock = false;
    std::size_t blocks = 0;
    bool inContact = true;
    std::size_t nested = 0;
    bool agentOpen = false;  // the last property was an agent whose value follows as a block
    ContentLine line;
    while (lines.next(line)) {
      const std::size_t joinedAt = lines.joinedAt();
      const bool begin = line.name == PropertyName::Begin && IsWord(line.value, "VCARD");
      const bool end = line.name == PropertyName::End && IsWord(line.value, "VCARD");
      if (begin && sawBlock && inContact && (nested > 0 || agentOpen)) {
        ++nested;
      } else if (begin) {
        ++blocks;
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
        agentOpen = line.name == PropertyName::Agent && TrimBlanks(line.value).empty();
        handle(line, joinedAt);
        continue;
      }
      agentOpen = line.name == PropertyName::Agent && TrimBlanks(line.value).empty();
      if (joinedAt != kNone) cutValues(joinedAt);  // a joined line that no cell takes
    }
    if (inContact) finishContact();
    return blocks;
  }

 private:
  void dropContact() {
    std::vector<ContactCell>& cells = sink_.cells();
    cells.erase(cells.begin() + static_cast<std::ptrdiff_t>(std::min(cells.size(), start_)), cells.end());
    start_ = cells.size();
    counts_.fill(0);
    datesByLabel_.clear();
    anniversaryGroups_.clear();
  }

  void finishContact() {
    // Dates that their group's label calls an anniversary; the others are left out.
    for (const LabelledDate& date : datesByLabel_) {
      if (anniversaryGroups_.contains(date.group)) {
        const std::string_view text = std::string_view(sink_.values()).substr(date.offset, date.length);
        sink_.cells().emplace_back(Caption::Anniversary, nextNumber(Caption::Anniversary), true,
                                   EncodingOfValue(text), date.offset, date.length);
      } else {
        sink_.leftOut("X-ABDATE");
      }
    }
    std::vector<ContactCell>& cells = sink_.cells();
    const Contact contact{std::span(cells).subspan(std::min(start_, cells.size())), bytes_.bytes(),
                          sink_.values()};
    sink_.contact(contact);
    start_ = sink_.cells().size();
    dropContact();
  }

  // A value kept in the sink's values, as a date whose cell comes when the contact ends must be.
  std::uint64_t keepStored(std::string_view text) {
    const auto [stored, offset] = keep(text);
    if (stored) return offset;
    std::string& values = sink_.values();
    values.append(text);
    return values.size() - text.size();
  }

  // Each pass over a value of many megabytes takes long enough to give the host a turn first.
  void turnBefore(std::size_t bytes) {
    if (bytes >= kLargeValue) host_.yield();
  }

  std::uint32_t nextNumber(Caption caption) {
    std::uint32_t& count = counts_[static_cast<std::size_t>(caption)];
    if (count == UINT32_MAX) throw std::length_error("More than 4 billion values of one kind in a contact");
    return ++count;
  }

  void cutValues(std::size_t size) {
    std::string& values = sink_.values();
    values.resize(std::min(values.size(), size));
  }

  // A property whose line was joined in the sink's values keeps it there only
  // when a cell took its value from it as it stands (or changed in place).
  void handle(const ContentLine& line, std::size_t joinedAt) {
    const std::size_t cellsBefore = sink_.cells().size();
    const std::size_t datesBefore = datesByLabel_.size();
    joinedEnd_ = sink_.values().size();
    property(line);
    if (joinedAt == kNone) return;
    std::vector<ContactCell>& cells = sink_.cells();
    const auto inJoined = [&](std::uint64_t offset) { return offset >= joinedAt && offset < joinedEnd_; };
    for (std::size_t i = cellsBefore; i < cells.size(); ++i) {
      if (cells[i].stored() && inJoined(cells[i].offset())) return;
    }
    for (std::size_t i = datesBefore; i < datesByLabel_.size(); ++i) {
      if (inJoined(datesByLabel_[i].offset)) return;
    }
    // Its room goes; what the property kept after it moves down.
    const std::size_t room = joinedEnd_ - joinedAt;
    sink_.values().erase(joinedAt, room);
    for (std::size_t i = cellsBefore; i < cells.size(); ++i) {
      const ContactCell& cell = cells[i];
      if (cell.stored() && cell.offset() >= joinedEnd_) {
        cells[i] = ContactCell(cell.caption(), cell.number(), true, cell.encoding(), cell.offset() - room,
                               cell.length());
      }
    }
    for (std::size_t i = datesBefore; i < datesByLabel_.size(); ++i) {
      if (datesByLabel_[i].offset >= joinedEnd_) datesByLabel_[i].offset -= room;
    }
  }

  // Where text stands at the very end of the sink's values (a joined line's
  // value), so that it can be changed in place; npos when it does not.
  std::size_t valuesTail(std::string_view text) const {
    const std::string& values = sink_.values();
    const std::less_equal<const char*> atOrBefore;
    if (text.empty() || !atOrBefore(values.data(), text.data()) ||
        text.data() + text.size() != values.data() + values.size())
      return kNone;
    return static_cast<std::size_t>(text.data() - values.data());
  }

  // A structured value is cut into views: it must not stand where the sink's
  // values may move when they grow.
  std::string_view stable(std::string_view text) {
    const std::string& values = sink_.values();
    const std::less_equal<const char*> atOrBefore;
    if (text.empty() || !atOrBefore(values.data(), text.data()) ||
        !atOrBefore(text.data() + text.size(), values.data() + values.size()))
      return text;
    structured_.assign(text);
    return structured_;
  }

  // The bytes of the value with quoted-printable decoded, turned into UTF-8
  // when the value names its CHARSET (bytes of a UTF-16 file are ours, so
  // there only quoted-printable bytes can be in it).
  std::string_view decode(const ContentLine& line) {
    std::string_view bytes = line.value;
    if (line.quotedPrintable) {
      turnBefore(bytes.size());
      if (const std::size_t at = valuesTail(bytes); at != kNone) {
        std::string& values = sink_.values();
        values.resize(at + DecodeQuotedPrintableInPlace(values.data() + at, bytes.size()));
        joinedEnd_ = values.size();
        bytes = std::string_view(values).substr(at);
      } else {
        DecodeQuotedPrintable(bytes, quotedPrintable_);
        bytes = quotedPrintable_;
      }
    }
    if (line.charset.empty() || IsUtf8Name(line.charset) || (bytes_.fromUtf16() && !line.quotedPrintable))
      return bytes;
    decoded_.clear();
    turnBefore(bytes.size());
    if (!charsets_.appendAsUtf8(decoded_, line.charset, bytes)) return bytes;
    return decoded_;
  }

  // Unescaped straight into the sink's values, where a cell can take it as it is.
  std::string_view unescaped(std::string_view text) {
    if (text.find('\\') == kNone) return text;
    std::string& values = sink_.values();
    if (const std::size_t at = valuesTail(text); at != kNone) {
      std::size_t out = at;
      inSlices(text, [&](std::string_view slice) {
        const std::size_t from = static_cast<std::size_t>(slice.data() - values.data());
        const std::size_t length = UnescapeInPlace(values.data() + from, slice.size());
        std::memmove(values.data() + out, values.data() + from, length);
        out += length;
      });
      values.resize(out);
      joinedEnd_ = values.size();
      return std::string_view(values).substr(at);
    }
    text = stable(text);
    const std::size_t start = values.size();
    inSlices(text, [&](std::string_view slice) { AppendUnescaped(values, slice); });
    return std::string_view(values).substr(start);
  }

  // Calls each(slice) for pieces of a few megabytes that never end inside an
  // escape, with a turn for the host between them.
  template <class Each>
  void inSlices(std::string_view text, Each&& each) {
    for (std::size_t from = 0; from < text.size();) {
      std::size_t to = std::min(text.size(), from + kLargeValue);
      while (to < text.size() && text[to - 1] == '\\') ++to;
      each(text.substr(from, to - from));
      from = to;
      if (from < text.size()) host_.yield();
    }
  }

  // UTF-8 when all of it is, a few megabytes at a time.
  ByteEncoding encodingOf(std::string_view text) {
    for (std::size_t from = 0; from < text.size();) {
      const std::size_t to = EscapeSliceEnd(text, from, from + kLargeValue);
      if (EncodingOfValue(text.substr(from, to - from)) == ByteEncoding::Windows1252)
        return ByteEncoding::Windows1252;
      from = to;
      if (from < text.size()) host_.yield();
    }
    return ByteEncoding::Utf8;
  }

  // Where the value is kept: where it stands, in the input or the sink's
  // values, or else appended to the sink's values.
  std::pair<bool, std::uint64_t> keep(std::string_view text) {
    const std::less_equal<const char*> atOrBefore;
    const auto within = [&](std::string_view whole) {
      return atOrBefore(whole.data(), text.data()) &&
             atOrBefore(text.data() + text.size(), whole.data() + whole.size());
    };
    const std::string_view input = bytes_.bytes();
    if (within(input)) return {false, static_cast<std::uint64_t>(text.data() - input.data())};
    std::string& values = sink_.values();
    if (within(values)) return {true, static_cast<std::uint64_t>(text.data() - values.data())};
    const std::size_t offset = values.size();
    values.append(text);
    return {true, offset};
  }

  // A cell, unless the value is empty; a caption met again in the contact is numbered.
  void emit(Caption caption, std::string_view text) {
    text = TrimBlanks(text);
    if (text.empty()) return;
    if (text.size() > UINT32_MAX) throw std::length_error("A value of 4 GB or more");
    if (!keepsValues_) {
      sink_.cells().emplace_back(caption, nextNumber(caption), false, ByteEncoding::Utf8, 0, 0);
      return;
    }
    const ByteEncoding encoding = encodingOf(text);
    turnBefore(text.size());
    const auto [stored, offset] = keep(text);
    sink_.cells().emplace_back(caption, nextNumber(caption), stored, encoding, offset,
                               static_cast<std::uint32_t>(text.size()));
  }

  void emitComponent(Caption caption, std::size_t index) {
    if (index < parts_.size()) emit(caption, unescaped(parts_[index]));
  }

  void property(const ContentLine& line) {
    switch (line.name) {
      case PropertyName::FN:
        return emit(Caption::DisplayName, unescaped(decode(line)));
      case PropertyName::N:
        CutComponents(stable(decode(line)), ';', parts_);
        for (std::size_t i = 0; i < kNameCaptions.size(); ++i) emitComponent(kNameCaptions[i], i);
        return;
      case PropertyName::ORG:
        // The organisation, then its departments from the largest down.
        CutComponents(stable(decode(line)), ';', parts_);
        emitComponent(Caption::Organization, 0);
        for (std::size_t i = 1; i < parts_.size(); ++i) emitComponent(Caption::Department, i);
        return;
      case PropertyName::BDAY:
        return emit(Caption::Birthday, NormalDate(unescaped(decode(line)), line.omitYear, scratch_));
      case PropertyName::ANNIVERSARY:
        return emit(Caption::Anniversary, NormalDate(unescaped(decode(line)), line.omitYear, scratch_));
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
        return address(stable(decode(line)), line.types);
      case PropertyName::TEL:
        return emit(TelephoneCaption(line.types), TelephoneNumber(unescaped(decode(line)), scratch_));
      case PropertyName::CATEGORIES:
        return emit(Caption::Categories, categories(stable(decode(line))));
      case PropertyName::GENDER:
        return emit(Caption::Gender, GenderText(decode(line), scratch_));
      case PropertyName::IMPP:
        return emit(Caption::IMAddress, ImppText(unescaped(decode(line)), line.service, scratch_));
      case PropertyName::IM:
        return emit(Caption::IMAddress, ImText(line.nameText, unescaped(decode(line)), scratch_));
      case PropertyName::RELATED:
        return emit(Caption::Related, unescaped(decode(line)));
      case PropertyName::PHONETIC_FIRST_NAME:
        return emit(Caption::PhoneticFirstName, unescaped(decode(line)));
      case PropertyName::PHONETIC_LAST_NAME:
        return emit(Caption::PhoneticLastName, unescaped(decode(line)));
      case PropertyName::ABDATE:
        return labelledDate(line);
      case PropertyName::ABLABEL:
        if (UpperCopy(unescaped(decode(line))).find("ANNIVERSARY") != std::string::npos) {
          anniversaryGroups_.insert(UpperCopy(line.group));
        } else {
          sink_.leftOut(line.nameText);
        }
        return;
      case PropertyName::Begin:
      case PropertyName::End:
      case PropertyName::Version:
        return;
      default:
        return sink_.leftOut(line.nameText);
    }
  }

  // An X-ABDATE is an anniversary when the label of its group says so; that
  // label may come before or after it.
  void labelledDate(const ContentLine& line) {
    const std::string_view date = TrimBlanks(NormalDate(unescaped(decode(line)), line.omitYear, scratch_));
    if (date.empty()) return;
    if (date.size() > UINT32_MAX) throw std::length_error("A value of 4 GB or more");
    const std::uint64_t offset = keepStored(date);
    datesByLabel_.push_back(
        {UpperCopy(line.group), static_cast<std::size_t>(offset), static_cast<std::uint32_t>(date.size())});
  }

  // Comma-separated words, shown as a list.
  std::string_view categories(std::string_view value) {
    CutComponents(value, ',', parts_);
    joined_.clear();
    for (const std::string_view part : parts_) {
      const std::string_view word = TrimBlanks(unescaped(part));
      if (word.empty()) continue;
      if (!joined_.empty()) joined_ += ", ";
      joined_.append(word);
    }
    return joined_;
  }

  // The components from `from` up to `to` that are not empty, joined by the separator.
  std::string_view joinComponents(std::size_t from, std::size_t to, std::string_view separator) {
    joined_.clear();
    for (std::size_t i = from; i < to && i < parts_.size(); ++i) {
      const std::string_view part = TrimBlanks(unescaped(parts_[i]));
      if (part.empty()) continue;
      if (!joined_.empty()) joined_ += separator;
      joined_.append(part);
    }
    return joined_;
  }

  // Post-office box, extended address, street, city, region, postal code,
  // country. Address 1 is the street with the box before it, Address 2 the
  // extended address; components past the seventh join the country.
  void address(std::string_view value, unsigned types) {
    CutComponents(value, ';', parts_);
    const Caption first = (types & kTypeWork) ? Caption::BusinessAddress1 : Caption::HomeAddress1;
    const auto caption = [first](int offset) {
      return static_cast<Caption>(static_cast<int>(first) + offset);
    };
    if (parts_.size() > 2) std::swap(parts_[1], parts_[2]);  // box, street, extended address
    emit(caption(0), joinComponents(0, 2, ", "));
    emitComponent(caption(1), 2);
    for (std::size_t i = 3; i < 6; ++i) emitComponent(caption(static_cast<int>(i) - 1), i);
    emit(caption(5), joinComponents(6, parts_.size(), ", "));
  }

  struct LabelledDate {
    std::string group;   // upper-case
    std::size_t offset;  // in the sink's values
    std::uint32_t length;
  };

  const ContactBytes& bytes_;
  ContactSink& sink_;
  Host& host_;
  const bool keepsValues_;
  CharsetDecoder charsets_;
  std::array<std::uint32_t, kCaptionCount> counts_{};
  std::size_t start_ = 0;  // where the contact's cells begin in the sink's cells
  std::vector<LabelledDate> datesByLabel_;
  std::unordered_set<std::string> anniversaryGroups_;
  std::string quotedPrintable_;
  std::string decoded_;
  std::string joined_;
  std::string scratch_;
  std::string structured_;
  std::size_t joinedEnd_ = 0;  // where the line joined in the sink's values ends, as it is changed
  std::vector<std::string_view> parts_;
};

}  // namespace

std::size_t ReadContacts(const ContactBytes& bytes, ContactSink& sink, Host& host) {
  return ContactReader(bytes, sink, host).read();
}

}  // namespace brevant
