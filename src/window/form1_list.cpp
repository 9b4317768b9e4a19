// The input list: files from the file dialog, folder trees, drops, removal.
#include "support/file_helpers.h"
#include "support/matching_files.h"
#include "support/path_helpers.h"
#include "support/qt/qt_text.h"
#include "window/form1.h"
#include "window/procedure_steps.h"

namespace brevant {

namespace {

constexpr char16_t kAddFilesTitle[] = u"Add File(s) - Hold Ctrl to select multiple files";
constexpr char16_t kVcfFilter[] = u"VCF Files (*.vcf)";
constexpr char16_t kExtensionPrompt[] =
    u"Enter file extension to load:\r\r(* for all files, txt for all txt files, doc for all doc files, etc.)";
constexpr char16_t kFolderPrompt[] = u"Please select folder:";

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
class WindowScan final : public ScanObserver {
 public:
  explicit WindowScan(Form1& window) : window_(window) {}
  void yield() override { window_.yield(); }
  void reportError(const ErrorReport& report) override { window_.reportError(report); }

 private:
  Form1& window_;
};

void Form1::PushButton1_Click() {
  ProcedureSteps steps(dialogs_, u"PushButton1_Click", true);
  std::vector<Text> chosen;
  steps.step(kShowFileDialog, [&] { chosen = dialogs_.chooseFiles(kAddFilesTitle, kVcfFilter); });
  if (chosen.empty()) return;
  steps.step(kAddChosenFiles, [&] {
    if (chosen.size() == 1) {
      rows_.append(std::move(chosen.front()));
      return;
    }
    // Several files: folder, separator and name, as a root folder joins them too.
    std::vector<Text> rows;
    rows.reserve(chosen.size());
    for (const Text& file : chosen)
      rows.push_back(CollapseBackslashes(GetFolderPath(file) + Separator() + GetFileName(file)));
    rows_.append(std::move(rows));
  });
}

void Form1::PushButton5_Click() {
  if (scanning_) return;  // one scan at a time
  ProcedureSteps steps(dialogs_, u"PushButton5_Click", true);
  Text extension;
  steps.step(kAskExtension, [&] {
    extension = dialogs_.askText(kExtensionPrompt, settings_.read(QStringLiteral("Extension"), u"vcf"));
  });
  if (extension.empty()) return;
  steps.step(kStoreExtension, [&] { store(QStringLiteral("Extension"), extension); });
  Text folder;
  steps.step(kChooseFolder, [&] {
    folder = dialogs_.chooseFolder(kFolderPrompt, settings_.read(QStringLiteral("LastFolder"), u""));
  });
  if (folder.empty()) return;
  steps.step(kStoreFolder, [&] { store(QStringLiteral("LastFolder"), folder); });
  setScanBusy(true);
  steps.step(kScanFolder, [&] { addFolderTree(folder, extension); });
  setScanBusy(false);
}

void Form1::ListView1_OLEDragDrop(const QStringList& paths) {
  for (const QString& path : paths) {
    const Text dropped = ToText(path);
    if (FolderExists(dropped)) {
      addFolderTree(dropped, u"*");  // every file of the tree, whatever the stored extension
    } else {
      rows_.append(dropped);
    }
  }
}

// Adds the matching files of the tree. The scan yields once per folder, so the
// window stays responsive; a close meanwhile ends the scan without adding.
void Form1::addFolderTree(const Text& folder, TextView extension) {
  const bool nested = scanning_;
  scanning_ = true;
  WindowScan observer(*this);
  try {
    std::vector<Text> files = ListMatchingFiles(folder, extension, observer);
    scanning_ = nested;
    rows_.append(std::move(files));
  } catch (const WindowClosed&) {
    scanning_ = nested;
    if (scanBusy_) setScanBusy(false);
  } catch (...) {
    scanning_ = nested;
    throw;
  }
}

void Form1::ListView1_RemoveSelected() {
  if (busy() || rows_.rowCount() == 0) return;
  const int row = ListView1->selectedRow();
  if (row >= 0) rows_.remove(row);
}

void Form1::PushButton7_Click() {
  if (busy()) return;
  ProcedureSteps steps(dialogs_, u"PushButton7_Click", true);
  steps.step(kClearRows, [&] { rows_.clear(); });
}

}  // namespace brevant
