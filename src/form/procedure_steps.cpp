#include "form/procedure_steps.h"

#include "engine/statement_reporter.h"

namespace brevant {

ProcedureSteps::ProcedureSteps(Dialogs& dialogs, Procedure procedure)
    : dialogs_(dialogs), tag_(TagOf(procedure)) {}

void ProcedureSteps::report(int number, Text description) const {
  dialogs_.errorBox(ErrorReport{std::move(description), tag_.tag, number, tag_.supportSentence});
}

void ProcedureSteps::report(int number, const std::exception& failure) const {
  if (IsOutOfMemory(failure)) {
    report(number, kOutOfMemory);
  } else {
    report(number, DescriptionFromUtf8(failure.what()));
  }
}

}  // namespace brevant
