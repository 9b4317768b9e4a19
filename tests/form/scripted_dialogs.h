#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "form/dialogs.h"

namespace brevant::testing {

// The window's dialogs answered from a script. Every question asked is recorded
// as one readable line ("message: Done.", "folder: Please select folder: [/start]"),
// and answered by the next scripted answer of its kind (a default when none is left:
// No, cancel, the colour given).
class ScriptedDialogs : public Dialogs {
 public:
  std::vector<std::string> asked;
  std::vector<ErrorReport> errors;

  std::deque<bool> yesNoAnswers;
  std::deque<Text> textAnswers;
  std::deque<std::vector<Text>> fileAnswers;
  std::deque<Colour> colourAnswers;
  std::deque<Text> folderAnswers;
  std::vector<Text> openedFolders;
  // Runs while a notice shows, as the user's side of the box.
  std::function<void()> whileMessageShows;
  // A kind of question that fails once asked, by the word its line starts with
  // ("files", "colour"...): the dialog cannot be shown.
  std::string failing;

  void message(const Text& text) override;
  void errorBox(const ErrorReport& report) override;
  bool askYesNo(const Text& text) override;
  Text askText(const Text& prompt, const Text& defaultText) override;
  std::vector<Text> chooseFiles(const Text& title, const Text& filter) override;
  Colour chooseColour(const Text& title, Colour initial) override;
  Text chooseFolder(const Text& title, const Text& startFolder) override;
  void openFolder(const Text& folder) override;

 private:
  void ask(const std::string& kind, const std::string& text);
};

}  // namespace brevant::testing
