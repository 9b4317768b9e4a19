#include "engine/convert/conversion_run.h"

#include "engine/convert/separate_conversion.h"
#include "engine/convert/single_conversion.h"
#include "engine/progress.h"
#include "support/file_helpers.h"
#include "support/path_helpers.h"

namespace brevant {

Text SingleDocumentPath(Host& host, const std::vector<Text>& inputs) {
  Text folder;
  if (host.saveToChosenFolder()) {
    folder = host.chosenFolder();
  } else if (host.saveBesideInput() && !inputs.empty()) {
    folder = GetFolderPath(inputs.front());
  } else {
    // Without a destination choice the checked folder text is the only sound
    // place; an empty folder would otherwise name the file system's root.
    folder = host.chosenFolder();
  }
  return CollapseBackslashes(folder + Separator() + kSingleDocumentName);
}

RunOutcome StartConverting(Host& host) {
  RunSummary summary;
  return StartConverting(host, summary);
}

RunOutcome StartConverting(Host& host, RunSummary& summary) {
  // The run converts the list as it stands now, whatever happens to it meanwhile.
  const std::vector<Text> inputs = host.inputPaths();
  if (inputs.empty()) return RunOutcome::NoFilesAdded;
  if (!FolderExists(host.chosenFolder()) && !host.saveBesideInput()) return RunOutcome::FolderMissing;

  host.setBusy(true);
  if (host.convertAllToOne()) {
    ConvertVCFToSingleHTML(host, SingleDocumentPath(host, inputs), summary);
  } else if (host.convertEach()) {
    SeparateRun run(inputs, [&host] { host.yield(); });
    for (std::size_t i = 1; i <= inputs.size(); ++i) {
      const Text& path = inputs[i - 1];
      host.setProgressPosition(FractionalPercent(i, inputs.size()));
      host.setProgressCaption(kProcessingPrefix + GetFileName(path));
      host.yield();
      ConvertVCFToSeparateHTML(host, path, run);
    }
    summary.inputs = inputs.size();
    summary.documentsWritten = run.documentsWritten();
    summary.nothingToConvert = run.nothingToConvert();
    summary.notFound = run.notFound();
    summary.failed = run.failed();
    summary.leftOut = run.leftOut();
    summary.bytesWritten = run.bytesWritten();
    summary.csvFilesWritten = run.csvFilesWritten();
  }
  host.setBusy(false);
  host.setProgressPosition(0);
  host.setProgressCaption(kIdleProgressCaption);
  return RunOutcome::Done;
}

}  // namespace brevant
