#include "win32_window/test_report.h"

#include <string>

#include "support/text/utf8.h"

namespace brevant {

TestReport::TestReport() {
  const wchar_t* variable = L"BREVANT_TEST_REPORT";
  const DWORD length = GetEnvironmentVariableW(variable, nullptr, 0);
  if (length == 0) return;
  std::wstring path(length, L'\0');
  path.resize(GetEnvironmentVariableW(variable, path.data(), length));
  file_ = _wfopen(path.c_str(), L"wb");
}

TestReport::~TestReport() {
  if (file_ != nullptr) std::fclose(file_);
}

void TestReport::line(const std::string& text) {
  if (file_ == nullptr) return;
  std::fputs((text + "\n").c_str(), file_);
  std::fflush(file_);
}

void TestReport::control(const char* name, HWND handle) {
  RECT place;
  if (!GetWindowRect(handle, &place)) return;
  line(std::string("control ") + name + " " + std::to_string((place.left + place.right) / 2) + " " +
       std::to_string((place.top + place.bottom) / 2));
}

void TestReport::busySpanBegun() { line("busy-begun"); }

void TestReport::busySpan(const MessageTurns::BusySpan& span) {
  line("busy " + std::to_string(span.duration) + " " + std::to_string(span.longestGap) + " " +
       std::to_string(span.turns));
}

void TestReport::closed(std::int64_t microseconds) { line("closed " + std::to_string(microseconds)); }

void TestReport::rows(const std::vector<Text>& rows) {
  for (const Text& row : rows) line("row " + ToUtf8(row));
  line("rows " + std::to_string(rows.size()));
}

}  // namespace brevant
