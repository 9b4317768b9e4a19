#include "engine/document_output.h"

#include "engine/html_document.h"
#include "support/file_error.h"

namespace brevant {

DocumentOutput::DocumentOutput(const Text& path, ExistingTarget existing) {
  if (!path.empty()) writer_.emplace(path, existing);
}

void DocumentOutput::write(std::string_view bytes) {
  if (writer_) writer_->write(bytes);
}

void DocumentOutput::commit() {
  if (!writer_) throw FileError("Bad file name or number");
  writer_->write(kFinalLineBreak);
  writer_->commit();
}

}  // namespace brevant
