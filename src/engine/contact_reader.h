#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/captions.h"
#include "engine/vcard_reader.h"

namespace brevant {

// A cell of one contact: its caption (numbered when it repeats within the
// contact: "Mobile Phone 2") and where its value stands in the contact's text.
struct ContactCell {
  CaptionKey caption;
  std::size_t offset;
  std::size_t length;
};

// One contact, read in full. Values are ready for a data cell: plain ASCII,
// HTML-escaped, line breaks as "<br>", other characters as "&#N;".
struct Contact {
  const std::vector<ContactCell>& cells;
  std::string_view text;
  std::string_view value(const ContactCell& cell) const { return text.substr(cell.offset, cell.length); }
};

class ContactSink {
 public:
  // The text that the values of each contact are appended to, as they are read.
  virtual std::string& values() = 0;
  // The contact's text is what was appended since the contact began; it may be
  // cleared during the call.
  virtual void contact(const Contact& contact) = 0;

 protected:
  ~ContactSink() = default;
};

// Reads every BEGIN:VCARD ... END:VCARD block of a file as one contact and
// hands them to the sink in file order. Text outside the blocks is ignored; a
// file without any block is one contact; a block nested in another (an agent)
// belongs to the outer contact and adds nothing; a block without its END ends
// where the next one begins or the file ends.
void ReadContacts(const InputText& input, ContactSink& sink);

}  // namespace brevant
