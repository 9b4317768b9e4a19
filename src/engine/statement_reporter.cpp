#include "engine/statement_reporter.h"

#include <new>

#include "support/file_error.h"

namespace brevant {

void StatementReporter::reportCurrentException(int statement, const Text& file) const {
  try {
    throw;
  } catch (const FileError& error) {
    report(statement, DescriptionFromUtf8(error.description()), file);
  } catch (const std::bad_alloc&) {
    report(statement, u"Out of memory", file);
  } catch (const std::exception& error) {
    report(statement, DescriptionFromUtf8(error.what()), file);
  }
}

}  // namespace brevant
