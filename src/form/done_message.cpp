#include "form/done_message.h"

#include <string>

#include "engine/convert/conversion_run.h"
#include "support/files/path_helpers.h"
#include "support/text/utf8.h"

namespace brevant {

namespace {

// "The file", "All 3 files", "2 of the 5 files", and the verb's number.
std::string FilesOfTheRun(std::size_t count, std::size_t inputs) {
  if (inputs == 1) return "The file";
  if (count == inputs) return "All " + std::to_string(inputs) + " files";
  return std::to_string(count) + " of the " + std::to_string(inputs) + " files";
}

const char* WasOrWere(std::size_t count, std::size_t inputs) {
  return count == 1 || inputs == 1 ? "was" : "were";
}

// e.g. "1 of the 5 files was not found, and 2 could not be converted (see the
// error messages)."; empty when every input was there and converted.
std::string LostInputsNote(const RunSummary& summary) {
  const std::size_t missing = summary.notFound;
  const std::size_t failed = summary.failed;
  constexpr char kSeeErrors[] = " could not be converted (see the error messages).";
  if (missing == 0 && failed == 0) return {};
  if (missing == 0) return FilesOfTheRun(failed, summary.inputs) + kSeeErrors;
  std::string note =
      FilesOfTheRun(missing, summary.inputs) + " " + WasOrWere(missing, summary.inputs) + " not found";
  if (failed == 0) return note + ".";
  return note + ", and " + std::to_string(failed) + kSeeErrors;
}

}  // namespace

Text DoneMessage(const SeveralContactsTally& severalContacts, const RunSummary& summary) {
  Text message = kDone;
  const std::string lost = LostInputsNote(summary);
  if (!lost.empty()) message += u"\r\n\r\n" + FromUtf8(lost);
  // Values cut in a workbook's cells: a line for each of the first few workbooks.
  constexpr std::size_t kNamedWorkbooks = 5;
  Text cuts;
  for (std::size_t i = 0; i < summary.valuesCut.size() && i < kNamedWorkbooks; ++i) {
    const ValuesCut& cut = summary.valuesCut[i];
    cuts += (i == 0 ? u"" : u"\r\n") + ValuesCutIn(cut.values) + GetFileName(cut.path) + u".";
  }
  if (summary.valuesCut.size() > kNamedWorkbooks) {
    const std::size_t more = summary.valuesCut.size() - kNamedWorkbooks;
    cuts += u"\r\nValues were cut in " + FromUtf8(std::to_string(more)) +
            (more == 1 ? u" more workbook." : u" more workbooks.");
  }
  if (!cuts.empty()) message += u"\r\n\r\n" + cuts;
  const Text note = SeveralContactsNote(severalContacts);
  if (!note.empty()) {
    message += u"\r\n\r\n" + note + u" Tick \"One row per contact\" to give every contact its own row.";
  }
  return message;
}

}  // namespace brevant
