#include "engine/convert/conversion_run.h"

#include "engine/convert/separate_conversion.h"
#include "engine/convert/single_conversion.h"
#include "engine/progress.h"
#include "engine/statement_reporter.h"
#include "support/files/file_error.h"
#include "support/files/file_helpers.h"
#include "support/files/path_helpers.h"
#include "support/files/write_session.h"

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

namespace {

// A folder whose files could not be made durable is reported as the write of
// the run's conversion, naming the folder.
void ReportUnsyncedFolders(Host& host, const std::vector<std::pair<NativePath, int>>& failures, bool single) {
  if (failures.empty()) return;
  const StatementReporter errors(host,
                                 single ? Procedure::OneDocumentConversion : Procedure::PerFileConversion);
  for (const auto& [folder, error] : failures)
    errors.report(single ? 842 : 546, DescriptionFromUtf8(DescribeSystemError(error)),
                  FromNativePath(folder));
}

}  // namespace

RunOutcome StartConverting(Host& host) {
  RunSummary summary;
  return StartConverting(host, summary);
}

RunOutcome StartConverting(Host& host, RunSummary& summary) {
  // The run converts the list as it stands now, whatever happens to it meanwhile.
  const std::vector<Text> inputs = host.inputPaths();
  if (inputs.empty()) return RunOutcome::NoFilesAdded;
  if (!FolderExists(host.chosenFolder()) && !host.saveBesideInput())
    return PathIsTooLong(host.chosenFolder()) ? RunOutcome::FolderPathTooLong : RunOutcome::FolderMissing;

  host.setBusy(true);
  // Everything the run writes is on disk before it says it is done.
  WriteSession session;
  const bool single = host.convertAllToOne();
  if (single) {
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
    summary.notFoundInputs = run.notFoundInputs();
    summary.failed = run.failed();
    summary.leftOut = run.leftOut();
    summary.bytesWritten = run.bytesWritten();
    summary.csvFilesWritten = run.csvFilesWritten();
    summary.xlsxFilesWritten = run.xlsxFilesWritten();
  }
  ReportUnsyncedFolders(host, session.finish([&host] { host.yield(); }), single);
  host.setBusy(false);
  host.setProgressPosition(0);
  host.setProgressCaption(kIdleProgressCaption);
  return RunOutcome::Done;
}

}  // namespace brevant
