#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <ostream>

namespace brevant {

// What the window's command line asks for. Read before any window-system
// connection is made, so that --help and --version work without a display.
struct WindowCommandLine {
  enum class Action { Open, ShowHelp, ShowVersion, UsageError };
  Action action = Action::Open;
  // Files and folders to add to the list as a drop of them would: absolute,
  // in the order given.
  QStringList paths;
  QString problem;  // what was wrong, for a usage error
};

// Reads the arguments after the program name. Relative paths are taken from
// the working folder; "--" ends the options, so that a file may begin with "-".
WindowCommandLine ParseWindowCommandLine(const QStringList& args, const QString& workingFolder);

// Answers --help, --version and a usage error on the terminal and gives the
// exit status; gives nothing when the window is to open.
std::optional<int> AnswerOnTerminal(const WindowCommandLine& commandLine, std::ostream& out,
                                    std::ostream& err);

// The texts of --help and --version (help2man makes the manual page of them).
QString WindowHelpText();
QString WindowVersionText();

}  // namespace brevant
