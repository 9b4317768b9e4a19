#pragma once

#include <QWidget>

#include "form/dialogs.h"

namespace brevant {

// The real dialogs, modal to the owner window.
class QtDialogs final : public Dialogs {
 public:
  explicit QtDialogs(QWidget* owner = nullptr) : owner_(owner) {}
  void setOwner(QWidget* owner) { owner_ = owner; }

  void message(const Text& text) override;
  void errorBox(const ErrorReport& report) override;
  bool askYesNo(const Text& text) override;
  Text askText(const Text& prompt, const Text& defaultText) override;
  std::vector<Text> chooseFiles(const Text& title, const Text& filter) override;
  Colour chooseColour(const Text& title, Colour initial) override;
  Text chooseFolder(const Text& title, const Text& startFolder) override;
  void openFolder(const Text& folder) override;

 private:
  QWidget* owner_;
};

}  // namespace brevant
