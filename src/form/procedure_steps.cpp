#include "form/procedure_steps.h"

#include <new>

namespace brevant {

ProcedureSteps::ProcedureSteps(Dialogs& dialogs, TextView procedure, bool supportSentence)
    : dialogs_(dialogs),
      tag_(ProcedureTag(u"Tarnwick", u"Form1", procedure)),
      supportSentence_(supportSentence) {}

void ProcedureSteps::report(int number, Text description) const {
  dialogs_.errorBox(ErrorReport{std::move(description), tag_, number, supportSentence_});
}

void ProcedureSteps::report(int number, const std::exception& failure) const {
  if (dynamic_cast<const std::bad_alloc*>(&failure) != nullptr) {
    report(number, u"Out of memory");
  } else {
    report(number, DescriptionFromUtf8(failure.what()));
  }
}

}  // namespace brevant
