#include "form/command_line.h"

#include "brevant_version.h"
#include "support/text/utf8.h"

namespace brevant {

namespace {

constexpr char16_t kUsageLine[] = u"Usage: brevant [OPTION]... [FILE]...\n";

bool IsSeparator(char16_t ch, PathStyle style) {
  return ch == u'/' || (style == PathStyle::Windows && ch == u'\\');
}

bool IsDriveLetter(char16_t ch) { return (ch >= u'A' && ch <= u'Z') || (ch >= u'a' && ch <= u'z'); }

// How many characters of the path name its root: "/" on POSIX; "C:\", "\\server\share\"
// or "\" (the working drive's root) on Windows; 0 for a relative path.
std::size_t RootLength(TextView path, PathStyle style) {
  if (path.empty()) return 0;
  if (style == PathStyle::Posix) return path[0] == u'/' ? 1 : 0;
  if (path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == u':' && IsSeparator(path[2], style)) return 3;
  if (path.size() >= 2 && IsSeparator(path[0], style) && IsSeparator(path[1], style)) {
    // A network path: the server and the share belong to the root.
    std::size_t at = 2;
    for (int part = 0; part < 2 && at < path.size(); ++part) {
      while (at < path.size() && !IsSeparator(path[at], style)) ++at;
      if (at < path.size()) ++at;
    }
    return at;
  }
  return IsSeparator(path[0], style) ? 1 : 0;
}

bool IsAbsolute(TextView path, PathStyle style) {
  const std::size_t root = RootLength(path, style);
  // "\" alone names the root of the working drive, not an absolute path.
  return root > 1 || (root == 1 && style == PathStyle::Posix);
}

// The working folder joined with the relative path, "." and ".." resolved.
Text Absolute(const Text& working, TextView relative, PathStyle style) {
  const char16_t separator = Separator(style);
  Text joined;
  if (RootLength(relative, style) == 1) {
    joined =
        working.substr(0, std::min<std::size_t>(2, working.size())) + Text(relative);  // the drive's root
  } else {
    joined = working + separator + Text(relative);
  }
  const std::size_t rootLength = RootLength(joined, style);
  Text root = joined.substr(0, rootLength);
  for (char16_t& ch : root)
    if (IsSeparator(ch, style)) ch = separator;
  std::vector<Text> parts;
  std::size_t at = rootLength;
  while (at <= joined.size()) {
    std::size_t end = at;
    while (end < joined.size() && !IsSeparator(joined[end], style)) ++end;
    const Text part = joined.substr(at, end - at);
    if (part == u"..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != u".") {
      parts.push_back(part);
    }
    at = end + 1;
  }
  Text path = root;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) path += separator;
    path += parts[i];
  }
  return path;
}

void Print(std::ostream& stream, const Text& text) {
  stream << ToUtf8(text);
  stream.flush();
}

}  // namespace

WindowCommandLine ParseWindowCommandLine(const std::vector<Text>& args, const Text& workingFolder,
                                         PathStyle style) {
  WindowCommandLine parsed;
  bool optionsEnded = false;
  for (const Text& arg : args) {
    if (!optionsEnded && arg.starts_with(u'-') && arg != u"-") {
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
        parsed.problem = u"unknown option '" + arg + u"'";
        return parsed;
      }
      continue;
    }
    // A drop never brings an empty path; an empty argument names nothing.
    if (arg.empty()) continue;
    parsed.paths.push_back(IsAbsolute(arg, style) ? arg : Absolute(workingFolder, arg, style));
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
      Print(err, WindowUsageError(commandLine.problem));
      return 2;
  }
  return 2;
}

Text WindowUsageError(const Text& problem) {
  return u"brevant: " + problem + u"\n" + kUsageLine + u"Try 'brevant --help' for more information.\n";
}

Text WindowHelpText() {
  return Text(kUsageLine) +
         u"Open the Brevant window, which converts vCard contact files (.vcf) into\n"
         u"HTML documents that hold one table.\n"
         u"Each FILE goes into the window's list of input files as if it had been\n"
         u"dropped there: a folder brings every file of its whole tree.\n"
         u"Every choice made in the window is kept for the user and comes back at the\n"
         u"next start. brevant-convert does the same conversions without a window.\n"
         u"\n"
         u"Options:\n"
         u"  -h, --help     show this help and exit\n"
         u"      --version  show the version and exit\n"
         u"\n"
         u"Report bugs to: support@ambervale.example\n";
}

Text WindowVersionText() {
  return u"brevant " + FromUtf8(BREVANT_VERSION) +
         u"\n"
         u"Copyright (C) Ambervale.\n"
         u"License: MIT <https://opensource.org/licenses/MIT>.\n"
         u"This is free software: you are free to change and redistribute it.\n"
         u"There is NO WARRANTY, to the extent permitted by law.\n";
}

}  // namespace brevant
