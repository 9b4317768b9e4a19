#pragma once

#include <utility>

#include "form/dialogs.h"

namespace brevant::bench {

// Dialogs that nobody sees: the benchmark's fixed answers (the files to add,
// the extension and folder of a scan), notices counted, error boxes counted.
class QuietDialogs final : public Dialogs {
 public:
  std::vector<Text> files;
  Text extension = u"vcf";
  Text folder;
  int messages = 0;
  int errors = 0;

  void message(const Text&) override { ++messages; }
  void errorBox(const ErrorReport&) override { ++errors; }
  bool askYesNo(const Text&) override { return false; }
  Text askText(const Text&, const Text&) override { return extension; }
  std::vector<Text> chooseFiles(const Text&, const Text&) override { return files; }
  Colour chooseColour(const Text&, Colour initial) override { return initial; }
  Text chooseFolder(const Text&, const Text&) override { return folder; }
  void openFolder(const Text&) override {}
};

}  // namespace brevant::bench
