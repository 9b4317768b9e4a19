#pragma once

#include <exception>

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
  // `file` is the file the failure concerns.
  void reportCurrentException(int statement, const Text& file = {}) const;

 private:
  Host& host_;
  ProcedureTag tag_;
};

// A document is never written over one of its own inputs.
inline constexpr char16_t kOutputWouldOverwriteInput[] =
    u"The output file would overwrite the input file";  // "in Tarnwick2021/08/31.modVCF.<procedure> "

}  // namespace brevant
