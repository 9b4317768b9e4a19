#pragma once

#include <exception>
#include <utility>

#include "form/dialogs.h"
#include "support/messages/error_tags.h"

namespace brevant {

// The numbered statements of one of the window's handlers: a statement that
// fails shows the "Application Error" box with the handler's tag and its number,
// and the handler goes on with the next statement. A closing window
// (WindowClosed) is no failure and passes on.
class ProcedureSteps {
 public:
  ProcedureSteps(Dialogs& dialogs, Procedure procedure);

  template <class Statement>
  void step(int number, Statement&& statement) {
    try {
      std::forward<Statement>(statement)();
    } catch (const std::exception& failure) {
      report(number, failure);
    }
  }

  // Reports a failure of the statement without an exception behind it.
  void report(int number, Text description) const;
  // Reports the failure the exception tells of.
  void report(int number, const std::exception& failure) const;

 private:
  Dialogs& dialogs_;
  ProcedureTag tag_;
};

// A stored value that does not convert, in the words users know.
inline constexpr char kTypeMismatch[] = "Type mismatch";

}  // namespace brevant
