#include "window/command_line.h"

#include <QDir>

namespace brevant {

namespace {

constexpr char kUsageLine[] = "Usage: brevant [OPTION]... [FILE]...\n";

void Print(std::ostream& stream, const QString& text) {
  stream << text.toLocal8Bit().toStdString();
  stream.flush();
}

// "." and ".." are resolved in the text, as the shell's cd resolves them; ".."
// above the root stays at the root.
QString Absolute(const QDir& working, const QString& relative) {
  QString path = QDir::cleanPath(working.absoluteFilePath(relative));
  while (path.startsWith(u"/../")) path.remove(0, 3);
  return path == u"/.." ? QStringLiteral("/") : path;
}

}  // namespace

WindowCommandLine ParseWindowCommandLine(const QStringList& args, const QString& workingFolder) {
  WindowCommandLine parsed;
  const QDir working(workingFolder);
  bool optionsEnded = false;
  for (const QString& arg : args) {
    if (!optionsEnded && arg.startsWith(u'-') && arg != u"-") {
      if (arg == u"--") {
        optionsEnded = true;
      } else if (arg == u"-h" || arg == u"--help") {
        parsed.action = WindowCommandLine::Action::ShowHelp;
        return parsed;
      } else if (arg == u"--version") {
        parsed.action = WindowCommandLine::Action::ShowVersion;
        return parsed;
      } else {
        parsed.action = WindowCommandLine::Action::UsageError;
        parsed.problem = QStringLiteral("unknown option '%1'").arg(arg);
        return parsed;
      }
      continue;
    }
    // A drop never brings an empty path; an empty argument names nothing.
    if (arg.isEmpty()) continue;
    parsed.paths.push_back(QDir::isAbsolutePath(arg) ? arg : Absolute(working, arg));
  }
  return parsed;
}

std::optional<int> AnswerOnTerminal(const WindowCommandLine& commandLine, std::ostream& out,
                                    std::ostream& err) {
  switch (commandLine.action) {
    case WindowCommandLine::Action::Open:
      return std::nullopt;
    case WindowCommandLine::Action::ShowHelp:
      Print(out, WindowHelpText());
      return 0;
    case WindowCommandLine::Action::ShowVersion:
      Print(out, WindowVersionText());
      return 0;
    case WindowCommandLine::Action::UsageError:
      Print(err, QStringLiteral("brevant: %1\n").arg(commandLine.problem) + QLatin1String(kUsageLine) +
                     QStringLiteral("Try 'brevant --help' for more information.\n"));
      return 2;
  }
  return 2;
}

QString WindowHelpText() {
  return QLatin1String(kUsageLine) +
         QStringLiteral(
             "Open the Brevant window, which converts vCard contact files (.vcf) into\n"
             "HTML documents that hold one table.\n"
             "Each FILE goes into the window's list of input files as if it had been\n"
             "dropped there: a folder brings every file of its whole tree.\n"
             "Every choice made in the window is kept for the user and comes back at the\n"
             "next start. brevant-convert does the same conversions without a window.\n"
             "\n"
             "Options:\n"
             "  -h, --help     show this help and exit\n"
             "      --version  show the version and exit\n"
             "\n"
             "Report bugs to: support@ambervale.example\n");
}

QString WindowVersionText() {
  return QStringLiteral("brevant " BREVANT_VERSION
                        "\n"
                        "Copyright (C) Ambervale.\n"
                        "License: MIT <https://opensource.org/licenses/MIT>.\n"
                        "This is free software: you are free to change and redistribute it.\n"
                        "There is NO WARRANTY, to the extent permitted by law.\n");
}

}  // namespace brevant
