#pragma once

#include <QWidget>

#include "support/text/text.h"

namespace brevant {

// A modal folder chooser over the owner, titled with the caller's text, with
// the start folder selected when it exists. Gives the chosen folder without a
// trailing separator ("/" for the root), or "" when the user cancels.
Text BrowseForFolder(QWidget* owner, TextView title, TextView startFolder);

}  // namespace brevant
