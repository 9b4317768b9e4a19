#pragma once

#include <windows.h>

#include <optional>

#include "support/text/text.h"

namespace brevant {

// A small modal box that asks for one line of text: the prompt (several lines
// allowed), an entry holding `defaultText` selected, OK and Cancel. Gives the
// entry's text for OK, nothing for Cancel or closing.
std::optional<Text> AskForText(HWND owner, const Text& title, const Text& prompt, const Text& defaultText);

}  // namespace brevant
