#pragma once

#include <string_view>
#include <type_traits>

#include "engine/progress.h"
#include "engine/scan/line_scanner.h"
#include "engine/text/file_text.h"

namespace brevant {

namespace detail {
template <class Ch, class Handle>
class FunctionCellSink final : public CellSink<Ch> {
 public:
  explicit FunctionCellSink(Handle& handle) : handle_(handle) {}
  void cell(CaptionKey caption, std::basic_string_view<Ch> value) override { handle_(caption, value); }

 private:
  Handle& handle_;
};

template <class Ch>
class DiscardingCellSink final : public CellSink<Ch> {
 public:
  void cell(CaptionKey, std::basic_string_view<Ch>) override {}
};

// A byte-order mark stays in the file's first line, where it hides a
// BEGIN:VCARD from the line handling: 1 when the line is one behind a mark.
template <class Ch>
std::uint64_t MarkedFirstBlock(std::basic_string_view<Ch> text) {
  std::basic_string_view<Ch> mark;
  if constexpr (std::is_same_v<Ch, char>) {
    mark = "\xEF\xBB\xBF";  // UTF-8, read one byte a character
  } else {
    mark = u"\uFEFF";
  }
  if (!text.starts_with(mark)) return 0;
  text.remove_prefix(mark.size());
  OccurrenceCounters counters;
  DiscardingCellSink<Ch> discard;
  HandleLine<Ch>(text.substr(0, text.find(Ch('\n'))), counters, Acceptance::ParametersOnly, discard,
                 CellValues::Omitted);
  return counters.vcardBlocks;
}
}  // namespace detail

// Calls handle(caption, value) for every cell of every line of a file's text,
// in order, and turn() after every stretch of text that takes a noticeable
// while, so that the window stays responsive however the text is made; gives
// the number of BEGIN:VCARD lines. The occurrence counters start at 1 for the
// file. The value is valid only during the call unless it lies within the text.
template <class Ch, class Handle, class Turn>
std::uint64_t ForEachCellOfText(std::basic_string_view<Ch> text, Acceptance acceptance, CellValues values,
                                Handle&& handle, Turn&& turn) {
  OccurrenceCounters counters;
  detail::FunctionCellSink<Ch, std::remove_reference_t<Handle>> sink(handle);
  std::size_t sinceTurn = 0;
  ForEachLine(text, [&](std::basic_string_view<Ch> line) {
    HandleLine<Ch>(line, counters, acceptance, sink, values);
    sinceTurn += line.size() + 1;
    if (sinceTurn >= kCharactersBetweenTurns) {
      sinceTurn = 0;
      turn();
    }
  });
  ReleaseCleaningRoom();
  return counters.vcardBlocks + detail::MarkedFirstBlock(text);
}

// The same for an input file, whichever its encoding: the value is a
// string_view of char (ANSI file) or of char16_t (UTF-16 file).
template <class Handle, class Turn>
std::uint64_t ForEachCell(const InputText& input, Acceptance acceptance, CellValues values, Handle&& handle,
                          Turn&& turn) {
  if (input.utf16()) return ForEachCellOfText(input.chars(), acceptance, values, handle, turn);
  return ForEachCellOfText(input.ansi(), acceptance, values, handle, turn);
}

}  // namespace brevant
