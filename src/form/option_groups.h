#pragma once

#include "engine/host.h"
#include "form/form_layout.h"

namespace brevant {

// What the window's option groups and check boxes mean to a run. Stored
// settings may leave both buttons of a group unchecked (two False); the run
// then does what the group's first button says, as the window did when it
// first started: one document for all inputs, in the chosen folder.

DocumentMode DocumentModeOf(bool allInOneChecked, bool perInputChecked);
Destination DestinationOf(bool chosenFolderChecked, bool besideInputChecked);

// The check box of a format beside the documents, found by its object name
// in the table of formats.
Control CheckBoxOf(OutputFormat format);

}  // namespace brevant
