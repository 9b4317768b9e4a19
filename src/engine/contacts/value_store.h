#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "engine/contacts/contact_reader.h"
#include "engine/contacts/content_lines.h"
#include "engine/host.h"
#include "engine/scan/captions.h"
#include "engine/text/text_encodings.h"

namespace brevant {

// Where the values of a contact's cells are kept: in the input's bytes where
// they stand as written, else in the sink's values text, which also takes the
// lines that were folded over several physical lines. Decodes and unescapes
// values with as few copies as a value of a gigabyte allows, numbers the cells
// of each caption within a contact and hands finished contacts to the sink.
class ValueStore {
 public:
  ValueStore(const ContactBytes& bytes, ContactSink& sink, Host& host);

  // The input's bytes, where values that stand as written are.
  std::string_view input() const { return bytes_.bytes(); }
  // The text that lines of several physical lines are joined in.
  std::string& joinText() { return sink_.values(); }

  // The bytes of the value with quoted-printable decoded, turned into UTF-8
  // when the value names its CHARSET (bytes of a UTF-16 file are ours, so
  // there only quoted-printable bytes can be in it).
  std::string_view decode(const ContentLine& line);
  // Backslash escapes undone.
  std::string_view unescaped(std::string_view text);
  // A structured value is cut into views: it must not stand where the sink's
  // values may move when they grow.
  std::string_view stable(std::string_view text);

  // A cell, unless the value is empty, or a birthday, anniversary, gender or
  // picture that the contact has already (the same date of one ALTID, a
  // GENDER beside an X-GENDER). A caption and label met again in the
  // contact are numbered; `number` gives the number instead (the parts of one
  // address share the address's).
  void emit(Caption caption, std::string_view text, std::uint16_t label = 0, std::uint32_t number = 0);

  // The number of the next address of this label: all its parts take it.
  std::uint32_t nextAddressNumber(std::uint16_t label) { return nextNumber(Caption::AddressStreet, label); }

  // A value held until the contact ends, when it may become part of a cell; gives its index.
  std::size_t hold(std::string_view text);
  std::string_view held(std::size_t index) const;
  // One cell of lines, each a name, ": " and a held value (in UTF-8 whatever it was read in).
  struct Line {
    std::string name;
    std::size_t held;
  };
  void emitLines(Caption caption, std::span<const Line> lines);

  // A cell's value in UTF-8.
  std::string utf8Value(const ContactCell& cell) const;
  // The cells of the contact so far, in the order read.
  std::span<ContactCell> contactCells();
  // Numbers the contact's cells again in the order read, once captions or
  // labels changed; the cells of each address (ranges of contactCells()) share one.
  void renumber(std::span<const std::pair<std::size_t, std::size_t>> addresses);

  // Around the cells of one property: a line joined in the sink's values
  // keeps its room there only when a cell or a held value took its value
  // from it as it stands (or changed in place).
  void beginProperty();
  void endProperty(std::size_t joinedAt);
  // A joined line that no cell takes.
  void dropJoined(std::size_t joinedAt);

  // The cells since the last contact go to the sink as one contact, or are dropped.
  void finishContact();
  void dropContact();

 private:
  void turnBefore(std::size_t bytes);
  bool repeats(Caption caption, std::uint16_t label, std::string_view text);
  std::uint32_t nextNumber(Caption caption, std::uint16_t label);
  std::uint32_t& labelledCount(std::uint32_t key);
  const std::string& declaredCodePage() { return codePageKnown_ ? codePage_ : findDeclaredCodePage(); }
  const std::string& findDeclaredCodePage();
  std::size_t valuesTail(std::string_view text) const;
  template <class Each>
  void inSlices(std::string_view text, Each&& each);
  ByteEncoding encodingOf(std::string_view text);
  std::pair<bool, std::uint64_t> keep(std::string_view text);

  struct Held {
    std::size_t offset;  // in the sink's values
    std::uint32_t length;
  };

  const ContactBytes& bytes_;
  ContactSink& sink_;
  Host& host_;
  bool keepsValues_;  // asked again after every contact
  CharsetDecoder charsets_;
  std::array<std::uint32_t, kCaptionCount> counts_{};  // of the cells without a label
  // The counts of the cells with a label, by caption << 16 | label.
  static constexpr std::size_t kFewLabelled = 16;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> fewLabelled_;
  std::unordered_map<std::uint32_t, std::uint32_t> manyLabelled_;
  bool codePageKnown_ = false;
  std::string codePage_;   // the one the file names, for 8-bit values that name none
  std::size_t start_ = 0;  // where the contact's cells begin in the sink's cells
  std::vector<Held> held_;
  // The values of the captions a contact has one of, by hash, to pass over repeats.
  struct Single {
    Caption caption;
    std::uint16_t label;
    std::size_t length;
    std::size_t hash;
  };
  std::vector<Single> singles_;
  std::string quotedPrintable_;
  std::string decoded_;
  std::string structured_;
  std::size_t cellsBefore_ = 0;  // the cells and held values when the property began
  std::size_t heldBefore_ = 0;
  std::size_t joinedEnd_ = 0;  // where the line joined in the sink's values ends, as it is changed
};

}  // namespace brevant
