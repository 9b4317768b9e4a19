#pragma once

#include <string_view>

#include "engine/line_handling.h"
#include "engine/vcard_reader.h"

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
}  // namespace detail

// Calls handle(caption, value) for every cell of every line of one input file,
// in order. The occurrence counters start at 1 for the file. The value is a
// string_view of char (ANSI file) or of char16_t (UTF-16 file), valid only
// during the call.
template <class Handle>
void ForEachCell(const InputText& input, Acceptance acceptance, Handle&& handle) {
  OccurrenceCounters counters;
  const auto scan = [&](auto text) {
    using Ch = typename decltype(text)::value_type;
    detail::FunctionCellSink<Ch, std::remove_reference_t<Handle>> sink(handle);
    ForEachLine(text, [&](auto line) { HandleLine<Ch>(line, counters, acceptance, sink); });
  };
  if (input.utf16) {
    scan(std::u16string_view(input.chars));
  } else {
    scan(std::string_view(input.bytes));
  }
}

}  // namespace brevant
