#pragma once

#include <windows.h>

#include <cstdio>
#include <vector>

#include "support/text/text.h"
#include "win32_window/message_turns.h"

namespace brevant {

// What scripts that drive the window from outside need to know, written as
// UTF-8 lines to the file that the environment variable BREVANT_TEST_REPORT
// names (nothing happens without it): where each button's centre lies on the
// screen, how each busy span went, and the list's rows when the program ends.
class TestReport {
 public:
  TestReport();
  ~TestReport();
  TestReport(const TestReport&) = delete;
  TestReport& operator=(const TestReport&) = delete;

  bool active() const { return file_ != nullptr; }
  void control(const char* name, HWND handle);
  void busySpanBegun();
  void busySpan(const MessageTurns::BusySpan& span);
  void rows(const std::vector<Text>& rows);
  // How long the program took from the close to the end of its message loop.
  void closed(std::int64_t microseconds);

 private:
  void line(const std::string& text);
  std::FILE* file_ = nullptr;
};

}  // namespace brevant
