#pragma once

#include <exception>
#include <new>
#include <stdexcept>

#include "engine/host.h"
#include "support/messages/error_tags.h"

namespace brevant {

// Reports the failure of one numbered statement of an engine procedure through
// the host's error box; the procedure then goes on with its next statement.
class StatementReporter {
 public:
  StatementReporter(Host& host, Procedure procedure) : host_(host), tag_(TagOf(procedure)) {}

  void report(int statement, Text description, const Text& file = {}) const {
    host_.reportError(ErrorReport{std::move(description), tag_.tag, statement, tag_.supportSentence, file});
  }

  // Reports the exception in flight (FileError, out of memory, anything else).
  // `file` is the file the failure concerns. Gives whether memory ran out.
  bool reportCurrentException(int statement, const Text& file = {}) const;

 private:
  Host& host_;
  ProcedureTag tag_;
};

// What an error box says when memory ran out: a 32-bit program runs out of
// room long before the machine does, and the 64-bit one converts what it cannot.
inline constexpr const char16_t* kOutOfMemory =
    sizeof(void*) < 8 ? u"Out of memory: too large for the 32-bit Brevant; the 64-bit Brevant converts it"
                      : u"Out of memory";

// Memory ran out: no room could be had, or a text or list would outgrow what
// the program can address (a 32-bit program's strings end at 2 GB).
inline bool IsOutOfMemory(const std::exception& failure) {
  return dynamic_cast<const std::bad_alloc*>(&failure) != nullptr ||
         dynamic_cast<const std::length_error*>(&failure) != nullptr;
}

// A document is never written over one of its own inputs.
inline constexpr char16_t kOutputWouldOverwriteInput[] =
    u"The output file would overwrite the input file";  // "in Tarnwick2021/08/31.modVCF.<procedure> "

}  // namespace brevant
