#include "cli/folder_inputs.h"

#include <string>

#include "cli/error_output.h"
#include "support/files/file_helpers.h"
#include "support/folders/matching_files.h"

namespace brevant {

namespace {

// Counts of one tree, carried on from the trees scanned before it.
class RunningCounts final : public ScanObserver {
 public:
  explicit RunningCounts(ScanObserver& observer) : observer_(observer) {}

  // The start folder counts as found, before its sub-folders.
  void startTree() {
    foldersBefore_ += folders_ + 1;
    filesBefore_ += files_;
    folders_ = files_ = 0;
    observer_.foundFolders(foldersBefore_);
  }
  void yield() override { observer_.yield(); }
  void foundFolders(std::size_t count) override {
    folders_ = count;
    observer_.foundFolders(foldersBefore_ + count);
  }
  void foundFiles(std::size_t count) override {
    files_ = count;
    observer_.foundFiles(filesBefore_ + count);
  }
  void reportError(const ErrorReport& report) override { observer_.reportError(report); }
  void leftOut(TextView path, LeftOut reason) override { observer_.leftOut(path, reason); }

 private:
  ScanObserver& observer_;
  std::size_t foldersBefore_ = 0;
  std::size_t filesBefore_ = 0;
  std::size_t folders_ = 0;
  std::size_t files_ = 0;
};

}  // namespace

std::vector<Text> ExpandFolderInputs(const std::vector<Text>& inputs, TextView extension,
                                     ScanObserver& observer) {
  std::vector<Text> files;
  RunningCounts counts(observer);
  for (const Text& input : inputs) {
    if (!FolderExists(input)) {
      files.push_back(input);
      continue;
    }
    counts.startTree();
    std::vector<Text> found = ListMatchingFiles(input, extension, counts);
    files.insert(files.end(), std::make_move_iterator(found.begin()), std::make_move_iterator(found.end()));
  }
  return files;
}

void ScanProgress::foundFolders(std::size_t count) {
  folders_ = count;
  show();
}

void ScanProgress::foundFiles(std::size_t count) {
  files_ = count;
  show();
}

void ScanProgress::reportError(const ErrorReport& report) {
  PrintLine(ErrorLine(report), progress_, err_);
  ++errorsReported_;
}

void ScanProgress::leftOut(TextView path, LeftOut reason) {
  PrintLine(LeftOutLine(path, reason), progress_, err_);
  ++errorsReported_;
}

void ScanProgress::show() {
  progress_.setStatus("Scanning: " + std::to_string(folders_) + (folders_ == 1 ? " folder, " : " folders, ") +
                      std::to_string(files_) + (files_ == 1 ? " file" : " files"));
}

}  // namespace brevant
