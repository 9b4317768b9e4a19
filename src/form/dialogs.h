#pragma once

#include <vector>

#include "engine/turn_and_colour.h"
#include "support/messages/error_report.h"
#include "support/text/text.h"

namespace brevant {

// Every modal interaction of the window goes through this, so that the program
// shows the real dialogs of its window system and tests answer from a script and
// read what was asked.
// Boxes without a caption of their own show the application title.
class Dialogs {
 public:
  virtual ~Dialogs() = default;

  // A notice with an OK button and no icon.
  virtual void message(const Text& text) = 0;
  // The "Application Error" box: exclamation icon, OK button.
  virtual void errorBox(const ErrorReport& report) = 0;
  // A question with Yes and No and no icon; true for Yes.
  virtual bool askYesNo(const Text& text) = 0;
  // A text prompt with a default answer; "" when cancelled.
  virtual Text askText(const Text& prompt, const Text& defaultText) = 0;
  // An open-file dialog that takes several files; the chosen paths, none when cancelled.
  virtual std::vector<Text> chooseFiles(const Text& title, const Text& filter) = 0;
  // The colour dialog, titled with the colour it chooses, starting at the given
  // colour; cancelling gives it back.
  virtual Colour chooseColour(const Text& title, Colour initial) = 0;
  // The folder picker (see BrowseForFolder); "" when cancelled.
  virtual Text chooseFolder(const Text& title, const Text& startFolder) = 0;
  // Opens the folder in the desktop's file manager.
  virtual void openFolder(const Text& folder) = 0;
};

}  // namespace brevant
