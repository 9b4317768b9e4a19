#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "engine/contacts/contact_reader.h"
#include "engine/contacts/contact_values.h"
#include "engine/contacts/content_lines.h"
#include "engine/contacts/value_store.h"

namespace brevant {

// Which captions and labels a property of a contact fills, and with which
// part of its value: the mapping of the full reader. A property's type words
// give its label; the label of its group (Apple's and Google's
// item1.X-ABLabel, before or after it) decides when the contact ends. What a
// person typed that no column takes goes into "More"; machine data, and
// labels that label nothing, are told to the sink as left out.
class PropertyCaptions {
 public:
  PropertyCaptions(ValueStore& store, ContactSink& sink)
      : store_(store),
        sink_(sink),
        labels_(sink.labels()),
        home_(labels_.id("Home")),
        business_(labels_.id("Business")),
        homePage_(labels_.id("Home Page")) {}

  void property(const ContentLine& line);
  // The cells that only the whole contact decides: labels of groups, "More",
  // and the left-out properties a person might miss, named with the contact.
  void finishContact();
  void dropContact();

 private:
  // What a group's label changes: the kinds of property that carry labels.
  enum class Kind : std::uint8_t { Telephone, Email, Website, IM, Address, Related, Date, Social, More };

  void mapped(const ContentLine& line);
  void bookProperty(const ContentLine& line);
  void androidItem(const ContentLine& line);
  void encodedProperty(const ContentLine& line, std::string_view decoded);
  void picture(const ContentLine& line, Caption caption);
  void imAddress(const ContentLine& line, ImAddress address);
  void emitComponent(Caption caption, std::size_t index, std::uint16_t label = 0, std::uint32_t number = 0);
  void telephone(const ContentLine& line, std::string_view number);
  void address(const ContentLine& line, std::string_view value);
  void moreLine(const ContentLine& line, std::string_view name, std::string_view text);
  // The label of its type words; `ownWords`: a word of the user's own is one too.
  std::uint16_t typeLabel(const ContentLine& line, bool ownWords = false);
  bool repeatsAnAddress(std::string_view label);
  // The contact's cells so far, where a group's label may change them later.
  std::size_t cellsSoFar(const ContentLine& line) {
    return line.group.empty() ? 0 : store_.contactCells().size();
  }
  std::string_view text(const ContentLine& line);
  std::string_view categories(std::string_view value);
  std::string_view joinComponents(std::size_t from, std::size_t to, std::string_view separator);
  // Remembers the cells from `firstCell` on as one property of a group, when it has one.
  void grouped(const ContentLine& line, Kind kind, std::size_t firstCell);
  bool applyLabels();
  std::string contactName();

  struct Grouped {
    std::string group;  // upper-case
    Kind kind;
    bool fax;
    std::size_t firstCell, endCell;  // in the contact's cells
    std::size_t more;                // its line of "More", for Kind::More
  };
  struct Label {
    std::string text;  // as written
    bool used = false;
  };
  struct More {
    std::string name;
    std::string group;  // upper-case
    std::size_t held;
  };

  ValueStore& store_;
  ContactSink& sink_;
  ContactLabels& labels_;
  const std::uint16_t home_, business_, homePage_;
  // A home website is the home page that Apple's label names.
  std::uint16_t websiteLabel(std::uint16_t label) const { return label == home_ ? homePage_ : label; }
  std::vector<Grouped> grouped_;
  std::unordered_map<std::string, Label> groupLabels_;          // by upper-case group
  std::vector<std::pair<std::size_t, std::size_t>> addresses_;  // the cells of each address
  std::vector<More> more_;
  struct AddressLabel {
    std::size_t held;
    std::uint16_t label;
  };
  std::vector<AddressLabel> addressLabels_;   // LABEL values held, with their kinds
  std::vector<AddressLabel> labelAddresses_;  // those that repeat no address, shown as addresses
  // The values of the contact's addresses, where they stand in the input or in addressCopies_.
  struct AddressValue {
    bool copied;
    std::size_t offset, length;
  };
  std::vector<AddressValue> addressValues_;
  std::string addressCopies_;
  bool agent_ = false;  // an agent's contact, which no column shows
  std::string joined_;
  std::string scratch_;
  std::vector<std::string_view> parts_;
};

}  // namespace brevant
