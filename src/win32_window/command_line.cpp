#include "win32_window/command_line.h"

#include <windows.h>
// (the headers below need windows.h first)
#include <shellapi.h>

#include "brevant_version.h"
#include "support/utf8.h"
#include "win32_window/wide_text.h"

namespace brevant {

namespace {

constexpr char16_t kUsageLine[] = u"Usage: brevant.exe [OPTION]... [FILE]...\r\n";

Text FullPath(const Text& path) {
  const DWORD needed = GetFullPathNameW(Wide(path), 0, nullptr, nullptr);
  if (needed == 0) return path;
  Text full(needed, u'\0');
  const DWORD length = GetFullPathNameW(Wide(path), needed, reinterpret_cast<wchar_t*>(full.data()), nullptr);
  if (length == 0 || length >= needed) return path;
  full.resize(length);
  return full;
}

// Text to the stream the program was started with (a console, a file or a
// pipe), else to the console of the program that started it; false when
// there is neither.
bool WriteToStream(DWORD stream, const Text& text) {
  HANDLE handle = GetStdHandle(stream);
  bool owned = false;
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE || GetFileType(handle) == FILE_TYPE_UNKNOWN) {
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return false;
    handle = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    owned = true;
  }
  DWORD mode = 0;
  DWORD done = 0;
  bool written = false;
  if (GetConsoleMode(handle, &mode)) {
    written = WriteConsoleW(handle, Wide(text), static_cast<DWORD>(text.size()), &done, nullptr) != 0;
  } else {
    Text lines;  // a file or pipe gets the lines as on Linux
    for (char16_t unit : text)
      if (unit != u'\r') lines += unit;
    const std::string bytes = ToUtf8(lines);
    written = WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) != 0;
  }
  if (owned) CloseHandle(handle);
  return written;
}

}  // namespace

std::vector<Text> ProgramArguments() {
  std::vector<Text> args;
  int count = 0;
  LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
  if (words == nullptr) return args;
  for (int i = 1; i < count; ++i) args.push_back(FromWide(words[i]));
  LocalFree(words);
  return args;
}

WindowCommandLine ParseWindowCommandLine(const std::vector<Text>& args) {
  WindowCommandLine parsed;
  bool optionsEnded = false;
  for (const Text& arg : args) {
    if (!optionsEnded && arg.size() > 1 && arg.front() == u'-') {
      if (arg == u"--") {
        optionsEnded = true;
      } else if (arg == u"-h" || arg == u"--help" || arg == u"/?") {
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
    if (!arg.empty()) parsed.paths.push_back(FullPath(arg));
  }
  return parsed;
}

std::optional<int> AnswerWithoutWindow(const WindowCommandLine& commandLine) {
  Text text;
  DWORD stream = STD_OUTPUT_HANDLE;
  UINT icon = MB_ICONINFORMATION;
  int status = 0;
  switch (commandLine.action) {
    case WindowCommandLine::Action::Open:
      return std::nullopt;
    case WindowCommandLine::Action::ShowHelp:
      text = WindowHelpText();
      break;
    case WindowCommandLine::Action::ShowVersion:
      text = WindowVersionText();
      break;
    case WindowCommandLine::Action::UsageError:
      text = u"brevant.exe: " + commandLine.problem + u"\r\n" + kUsageLine +
             u"Try 'brevant.exe --help' for more information.\r\n";
      stream = STD_ERROR_HANDLE;
      icon = MB_ICONERROR;
      status = 2;
      break;
  }
  if (!WriteToStream(stream, text)) MessageBoxW(nullptr, Wide(text), L"Brevant", MB_OK | icon);
  return status;
}

Text WindowHelpText() {
  return Text(kUsageLine) +
         u"Open the Brevant window, which converts vCard contact files (.vcf) into\r\n"
         u"HTML documents that hold one table.\r\n"
         u"Each FILE goes into the window's list of input files as if it had been\r\n"
         u"dropped there: a folder brings every file of its whole tree.\r\n"
         u"Every choice made in the window is kept for the user and comes back at the\r\n"
         u"next start. brevant-convert.exe does the same conversions without a window.\r\n"
         u"\r\n"
         u"Options:\r\n"
         u"  -h, --help     show this help and exit\r\n"
         u"      --version  show the version and exit\r\n"
         u"\r\n"
         u"Report bugs to: support@ambervale.example\r\n";
}

Text WindowVersionText() {
  return u"brevant " BREVANT_VERSION_TEXT
         u"\r\n"
         u"Copyright (C) Ambervale.\r\n"
         u"License: MIT <https://opensource.org/licenses/MIT>.\r\n"
         u"This is free software: you are free to change and redistribute it.\r\n"
         u"There is NO WARRANTY, to the extent permitted by law.\r\n";
}

}  // namespace brevant
