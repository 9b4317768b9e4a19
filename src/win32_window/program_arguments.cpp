#include "win32_window/program_arguments.h"

#include <windows.h>
// (the headers below need windows.h first)
#include <shellapi.h>

#include "support/text/utf8.h"
#include "win32_window/wide_text.h"

namespace brevant {

namespace {

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
    const Text lines = WithBoxLineBreaks(text);
    written = WriteConsoleW(handle, Wide(lines), static_cast<DWORD>(lines.size()), &done, nullptr) != 0;
  } else {
    const std::string bytes = ToUtf8(text);  // a file or pipe gets the lines as on Linux
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

Text WorkingFolder() {
  const DWORD needed = GetCurrentDirectoryW(0, nullptr);
  Text folder(needed, u'\0');
  const DWORD length = GetCurrentDirectoryW(needed, reinterpret_cast<wchar_t*>(folder.data()));
  folder.resize(length < needed ? length : 0);
  return folder;
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
      text = WindowUsageError(commandLine.problem);
      stream = STD_ERROR_HANDLE;
      icon = MB_ICONERROR;
      status = 2;
      break;
  }
  if (!WriteToStream(stream, text))
    MessageBoxW(nullptr, Wide(WithBoxLineBreaks(text)), L"Brevant", MB_OK | icon);
  return status;
}

}  // namespace brevant
