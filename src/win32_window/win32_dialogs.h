#pragma once

#include <windows.h>

#include <vector>

#include "engine/turn_and_colour.h"
#include "form/dialogs.h"
#include "support/messages/error_report.h"
#include "support/text/text.h"

namespace brevant {

// The window's modal dialogs on Windows: message boxes, the text prompt, the
// open-file, colour and folder dialogs, and the shell opening a folder. Boxes
// without a caption of their own show the application title.
class Win32Dialogs final : public Dialogs {
 public:
  explicit Win32Dialogs(Text applicationTitle) : title_(std::move(applicationTitle)) {}
  Win32Dialogs(const Win32Dialogs&) = delete;
  Win32Dialogs& operator=(const Win32Dialogs&) = delete;
  void setOwner(HWND owner) { owner_ = owner; }
  void setTitle(Text applicationTitle) { title_ = std::move(applicationTitle); }

  void message(const Text& text) override;
  void errorBox(const ErrorReport& report) override;
  bool askYesNo(const Text& text) override;
  Text askText(const Text& prompt, const Text& defaultText) override;
  // The chosen files' full paths, none when cancelled. Several files come back
  // as the dialog's folder, "\" and each name, in the dialog's order.
  std::vector<Text> chooseFiles(const Text& title, const Text& filter) override;
  Colour chooseColour(const Text& title, Colour initial) override;
  Text chooseFolder(const Text& title, const Text& startFolder) override;
  void openFolder(const Text& folder) override;

 private:
  HWND owner_ = nullptr;
  Text title_;
  COLORREF customColours_[16] = {};
};

// The names that the open-file dialog gives back in its buffer: one full path,
// or a folder followed by names, each ended by a NUL, the list by a second
// NUL. Full paths in the dialog's order.
std::vector<Text> ChosenFilePaths(TextView buffer);

// A filter as the open-file dialog takes it ("name\0pattern\0...\0") from
// "name (pattern)" or "name|pattern|...".
Text OpenFileFilter(TextView filter);

}  // namespace brevant
