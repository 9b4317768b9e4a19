#pragma once

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "engine/contacts/contact_reader.h"
#include "engine/contacts/content_lines.h"
#include "engine/contacts/value_store.h"

namespace brevant {

// Which captions a property of a contact fills, and with which part of its
// value: the mapping of the full reader. What no column shows is told to the
// sink as left out.
class PropertyCaptions {
 public:
  PropertyCaptions(ValueStore& store, ContactSink& sink) : store_(store), sink_(sink) {}

  void property(const ContentLine& line);
  // The cells that only the whole contact decides: dates that their group's
  // label calls an anniversary.
  void finishContact();
  void dropContact();

 private:
  void emitComponent(Caption caption, std::size_t index);
  void labelledDate(const ContentLine& line);
  std::string_view categories(std::string_view value);
  std::string_view joinComponents(std::size_t from, std::size_t to, std::string_view separator);
  void address(std::string_view value, unsigned types);

  struct LabelledDate {
    std::string group;  // upper-case
    std::size_t held;   // its index in the store
  };

  ValueStore& store_;
  ContactSink& sink_;
  std::vector<LabelledDate> datesByLabel_;
  std::unordered_set<std::string> anniversaryGroups_;
  std::string joined_;
  std::string scratch_;
  std::vector<std::string_view> parts_;
};

}  // namespace brevant
