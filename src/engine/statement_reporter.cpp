#include "engine/statement_reporter.h"

#include <new>

#include "support/files/file_error.h"

namespace brevant {

namespace {

// A 32-bit program runs out of room long before the machine does; the 64-bit
// one converts what it cannot.
constexpr const char16_t* kOutOfMemory =
    sizeof(void*) < 8 ? u"Out of memory: too large for the 32-bit Brevant; the 64-bit Brevant converts it"
                      : u"Out of memory";

}  // namespace

void StatementReporter::reportCurrentException(int statement, const Text& file) const {
  try {
    throw;
  } catch (const FileError& error) {
    report(statement, DescriptionFromUtf8(error.description()), file);
  } catch (const std::bad_alloc&) {
    report(statement, kOutOfMemory, file);
  } catch (const std::exception& error) {
    report(statement, DescriptionFromUtf8(error.what()), file);
  }
}

}  // namespace brevant
