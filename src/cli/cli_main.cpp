#include "cli/cli_main.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <string_view>

#include "cli/cli_host.h"
#include "cli/cli_options.h"
#include "cli/error_output.h"
#include "cli/folder_inputs.h"
#include "cli/input_paths.h"
#include "cli/left_out_report.h"
#include "cli/progress_line.h"
#include "cli/size_text.h"
#include "cli/terminal_text.h"
#include "engine/convert/conversion_run.h"
#include "engine/statement_reporter.h"
#include "support/files/file_helpers.h"
#include "support/files/input_file.h"
#include "support/text/utf8.h"

namespace brevant {

namespace {

int UsageError(std::ostream& err, const std::string& problem, bool withUsage = false) {
  err << kProgramName << ": " << problem << '\n';
  if (withUsage) err << "Usage: " << kProgramName << " [OPTION]... FILE...\n";
  err << "Try '" << kProgramName << " --help'.\n";
  return kExitRefused;
}

std::string Count(std::size_t count, std::string_view one, std::string_view many) {
  return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

// "3 inputs, 2 documents written to /out (1.2 MB), 1 with nothing to convert", then
// the inputs not found and those that failed, when there are any. The size
// tells when a few small inputs made an enormous document.
std::string SummaryLine(const CliOptions& options, const RunSummary& summary) {
  std::string line = std::string(kProgramName) + ": " + Count(summary.inputs, "input", "inputs") + ", ";
  const std::string size = " (" + SizeText(summary.bytesWritten) + ")";
  if (options.mode == DocumentMode::OneDocument) {
    std::string beside;
    for (const Text& file : summary.besideOneDocument.of) {
      if (!file.empty()) beside += ", " + TerminalLine(file);
    }
    line += summary.oneDocument.empty()
                ? std::string("no document written")
                : "1 document written: " + TerminalLine(summary.oneDocument) + beside + size;
  } else {
    std::vector<std::string> counts{Count(summary.documentsWritten, "document", "documents")};
    for (const OutputFormatInfo& format : kOutputFormats) {
      if (options.beside[format.format])
        counts.push_back(Count(summary.besideFilesWritten[format.format], format.fileNoun, format.filesNoun));
    }
    for (std::size_t i = 0; i < counts.size(); ++i)
      line += (i == 0 ? "" : i + 1 == counts.size() ? " and " : ", ") + counts[i];
    line += std::string(" written ") +
            (options.outputDir ? "to " + TerminalLine(FromUtf8(*options.outputDir)) : "beside the inputs");
    if (summary.documentsWritten > 0) line += size;
  }
  line += ", " + std::to_string(summary.nothingToConvert) + " with nothing to convert";
  if (summary.notFound > 0) line += ", " + std::to_string(summary.notFound) + " not found";
  if (summary.failed > 0) line += ", " + std::to_string(summary.failed) + " failed";
  return line;
}

// Why a FILE that cannot be looked up is not there: a chain of symbolic links
// that never ends, or a path longer than the system allows, is no missing file.
const char* WhyMissing(const std::string& typed, const Text& absolute) {
  if (PathIsTooLong(absolute)) return "path too long";
  std::error_code error;
  static_cast<void>(std::filesystem::status(typed, error));
  if (error == std::errc::too_many_symbolic_link_levels) return "too many levels of links";
  if (error == std::errc::permission_denied) return "permission denied";
  return "no such file or folder";
}

// The summary's hint when files of several contacts each became one row.
std::string SeveralContactsLine(const SeveralContactsTally& tally) {
  const Text note = SeveralContactsNote(tally);
  if (note.empty()) return std::string();
  return std::string(kProgramName) + ": " + ToUtf8(note) +
         " Convert with --per-contact to give every contact its own row.\n";
}

// "No files added." after folder scans, with the folders and what was looked for.
std::string NoFilesAddedLine(const std::vector<std::string>& folders, const std::string& extension) {
  std::string line = std::string(kProgramName) + ": " + ToUtf8(kNoFilesAdded) + " No file ";
  if (extension != "*") line += "ending in \"." + extension + "\" ";
  line += "was found in ";
  for (std::size_t i = 0; i < folders.size(); ++i) {
    if (i > 0) line += ", ";
    line += TerminalLine(FromUtf8(folders[i]));
  }
  return line + ".\n";
}

// "Folder does not exist. ..." (or "Path too long. ..."), after the folder's
// name as an error names its file.
std::string FolderMissingLine(const std::string& folder, TextView why) {
  return std::string(kProgramName) + ": " +
         (folder.empty() ? std::string("''") : TerminalLine(FromUtf8(folder))) + ": " + ToUtf8(why) + "\n";
}

// A FILE that does not exist is named and left out of the run: converted, it
// would only remove an earlier document of its name.
std::vector<Text> ExistingFiles(const std::vector<std::string>& typed, const std::vector<Text>& paths,
                                std::ostream& err, int& errors) {
  std::vector<Text> existing;
  for (std::size_t i = 0; i < paths.size(); ++i) {
    if (paths[i] == StandardInputPath() || FileExists(paths[i])) {
      existing.push_back(paths[i]);
    } else {
      err << kProgramName << ": " << TerminalLine(FromUtf8(typed[i])) << ": "
          << WhyMissing(typed[i], paths[i]) << '\n';
      ++errors;
    }
  }
  return existing;
}

int Convert(const CliOptions& options, std::ostream& err, bool stderrIsTerminal, std::size_t columns) {
  // The standard input has no folder to put a document beside, and once read it is gone.
  const auto readsOfInput = std::count(options.files.begin(), options.files.end(), kStandardInputArgument);
  if (readsOfInput > 0 && !options.outputDir) return UsageError(err, "standard input (-) needs --output-dir");
  if (readsOfInput > 1) return UsageError(err, "standard input (-) given more than once");
  std::string workingFolder;
  if (std::any_of(options.files.begin(), options.files.end(), IsRelativePath)) {
    std::error_code error;
    const std::u8string folder = std::filesystem::current_path(error).u8string();
    workingFolder.assign(folder.begin(), folder.end());
    if (error) {
      err << kProgramName << ": cannot tell the working folder: " << error.message() << '\n';
      return kExitRefused;
    }
  }
  int errorsReported = 0;
  const std::vector<Text> absolute = AbsoluteInputPaths(options.files, workingFolder);
  const std::vector<Text> given = ExistingFiles(options.files, absolute, err, errorsReported);
  if (given.empty()) return kExitErrorsReported;

  ProgressLine progress(err, stderrIsTerminal && !options.quiet, std::chrono::steady_clock::now, columns);
  ScanProgress scan(progress, err);
  RunOutcome outcome;
  RunSummary summary;
  SeveralContactsTally severalContacts;
  try {
    std::vector<Text> inputs = ExpandFolderInputs(given, FromUtf8(options.extension), scan);
    progress.reset();  // the scan's count gives way to the run's own caption
    CliHost host(options, std::move(inputs), progress, err);
    outcome = StartConverting(host, summary);
    errorsReported += scan.errorsReported() + host.errorsReported();
    severalContacts = host.severalContacts();
  } catch (const std::exception& failure) {  // out of memory, say: scan and engine report everything else
    progress.clear();
    err << kProgramName << ": " << (IsOutOfMemory(failure) ? ToUtf8(Text(kOutOfMemory)) : failure.what())
        << '\n';
    return kExitErrorsReported;
  }
  progress.clear();
  switch (outcome) {
    case RunOutcome::NoFilesAdded: {
      // Every FILE that exists was a folder without a match.
      std::vector<std::string> folders;
      for (std::size_t i = 0; i < absolute.size(); ++i) {
        if (FolderExists(absolute[i])) folders.push_back(options.files[i]);
      }
      err << NoFilesAddedLine(folders, options.extension);
      return kExitRefused;
    }
    case RunOutcome::FolderMissing:
      err << FolderMissingLine(options.outputDir.value_or(std::string()), kFolderMissing);
      return kExitRefused;
    case RunOutcome::FolderPathTooLong:
      err << FolderMissingLine(options.outputDir.value_or(std::string()), kFolderPathTooLong);
      return kExitRefused;
    case RunOutcome::Done:
      break;
  }
  // An input that went while the run was at work is an error, named even with -q.
  for (const Text& input : summary.notFoundInputs)
    err << kProgramName << ": " << TerminalLine(input) << " was not found (removed during the run)\n";
  errorsReported += static_cast<int>(summary.notFoundInputs.size());
  if (!options.quiet) err << SummaryLine(options, summary) << '\n' << SeveralContactsLine(severalContacts);
  // Values lost to a workbook's cells are told, as every warning is, quiet or not.
  for (const ValuesCut& cut : summary.valuesCut)
    err << kProgramName << ": warning: " << ToUtf8(ValuesCutIn(cut.values)) << TerminalLine(cut.path) << '\n';
  if (!options.quiet || options.verbose) {
    for (const std::string& line : LeftOutLines(summary.leftOut, options.verbose))
      err << kProgramName << ": " << line << '\n';
  }
  return errorsReported > 0 ? kExitErrorsReported : kExitSuccess;
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, bool stderrIsTerminal,
           std::size_t terminalColumns) {
  const ParsedCommandLine parsed = ParseCommandLine(args);
  switch (parsed.action) {
    case CliAction::UsageError:
      return UsageError(err, parsed.problem);
    case CliAction::ShowHelp:
      out << UsageText();
      return kExitSuccess;
    case CliAction::ShowVersion:
      out << VersionText();
      return kExitSuccess;
    case CliAction::Run:
      break;
  }
  if (parsed.options.files.empty()) return UsageError(err, "no FILE given", true);
  return Convert(parsed.options, err, stderrIsTerminal, terminalColumns);
}

}  // namespace brevant
