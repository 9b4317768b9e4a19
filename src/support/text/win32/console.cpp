#include "support/text/console.h"

#include <windows.h>

#include <streambuf>
#include <string>
#include <string_view>

#include "support/text/utf8.h"

namespace brevant {

namespace {

// Collects the UTF-8 text of one standard stream and hands it on at every
// flush: to a console as UTF-16 through WriteConsoleW, elsewhere as bytes.
class ConsoleBuffer final : public std::streambuf {
 public:
  explicit ConsoleBuffer(DWORD stream) : handle_(GetStdHandle(stream)) {
    DWORD mode = 0;
    console_ = handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE && GetConsoleMode(handle_, &mode) != 0;
  }
  ~ConsoleBuffer() override { sync(); }

  bool console() const { return console_; }
  HANDLE handle() const { return handle_; }

 protected:
  int_type overflow(int_type ch) override {
    if (ch != traits_type::eof()) pending_ += traits_type::to_char_type(ch);
    return traits_type::not_eof(ch);
  }
  std::streamsize xsputn(const char* text, std::streamsize count) override {
    pending_.append(text, static_cast<std::size_t>(count));
    return count;
  }
  int sync() override {
    if (pending_.empty() || handle_ == nullptr || handle_ == INVALID_HANDLE_VALUE) {
      pending_.clear();
      return 0;
    }
    bool written = true;
    if (console_) {
      // A character cut between two flushes waits for its last bytes.
      const std::size_t complete = CompleteLength(pending_);
      written = WriteToConsole(std::string_view(pending_).substr(0, complete));
      pending_.erase(0, complete);
    } else {
      DWORD done = 0;
      written = WriteFile(handle_, pending_.data(), static_cast<DWORD>(pending_.size()), &done, nullptr) != 0;
      pending_.clear();
    }
    return written ? 0 : -1;
  }

 private:
  // The erase-line sequence that the progress line ends with is done here, so
  // that consoles without terminal sequences show no stray characters.
  bool WriteToConsole(std::string_view text) {
    static constexpr std::string_view kEraseLine = "\x1b[K";
    while (!text.empty()) {
      const std::size_t erase = text.find(kEraseLine);
      const std::u16string wide = FromUtf8(text.substr(0, erase));
      DWORD done = 0;
      if (!wide.empty() &&
          !WriteConsoleW(handle_, wide.data(), static_cast<DWORD>(wide.size()), &done, nullptr)) {
        return false;
      }
      if (erase == std::string_view::npos) break;
      EraseToEndOfLine();
      text.remove_prefix(erase + kEraseLine.size());
    }
    return true;
  }

  void EraseToEndOfLine() {
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (!GetConsoleScreenBufferInfo(handle_, &info)) return;
    const DWORD count = static_cast<DWORD>(info.dwSize.X - info.dwCursorPosition.X);
    DWORD done = 0;
    FillConsoleOutputCharacterW(handle_, L' ', count, info.dwCursorPosition, &done);
    FillConsoleOutputAttribute(handle_, info.wAttributes, count, info.dwCursorPosition, &done);
  }

  // The length of the text without an unfinished UTF-8 sequence at its end.
  static std::size_t CompleteLength(const std::string& text) {
    std::size_t start = text.size();
    for (int back = 0; back < 4 && start > 0; ++back) {
      const auto byte = static_cast<unsigned char>(text[start - 1]);
      if ((byte & 0xC0) != 0x80) {
        const std::size_t need = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
        return text.size() - (start - 1) >= need ? text.size() : start - 1;
      }
      --start;
    }
    return text.size();
  }

  HANDLE handle_;
  bool console_ = false;
  std::string pending_;
};

ConsoleBuffer& OutputBuffer() {
  static ConsoleBuffer buffer(STD_OUTPUT_HANDLE);
  return buffer;
}

ConsoleBuffer& ErrorBuffer() {
  static ConsoleBuffer buffer(STD_ERROR_HANDLE);
  return buffer;
}

}  // namespace

std::ostream& StandardOutput() {
  static std::ostream stream(&OutputBuffer());
  return stream;
}

std::ostream& StandardError() {
  // Unbuffered as standard error is: every message shows at once.
  static std::ostream stream(&ErrorBuffer());
  static const bool unbuffered = (stream.setf(std::ios::unitbuf), true);
  (void)unbuffered;
  return stream;
}

// A console redraws a line in place: the carriage return moves to the line's
// start, and the erase sequence is done by the stream itself.
bool StandardErrorRedraws() { return ErrorBuffer().console(); }

std::size_t StandardErrorColumns() {
  CONSOLE_SCREEN_BUFFER_INFO info{};
  if (!GetConsoleScreenBufferInfo(ErrorBuffer().handle(), &info)) return 0;
  return static_cast<std::size_t>(info.srWindow.Right - info.srWindow.Left + 1);
}

}  // namespace brevant
