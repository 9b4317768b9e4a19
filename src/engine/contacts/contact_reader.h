#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/contacts/contact_labels.h"
#include "engine/host.h"
#include "engine/scan/captions.h"
#include "engine/text/text_encodings.h"

namespace brevant {

// A cell of one contact: its caption and label (the "Home" of a home e-mail
// address, a relation, a label the user typed), numbered when the two repeat
// within the contact ("Mobile Phone 2"; numbers run 1, 2, 3, except that the
// parts of one address share the address's number), and where its value
// stands, decoded but not yet escaped: in the input's bytes, or in the text
// the sink keeps values in. Sixteen bytes, as a contact may have millions.
class ContactCell {
  static_assert(kCaptionCount <= 64, "six bits of place_ hold the caption");

 public:
  // Offsets of 1 TB and more do not fit.
  static constexpr std::uint64_t kMostOffset = (std::uint64_t{1} << 40) - 1;

  ContactCell(Caption caption, std::uint32_t number, bool stored, ByteEncoding encoding, std::uint64_t offset,
              std::uint32_t length, std::uint16_t label = 0)
      : place_(offset << 24 | std::uint64_t{label} << 8 | static_cast<std::uint64_t>(caption) << 2 |
               (stored ? 2u : 0u) | (encoding == ByteEncoding::Windows1252 ? 1u : 0u)),
        length_(length),
        number_(number) {}

  Caption caption() const { return static_cast<Caption>(place_ >> 2 & 0x3F); }
  std::uint16_t label() const { return static_cast<std::uint16_t>(place_ >> 8); }
  std::uint32_t number() const { return number_; }
  bool stored() const { return (place_ & 2) != 0; }
  ByteEncoding encoding() const { return (place_ & 1) ? ByteEncoding::Windows1252 : ByteEncoding::Utf8; }
  std::uint64_t offset() const { return place_ >> 24; }
  std::uint32_t length() const { return length_; }

  // The same value under another caption, label or number.
  ContactCell with(Caption caption, std::uint16_t label, std::uint32_t number) const {
    return ContactCell(caption, number, stored(), encoding(), offset(), length_, label);
  }
  ContactCell movedTo(std::uint64_t offset) const {
    return ContactCell(caption(), number_, stored(), encoding(), offset, length_, label());
  }

 private:
  std::uint64_t place_;  // offset, label, caption, stored, encoding
  std::uint32_t length_;
  std::uint32_t number_;
};
static_assert(sizeof(ContactCell) == 16);

// One contact, read in full.
struct Contact {
  std::span<ContactCell> cells;  // in the order of the contact's lines; the sink may reorder them
  std::string_view input;        // the bytes of the input
  std::string_view values;       // the sink's values text
  std::string_view value(const ContactCell& cell) const {
    return (cell.stored() ? values : input).substr(cell.offset(), cell.length());
  }
};

class ContactSink {
 public:
  // The text that values which do not stand as they are in the input are
  // appended to, and the cells of each contact, as they are read.
  virtual std::string& values() = 0;
  virtual std::vector<ContactCell>& cells() = 0;
  // The contact's cells are the last ones of cells(); the sink may drop them
  // and clear its values once the contact is handled.
  virtual void contact(const Contact& contact) = 0;
  // The labels that cells carry; the same for every file of one document.
  virtual ContactLabels& labels() = 0;
  // A property that no column shows, by its name as written (group aside);
  // for one a person might miss, what it held and whose it was.
  virtual void leftOut(std::string_view name, std::string_view detail) {
    (void)name;
    (void)detail;
  }
  // False for a sink that only looks at the captions of the cells: their
  // values are then neither kept nor checked. Asked again after every contact.
  virtual bool keepsValues() const { return true; }

 protected:
  ~ContactSink() = default;
};

// Reads every BEGIN:VCARD ... END:VCARD block of a file as one contact and
// hands them to the sink in file order. Text outside the blocks is ignored; a
// file without any block is one contact; a block nested in another (an agent)
// belongs to the outer contact and adds nothing; a block without its END ends
// where the next one begins or the file ends. The host gets a turn every few
// thousand lines, and within long values. Gives the number of blocks (nested
// ones aside).
std::size_t ReadContacts(const ContactBytes& bytes, ContactSink& sink, Host& host);

}  // namespace brevant
