#include "form/procedure_steps.h"

#include <new>

namespace brevant {

ProcedureSteps::ProcedureSteps(Dialogs& dialogs, Procedure procedure)
    : dialogs_(dialogs), tag_(TagOf(procedure)) {}

void ProcedureSteps::report(int number, Text description) const {
  dialogs_.errorBox(ErrorReport{std::move(description), tag_.tag, number, tag_.supportSentence});
}

void ProcedureSteps::report(int number, const std::exception& failure) const {
  if (dynamic_cast<const std::bad_alloc*>(&failure) != nullptr) {
    report(number, u"Out of memory");
  } else {
    report(number, DescriptionFromUtf8(failure.what()));
  }
}

}  // namespace brevant
