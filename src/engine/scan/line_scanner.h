#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/scan/captions.h"
#include "support/text/text.h"

namespace brevant {

// When the type-name table (EMAIL, N, URL, NOTE, ADR, TEL) is consulted: the
// per-file conversion only for a name part holding ";", the single-document
// conversion for every name part that is not a plain name.
enum class Acceptance { ParametersOnly, EveryTypeName };

// Numbers repeated e-mail, web-site, business and home telephone lines. They
// start at 1 for every input file and run on across all contacts of the file.
// The BEGIN:VCARD lines are counted on the way: they tell how many contacts
// share the file's row.
struct OccurrenceCounters {
  std::uint64_t email = 1;
  std::uint64_t website = 1;
  std::uint64_t businessPhone = 1;
  std::uint64_t homePhone = 1;
  std::uint64_t vcardBlocks = 0;
};

// Receives the cells of a line in order. Ch is char for a file read in the ANSI
// code page (one byte a character) and char16_t for a UTF-16 file.
template <class Ch>
class CellSink {
 public:
  virtual void cell(CaptionKey caption, std::basic_string_view<Ch> value) = 0;

 protected:
  ~CellSink() = default;
};

// Whether the sink gets each cell's cleaned value, or only its caption (with an
// empty value) when a scan needs no more.
enum class CellValues { Cleaned, Omitted };

template <class Ch>
void HandleLine(std::basic_string_view<Ch> line, OccurrenceCounters& counters, Acceptance acceptance,
                CellSink<Ch>& sink, CellValues values = CellValues::Cleaned);

// A cell's value lives only until the next cell when cleaning changed it. A
// large one of those is handed over into `into` (moved, never copied, so a value
// of a gigabyte is not held twice) and the result is true; otherwise false, and
// the caller copies the value when it keeps it.
template <class Ch>
bool TakeCleanedValue(std::basic_string_view<Ch> value, std::basic_string<Ch>& into);

// Gives back the room that cleaning a large value took, once a file is done.
void ReleaseCleaningRoom();

extern template bool TakeCleanedValue<char>(std::string_view, std::string&);
extern template bool TakeCleanedValue<char16_t>(std::u16string_view, std::u16string&);
extern template void HandleLine<char>(std::string_view, OccurrenceCounters&, Acceptance, CellSink<char>&,
                                      CellValues);
extern template void HandleLine<char16_t>(std::u16string_view, OccurrenceCounters&, Acceptance,
                                          CellSink<char16_t>&, CellValues);

}  // namespace brevant
