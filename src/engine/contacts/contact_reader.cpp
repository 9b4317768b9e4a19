#include "engine/contacts/contact_reader.h"

#include "engine/contacts/contact_values.h"
#include "engine/contacts/content_lines.h"
#include "engine/contacts/property_captions.h"
#include "engine/contacts/value_store.h"

namespace brevant {

namespace {

constexpr std::size_t kNone = std::string_view::npos;

bool IsWord(std::string_view text, std::string_view upper) {
  return EqualsUpperAscii(TrimBlanks(text), upper);
}

// The structure of a contact file: where each contact begins and ends.
class ContactReader {
 public:
  ContactReader(const ContactBytes& bytes, ContactSink& sink, Host& host)
      : bytes_(bytes), host_(host), store_(bytes, sink, host), captions_(store_, sink) {}

  std::size_t read() {
    ContentLines lines(bytes_.bytes());
    lines.setTurn([this] { host_.yield(); });
    // A line of several physical lines is joined where its value can stay.
    lines.setJoinTo(store_.joinText());
    // Contacts are the blocks: text outside them is no one's, and a file
    // without any block is no vCard file, which has no contact to show.
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
        store_.beginProperty();
        captions_.property(line);
        store_.endProperty(joinedAt);
        continue;
      }
      agentOpen = line.name == PropertyName::Agent && TrimBlanks(line.value).empty();
      if (joinedAt != kNone) store_.dropJoined(joinedAt);  // a joined line that no cell takes
    }
    if (inContact && sawBlock) finishContact();  // its END is missing
    if (!sawBlock) dropContact();
    return blocks;
  }

 private:
  void dropContact() {
    store_.dropContact();
    captions_.dropContact();
  }

  void finishContact() {
    captions_.finishContact();
    store_.finishContact();
    captions_.dropContact();
  }

  const ContactBytes& bytes_;
  Host& host_;
  ValueStore store_;
  PropertyCaptions captions_;
};

}  // namespace

std::size_t ReadContacts(const ContactBytes& bytes, ContactSink& sink, Host& host) {
  return ContactReader(bytes, sink, host).read();
}

}  // namespace brevant
