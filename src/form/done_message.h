#pragma once

#include "engine/convert/several_contacts.h"
#include "support/text.h"

namespace brevant {

// "Done.", with a second paragraph when inputs of several contacts each became
// one row: what happened, and how every contact gets its own row.
Text DoneMessage(const SeveralContactsTally& severalContacts);

}  // namespace brevant
