#pragma once

#include "support/text/text.h"

namespace brevant {

// The default output folder: the desktop when it exists, else the Documents
// folder, else the home folder (a machine without a desktop folder must not
// fail the first run), with one trailing separator. An empty candidate is
// passed over.
Text ChooseOutputFolder(TextView desktop, TextView documents, TextView home);

}  // namespace brevant
