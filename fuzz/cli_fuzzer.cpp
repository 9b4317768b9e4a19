// libFuzzer target for what brevant-convert makes of its command line: argument
// parsing, colour arguments and file patterns. Besides surviving any input,
// every colour it takes must read the same in its other forms, and a pattern
// must treat letter case and literal names as a folder listing does.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_options.h"
#include "cli/colour_argument.h"
#include "support/folders/file_pattern.h"
#include "support/text/utf8.h"

namespace {

void Check(bool condition) {
  if (!condition) abort();
}

std::string Hex(std::uint32_t value) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text;
  do {
    text.insert(text.begin(), kDigits[value & 0xF]);
    value >>= 4;
  } while (value != 0);
  return text;
}

void CheckColour(const std::string& text) {
  const auto colour = brevant::ParseColourArgument(text);
  if (!colour) return;
  const auto bits = static_cast<std::uint32_t>(*colour);
  Check(brevant::ParseColourArgument(std::to_string(bits)) == colour);
  Check(brevant::ParseColourArgument(std::to_string(*colour)) == colour);
  Check(brevant::ParseColourArgument("0x" + Hex(bits)) == colour);
}

std::string AsciiUpper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

void CheckPattern(const std::string& pattern, const std::string& name) {
  if (!brevant::IsValidUtf8(pattern) || !brevant::IsValidUtf8(name)) return;
  const brevant::FilePattern matcher(brevant::FromUtf8(pattern));
  const bool matches = matcher.matches(brevant::FromUtf8(name));
  Check(matcher.matches(brevant::FromUtf8(AsciiUpper(name))) == matches);
  Check(brevant::FilePattern(brevant::FromUtf8(AsciiUpper(pattern))).matches(brevant::FromUtf8(name)) ==
        matches);
  Check(brevant::FilePattern(u"*").matches(brevant::FromUtf8(name)));
  if (pattern.find_first_of("*?.") == std::string::npos) {
    Check(brevant::FilePattern(brevant::FromUtf8(pattern)).matches(brevant::FromUtf8(pattern)));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The bytes are the arguments, separated by NUL.
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> args;
  for (std::size_t start = 0; start <= bytes.size();) {
    const std::size_t end = std::min(bytes.find('\0', start), bytes.size());
    args.push_back(bytes.substr(start, end - start));
    start = end + 1;
  }
  const brevant::ParsedCommandLine parsed = brevant::ParseCommandLine(args);
  if (parsed.action == brevant::CliAction::UsageError) Check(!parsed.problem.empty());
  if (parsed.action == brevant::CliAction::Run) {
    for (const std::string& file : parsed.options.files) Check(!file.empty());
    Check(!parsed.options.extension.empty() && parsed.options.extension.front() != '.');
  }

  for (const std::string& arg : args) CheckColour(arg);
  if (args.size() >= 2) CheckPattern(args[0], args[1]);
  return 0;
}
