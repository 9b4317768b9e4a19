#include "engine/convert/conversion_run.h"

#include "engine/convert/one_document_conversion.h"
#include "engine/convert/per_input_conversion.h"
#include "engine/progress.h"
#include "engine/statement_reporter.h"
#include "support/files/file_error.h"
#include "support/files/file_helpers.h"
#include "support/files/path_helpers.h"
#include "support/files/write_session.h"

namespace brevant {

Text OneDocumentPath(Host& host, const std::vector<Text>& inputs) {
  const Text folder = host.destination() == Destination::BesideInput && !inputs.empty()
                          ? GetFolderPath(inputs.front())
                          : host.chosenFolder();
  return CollapseBackslashes(folder + Separator() + kOneDocumentName);
}

namespace {

// A folder whose files could not be made durable is reported as the write of
// the run's conversion, naming the folder.
void ReportUnsyncedFolders(Host& host, const std::vector<std::pair<NativePath, int>>& failures,
                           DocumentMode mode) {
  if (failures.empty()) return;
  const bool one = mode == DocumentMode::OneDocument;
  const StatementReporter errors(host,
                                 one ? Procedure::OneDocumentConversion : Procedure::PerInputConversion);
  for (const auto& [folder, error] : failures)
    errors.report(one ? 842 : 546, DescriptionFromUtf8(DescribeSystemError(error)), FromNativePath(folder));
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
  if (host.destination() == Destination::ChosenFolder && !FolderExists(host.chosenFolder()))
    return PathIsTooLong(host.chosenFolder()) ? RunOutcome::FolderPathTooLong : RunOutcome::FolderMissing;

  host.setBusy(true);
  // Everything the run writes is on disk before it says it is done.
  WriteSession session;
  const DocumentMode mode = host.documentMode();
  if (mode == DocumentMode::OneDocument) {
    ConvertToOneDocument(host, OneDocumentPath(host, inputs), summary);
  } else {
    PerInputRun run(inputs, [&host] { host.yield(); });
    for (std::size_t i = 1; i <= inputs.size(); ++i) {
      const Text& path = inputs[i - 1];
      host.setProgressPosition(FractionalPercent(i, inputs.size()));
      host.setProgressCaption(kProcessingPrefix + GetFileName(path));
      host.yield();
      ConvertPerInput(host, path, run);
    }
    summary.inputs = inputs.size();
    summary.documentsWritten = run.documentsWritten();
    summary.nothingToConvert = run.nothingToConvert();
    summary.notFound = run.notFound();
    summary.failed = run.failed();
    summary.leftOut = run.leftOut();
    summary.bytesWritten = run.bytesWritten();
    summary.besideFilesWritten = run.besideFilesWritten();
    summary.valuesCut = run.valuesCut();
  }
  ReportUnsyncedFolders(host, session.finish([&host] { host.yield(); }), mode);
  host.setBusy(false);
  host.setProgressPosition(0);
  host.setProgressCaption(kIdleProgressCaption);
  return RunOutcome::Done;
}

}  // namespace brevant
