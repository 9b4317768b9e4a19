#include "engine/convert/conversion_run.h"

#include <algorithm>
#include <optional>

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
    errors.report(one ? 842 : 546, DescriptionFromUtf8(DescribeSystemError(error)), ShownPath(folder));
}

// Every input that no document holds and that no count names yet (its document could not be written,
// memory ran out) counts as failed: an error box said why, and the run's report counts every input.
void CountInputsNotConverted(RunSummary& summary, std::size_t inputs, bool oneDocument) {
  summary.inputs = inputs;
  const std::size_t accounted =
      std::min(inputs, summary.nothingToConvert + summary.notFound + summary.failed);
  // The one document holds every input that is not counted otherwise, or none when it was not written.
  const std::size_t converted =
      oneDocument ? (summary.documentsWritten > 0 ? inputs - accounted : 0) : summary.documentsWritten;
  if (accounted + converted < inputs) summary.failed += inputs - accounted - converted;
}

// One document for every input, in list order. Memory that runs out where a
// conversion looks for no failure of its own fails the input at hand. The
// summary holds the counts so far when the run ends early (the window closed).
void ConvertEachInput(Host& host, const std::vector<Text>& inputs, RunSummary& summary) {
  const StatementReporter errors(host, Procedure::PerInputConversion);
  summary.inputs = inputs.size();
  std::optional<PerInputRun> run;
  try {
    run.emplace(inputs, [&host] { host.yield(); });
  } catch (const std::exception&) {  // no room for the list of inputs: none is converted
    errors.reportCurrentException(546, inputs.front());
    summary.failed = inputs.size();
    return;
  }
  const auto summarize = [&] {
    summary = run->counts();
    summary.inputs = inputs.size();
  };
  try {
    for (std::size_t i = 1; i <= inputs.size(); ++i) {
      const Text& path = inputs[i - 1];
      host.setProgressPosition(FractionalPercent(i, inputs.size()));
      host.setProgressCaption(kProcessingPrefix + GetFileName(path));
      try {
        host.yield();
        ConvertPerInput(host, path, *run);
      } catch (const std::exception&) {
        errors.reportCurrentException(546, path);
        run->failedInput();
      }
    }
  } catch (...) {
    summarize();
    throw;
  }
  summarize();
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
  const bool one = mode == DocumentMode::OneDocument;
  try {
    if (one) {
      const Text outputPath = OneDocumentPath(host, inputs);
      try {
        ConvertToOneDocument(host, outputPath, summary);
      } catch (const std::exception&) {  // memory ran out where the conversion looked for no failure
        StatementReporter(host, Procedure::OneDocumentConversion).reportCurrentException(842, outputPath);
        if (summary.failed == 0) summary.failed = 1;
      }
    } else {
      ConvertEachInput(host, inputs, summary);
    }
  } catch (...) {
    CountInputsNotConverted(summary, inputs.size(), one);
    throw;
  }
  CountInputsNotConverted(summary, inputs.size(), one);
  ReportUnsyncedFolders(host, session.finish([&host] { host.yield(); }), mode);
  host.setBusy(false);
  host.setProgressPosition(0);
  host.setProgressCaption(kIdleProgressCaption);
  return RunOutcome::Done;
}

}  // namespace brevant
