#include "engine/single_document_inputs.h"

#include <algorithm>

#include "support/file_helpers.h"

namespace brevant {

InputText ReadOrNothing(const Text& path, const StatementReporter& errors, int statement) {
  try {
    return ReadInput(path);
  } catch (...) {
    errors.reportCurrentException(statement, path);
    return InputText();
  }
}

bool NamesAnInput(const Text& outputPath, const std::vector<Text>& inputs) {
  if (!FileExists(outputPath)) return false;  // a new file replaces nothing
  return std::any_of(inputs.begin(), inputs.end(),
                     [&outputPath](const Text& input) { return IsSameFile(outputPath, input); });
}

}  // namespace brevant
