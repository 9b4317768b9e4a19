// "Start Converting" and the sample files.
#include <algorithm>

#include "engine/convert/conversion_run.h"
#include "form/done_message.h"
#include "form/main_form.h"
#include "form/procedure_steps.h"
#include "form/samples_folder.h"
#include "support/files/file_helpers.h"
#include "support/files/path_helpers.h"
#include "support/folders/files_in_folder.h"

namespace brevant {

namespace {

constexpr char16_t kOpenSamplesQuestion[] =
    u"Would you like this software to open the folder where these sample files are stored (so that you can "
    u"view "
    u"them before working with them)?";

enum RunStatement : int { kConvert = 110, kResetWindow = 118, kReport = 120 };
enum SamplesStatement : int { kListSamples = 100, kAddSample = 104, kAskToOpen = 108, kOpenSamples = 110 };

}  // namespace

void MainForm::startConverting() {
  if (running_) return;  // a second click while the run yields
  running_ = true;
  severalContacts_ = {};
  ProcedureSteps steps(dialogs_, Procedure::StartConverting);
  RunOutcome outcome = RunOutcome::Done;
  RunSummary summary;
  turns_.turnSoon();  // the first caption shows at once
  try {
    steps.step(kConvert, [&] { outcome = StartConverting(*this, summary); });
  } catch (const WindowClosed&) {
    // The window is gone: nothing more to show, and the program ends.
    running_ = false;
    setBusy(false);
    return;
  }
  steps.step(kResetWindow, [&] {
    // After a failure half-way the run still ends as always.
    setBusy(false);
    setProgressPosition(0);
    setProgressCaption(kIdleProgressCaption);
  });
  steps.step(kReport, [&] {
    switch (outcome) {
      case RunOutcome::NoFilesAdded:
        dialogs_.message(kNoFilesAdded);
        break;
      case RunOutcome::FolderMissing:
        dialogs_.message(kFolderMissing);
        break;
      case RunOutcome::FolderPathTooLong:
        dialogs_.message(kFolderPathTooLong);
        break;
      case RunOutcome::Done:
        dialogs_.message(DoneMessage(severalContacts_, summary));
        break;
    }
  });
  running_ = false;
}

void MainForm::loadSamples() {
  // A failure ends the action; rows added before it stay.
  ProcedureSteps steps(dialogs_, Procedure::LoadSamples);
  int statement = kListSamples;
  try {
    const Text folder = SamplesFolder(programFolder_);
    const std::vector<Text> names = GetFilesInFolder(folder, u"*.*");
    statement = kAddSample;
    for (std::size_t i = 1; i < names.size(); ++i) {
      Text path = folder + Separator() + names[i];
      // A sample already listed under exactly this text is not listed again.
      if (FileExists(path) && std::find(rows_.begin(), rows_.end(), path) == rows_.end())
        appendRow(std::move(path));
    }
    statement = kAskToOpen;
    const bool open = dialogs_.askYesNo(kOpenSamplesQuestion);
    statement = kOpenSamples;
    if (open) dialogs_.openFolder(folder);
  } catch (const std::exception& failure) {
    steps.report(statement, failure);
  }
}

}  // namespace brevant
