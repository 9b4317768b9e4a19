#include "test_support/scripted_dialogs.h"

#include <stdexcept>

#include "support/text/utf8.h"

namespace brevant::test {

namespace {
template <class Answer>
Answer Next(std::deque<Answer>& answers, Answer otherwise) {
  if (answers.empty()) return otherwise;
  Answer answer = std::move(answers.front());
  answers.pop_front();
  return answer;
}
}  // namespace

void ScriptedDialogs::ask(const std::string& kind, const std::string& text) {
  asked.push_back(kind + ": " + text);
  if (kind == failing) throw std::runtime_error("Permission denied");
}

void ScriptedDialogs::message(const Text& text) {
  ask("message", ToUtf8(text));
  if (whileMessageShows) whileMessageShows();
}

void ScriptedDialogs::errorBox(const ErrorReport& report) {
  asked.push_back("error: " + ToUtf8(report.boxText()));
  errors.push_back(report);
}

bool ScriptedDialogs::askYesNo(const Text& text) {
  ask("question", ToUtf8(text));
  return Next(yesNoAnswers, false);
}

Text ScriptedDialogs::askText(const Text& prompt, const Text& defaultText) {
  ask("prompt", ToUtf8(prompt) + " [" + ToUtf8(defaultText) + "]");
  return Next(textAnswers, Text());
}

std::vector<Text> ScriptedDialogs::chooseFiles(const Text& title, const Text& filter) {
  ask("files", ToUtf8(title) + " [" + ToUtf8(filter) + "]");
  return Next(fileAnswers, std::vector<Text>());
}

Colour ScriptedDialogs::chooseColour(const Text& title, Colour initial) {
  ask("colour", ToUtf8(title) + " [" + std::to_string(initial) + "]");
  return Next(colourAnswers, initial);
}

Text ScriptedDialogs::chooseFolder(const Text& title, const Text& startFolder) {
  ask("folder", ToUtf8(title) + " [" + ToUtf8(startFolder) + "]");
  return Next(folderAnswers, Text());
}

void ScriptedDialogs::openFolder(const Text& folder) {
  asked.push_back("open: " + ToUtf8(folder));
  openedFolders.push_back(folder);
}

}  // namespace brevant::test
