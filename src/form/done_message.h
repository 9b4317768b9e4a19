#pragma once

#include "engine/convert/run_summary.h"
#include "engine/convert/several_contacts.h"
#include "support/text/text.h"

namespace brevant {

// "Done.", with a paragraph when inputs were not converted (not found, could not
// be converted or written, nothing to convert: how many of how many, and the
// first few with nothing to convert by name, as no error box names them), one that
// names the workbooks holding values cut at a cell's limit, and one when inputs
// of several contacts each became one row: what happened, and how every contact
// gets its own row.
Text DoneMessage(const SeveralContactsTally& severalContacts, const RunSummary& summary);

}  // namespace brevant
