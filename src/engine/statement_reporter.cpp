#include "engine/statement_reporter.h"

#include "support/files/file_error.h"

namespace brevant {

bool StatementReporter::reportCurrentException(int statement, const Text& file) const {
  try {
    throw;
  } catch (const FileError& error) {
    report(statement, DescriptionFromUtf8(error.description()), file);
  } catch (const std::exception& error) {
    const bool outOfMemory = IsOutOfMemory(error);
    report(statement, outOfMemory ? Text(kOutOfMemory) : DescriptionFromUtf8(error.what()), file);
    return outOfMemory;
  }
  return false;
}

}  // namespace brevant
