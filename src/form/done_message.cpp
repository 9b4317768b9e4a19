#include "form/done_message.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

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

// The files a paragraph names: the first few by file name, then how many more.
constexpr std::size_t kNamedFiles = 5;

// ": a.vcf", ": a.vcf and b.vcf", ": a.vcf, b.vcf, c.vcf, d.vcf, e.vcf, and 2 more".
Text NamedFiles(const std::vector<Text>& paths) {
  const std::size_t shown = std::min(paths.size(), kNamedFiles);
  const std::size_t more = paths.size() - shown;
  const std::size_t items = shown + (more > 0 ? 1 : 0);
  Text named;
  for (std::size_t i = 0; i < shown; ++i) {
    if (i > 0) named += items == 2 ? u" and " : i + 1 == items ? u", and " : u", ";
    named += GetFileName(paths[i]);
  }
  if (more > 0) named += u", and " + FromUtf8(std::to_string(more)) + u" more";
  return named.empty() ? named : u": " + named;
}

// e.g. "1 of the 5 files was not found, 2 could not be converted (see the error
// messages), and 1 had nothing to convert: empty.vcf."; empty when every input
// was there and converted. Files with nothing to convert are named, as no error
// box named them.
Text LostInputsNote(const RunSummary& summary) {
  const std::size_t inputs = summary.inputs;
  // Each cause with its count; the first names the files of the run and takes the verb's number.
  const std::pair<std::size_t, std::string> causes[] = {
      {summary.notFound, " not found"},
      {summary.failed, " could not be converted (see the error messages)"},
      {summary.nothingToConvert, " had nothing to convert"},
  };
  std::vector<std::string> parts;
  for (const auto& [count, words] : causes) {
    if (count == 0) continue;
    if (!parts.empty()) {
      parts.push_back(std::to_string(count) + words);
    } else if (&words == &causes[0].second) {
      parts.push_back(FilesOfTheRun(count, inputs) + " " + WasOrWere(count, inputs) + words);
    } else {
      parts.push_back(FilesOfTheRun(count, inputs) + words);
    }
  }
  std::string note;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) note += i + 1 == parts.size() ? ", and " : ", ";
    note += parts[i];
  }
  // Nothing to convert is the last cause: its names end the paragraph.
  return note.empty() ? Text() : FromUtf8(note) + NamedFiles(summary.nothingToConvertInputs) + u".";
}

}  // namespace

Text DoneMessage(const SeveralContactsTally& severalContacts, const RunSummary& summary) {
  Text message = kDone;
  const Text lost = LostInputsNote(summary);
  if (!lost.empty()) message += u"\r\n\r\n" + lost;
  // Values cut in a workbook's cells: a line for each of the first few workbooks.
  Text cuts;
  for (std::size_t i = 0; i < summary.valuesCut.size() && i < kNamedFiles; ++i) {
    const ValuesCut& cut = summary.valuesCut[i];
    cuts += (i == 0 ? u"" : u"\r\n") + ValuesCutIn(cut.values) + GetFileName(cut.path) + u".";
  }
  if (summary.valuesCut.size() > kNamedFiles) {
    const std::size_t more = summary.valuesCut.size() - kNamedFiles;
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
