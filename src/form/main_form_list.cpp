// The input list: files from the file dialog, folder trees, drops, removal,
// row dragging.
#include "form/main_form.h"
#include "form/procedure_steps.h"
#include "support/files/file_helpers.h"
#include "support/folders/matching_files.h"
#include "support/files/path_helpers.h"

namespace brevant {

namespace {

constexpr char16_t kAddFilesTitle[] = u"Add File(s) - Hold Ctrl to select multiple files";
constexpr char16_t kVcfFilter[] = u"VCF Files (*.vcf)";
constexpr char16_t kExtensionPrompt[] =
    u"Enter file extension to load:\r\r(* for all files, txt for all txt files, doc for all doc files, etc.)";
constexpr char16_t kFolderPrompt[] = u"Please select folder:";
// The share of the rows area at its top and bottom where a row drag scrolls.
constexpr int kScrollZoneParts = 5;

enum AddFilesStatement : int { kShowFileDialog = 100, kAddChosenFiles = 104 };
enum AddFolderStatement : int {
  kAskExtension = 100,
  kStoreExtension = 104,
  kChooseFolder = 108,
  kStoreFolder = 112,
  kScanFolder = 118,
};
enum ClearStatement : int { kClearRows = 100 };

}  // namespace

// What a folder scan of the window tells it: a turn of the event loop once per
// folder, and the scan's error boxes.
class MainForm::Scan final : public ScanObserver {
 public:
  explicit Scan(MainForm& form) : form_(form) {}
  void yield() override { form_.yield(); }
  void reportError(const ErrorReport& report) override { form_.reportError(report); }

 private:
  MainForm& form_;
};

void MainForm::appendRow(Text path) {
  rows_.push_back(std::move(path));
  view_.appendRows(std::span<const Text>(&rows_.back(), 1));
}

void MainForm::appendRows(std::vector<Text> paths) {
  if (paths.empty()) return;
  const std::size_t first = rows_.size();
  rows_.insert(rows_.end(), std::make_move_iterator(paths.begin()), std::make_move_iterator(paths.end()));
  view_.appendRows(std::span<const Text>(rows_).subspan(first));
}

void MainForm::addFiles() {
  ProcedureSteps steps(dialogs_, Procedure::AddFiles);
  std::vector<Text> chosen;
  steps.step(kShowFileDialog, [&] { chosen = dialogs_.chooseFiles(kAddFilesTitle, kVcfFilter); });
  if (chosen.empty()) return;
  steps.step(kAddChosenFiles, [&] {
    if (chosen.size() == 1) {
      appendRow(std::move(chosen.front()));
      return;
    }
    // Several files: folder, separator and name, as a root folder joins them too.
    std::vector<Text> rows;
    rows.reserve(chosen.size());
    for (const Text& file : chosen)
      rows.push_back(CollapseBackslashes(GetFolderPath(file) + Separator() + GetFileName(file)));
    appendRows(std::move(rows));
  });
}

void MainForm::addAllFilesInFolder() {
  if (scanning_) return;  // one scan at a time
  ProcedureSteps steps(dialogs_, Procedure::AddFolderTree);
  Text extension;
  steps.step(kAskExtension, [&] {
    extension = dialogs_.askText(
        kExtensionPrompt, settings_.read(kAddedFolderExtension.key, kAddedFolderExtension.defaultText));
  });
  if (extension.empty()) return;
  steps.step(kStoreExtension, [&] { store(kAddedFolderExtension.key, extension); });
  Text folder;
  steps.step(kChooseFolder, [&] {
    folder = dialogs_.chooseFolder(kFolderPrompt,
                                   settings_.read(kLastAddedFolder.key, kLastAddedFolder.defaultText));
  });
  if (folder.empty()) return;
  steps.step(kStoreFolder, [&] { store(kLastAddedFolder.key, folder); });
  setScanBusy(true);
  steps.step(kScanFolder, [&] { addFolderTree(folder, extension); });
  setScanBusy(false);
}

void MainForm::filesDropped(const std::vector<Text>& paths) {
  for (const Text& dropped : paths) {
    if (FolderExists(dropped)) {
      addFolderTree(dropped, u"*");  // every file of the tree, whatever the stored extension
    } else {
      appendRow(dropped);
    }
  }
}

// Adds the matching files of the tree. The scan yields once per folder, so the
// window stays responsive; a close meanwhile ends the scan without adding.
void MainForm::addFolderTree(const Text& folder, TextView extension) {
  const bool nested = scanning_;
  scanning_ = true;
  turns_.turnSoon();  // the busy pointer shows at once
  Scan observer(*this);
  try {
    std::vector<Text> files = ListMatchingFiles(folder, extension, observer);
    scanning_ = nested;
    appendRows(std::move(files));
  } catch (const WindowClosed&) {
    scanning_ = nested;
    if (scanBusy_) setScanBusy(false);
  } catch (...) {
    scanning_ = nested;
    throw;
  }
}

void MainForm::listKeyPressed(int keyCode, std::optional<std::size_t> selectedRow) {
  if (keyCode == kDeleteKey) removeSelected(selectedRow);
}

void MainForm::listDoubleClicked(std::optional<std::size_t> selectedRow) { removeSelected(selectedRow); }

void MainForm::removeSelected(std::optional<std::size_t> selectedRow) {
  if (busy() || rows_.empty() || !selectedRow || *selectedRow >= rows_.size()) return;
  const std::size_t row = *selectedRow;
  rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(row));
  if (dragged_ && *dragged_ == row) {
    dragged_.reset();
  } else if (dragged_ && *dragged_ > row) {
    --*dragged_;
  }
  view_.removeRow(row);
}

void MainForm::clearList() {
  if (busy()) return;
  ProcedureSteps steps(dialogs_, Procedure::ClearList);
  steps.step(kClearRows, [&] {
    rows_.clear();
    dragged_.reset();
    view_.clearRows();
  });
}

void MainForm::listButtonPressed(std::optional<std::size_t> rowUnderPointer) {
  buttonHeld_ = true;
  // Only a row pressed now travels; a press beside the rows drags nothing.
  dragged_ = rowUnderPointer && *rowUnderPointer < rows_.size() ? rowUnderPointer : std::nullopt;
  if (dragged_) view_.setListDragPointer(true);
}

bool MainForm::listPointerMoved(std::optional<std::size_t> rowUnderPointer, int y, int areaHeight) {
  pointerOver(Pointer::Arrow);
  if (!buttonHeld_) return false;
  dragRowTo(rowUnderPointer, y, areaHeight);
  return true;
}

void MainForm::listButtonReleased() {
  buttonHeld_ = false;
  view_.setListDragPointer(false);
}

void MainForm::dragRowTo(std::optional<std::size_t> under, int y, int areaHeight) {
  if (!dragged_) return;
  if (under && *under < rows_.size() && *under != *dragged_) {
    const std::size_t from = *dragged_;
    const std::size_t to = *under;
    if (rows_[from] != rows_[to]) {
      std::swap(rows_[from], rows_[to]);
      view_.setRowText(from, rows_[from]);
      view_.setRowText(to, rows_[to]);
      view_.selectRow(to);
      dragged_ = to;
    }
  }
  const std::size_t row = *dragged_;
  const int zone = areaHeight / kScrollZoneParts;
  if (y < zone && row > 0) {
    view_.showRow(row - 1);
  } else if (y >= areaHeight - zone && row + 1 < rows_.size()) {
    view_.showRow(row + 1);
  }
}

}  // namespace brevant
