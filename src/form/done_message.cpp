#include "form/done_message.h"

#include "engine/convert/conversion_run.h"

namespace brevant {

Text DoneMessage(const SeveralContactsTally& severalContacts) {
  Text message = kDone;
  const Text note = SeveralContactsNote(severalContacts);
  if (!note.empty()) {
    message += u"\r\n\r\n" + note + u" Tick \"One row per contact\" to give every contact its own row.";
  }
  return message;
}

}  // namespace brevant
