#include "cli/cli_main.h"

#include <algorithm>
#include <exception>
#include <filesystem>

#include "cli/cli_host.h"
#include "cli/cli_options.h"
#include "cli/folder_inputs.h"
#include "cli/input_paths.h"
#include "cli/progress_line.h"
#include "cli/terminal_text.h"
#include "engine/conversion_run.h"
#include "support/file_helpers.h"
#include "support/utf8.h"

namespace brevant {

namespace {

constexpr char kProgramName[] = "brevant-convert";

int UsageError(std::ostream& err, const std::string& problem) {
  err << kProgramName << ": " << problem << "\nTry '" << kProgramName << " --help'.\n";
  return kExitRefused;
}

int Refused(std::ostream& err, const char16_t* message) {
  err << ToUtf8(message) << '\n';
  return kExitRefused;
}

// A missing input converts to nothing, as in the window, and is no error; but on
// the command line a mistyped name deserves a word.
void WarnAboutMissingFiles(const std::vector<Text>& inputs, ProgressLine& progress, std::ostream& err) {
  for (const Text& input : inputs) {
    if (FileExists(input)) continue;
    progress.clear();
    err << kProgramName << ": warning: no such file: " << TerminalLine(input) << '\n';
  }
}

int Convert(const CliOptions& options, std::ostream& err, bool stderrIsTerminal, std::size_t columns) {
  std::string workingFolder;
  if (std::any_of(options.files.begin(), options.files.end(), IsRelativePath)) {
    std::error_code error;
    workingFolder = std::filesystem::current_path(error).string();
    if (error) {
      err << kProgramName << ": cannot tell the working folder: " << error.message() << '\n';
      return kExitRefused;
    }
  }
  ProgressLine progress(err, stderrIsTerminal && !options.quiet, std::chrono::steady_clock::now, columns);
  ScanProgress scan(progress, err);
  RunOutcome outcome;
  int errorsReported = 0;
  try {
    std::vector<Text> inputs = ExpandFolderInputs(AbsoluteInputPaths(options.files, workingFolder),
                                                  FromUtf8(options.extension), scan);
    progress.reset();  // the scan's count gives way to the run's own caption
    CliHost host(options, std::move(inputs), progress, err);
    outcome = StartConverting(host);
    if (outcome == RunOutcome::Done) WarnAboutMissingFiles(host.inputPaths(), progress, err);
    errorsReported = scan.errorsReported() + host.errorsReported();
  } catch (const std::exception& failure) {  // out of memory, say: scan and engine report everything else
    progress.clear();
    err << kProgramName << ": " << failure.what() << '\n';
    return kExitErrorsReported;
  }
  progress.clear();
  switch (outcome) {
    case RunOutcome::NoFilesAdded:
      return Refused(err, kNoFilesAdded);
    case RunOutcome::FolderMissing:
      return Refused(err, kFolderMissing);
    case RunOutcome::Done:
      break;
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
      out << kProgramName << ' ' << BREVANT_VERSION << '\n';
      return kExitSuccess;
    case CliAction::Run:
      break;
  }
  return Convert(parsed.options, err, stderrIsTerminal, terminalColumns);
}

}  // namespace brevant
