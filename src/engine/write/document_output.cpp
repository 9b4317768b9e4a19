#include "engine/write/document_output.h"

#include "engine/write/html_document.h"
#include "support/file_error.h"

namespace brevant {

DocumentOutput::DocumentOutput(const Text& path, ExistingTarget existing, const TargetLook* look) {
  if (!path.empty()) writer_.emplace(path, existing, look);
}

namespace {
thread_local std::uint64_t committedBytes = 0;
}

void DocumentOutput::write(std::string_view bytes) {
  if (!writer_) return;
  writer_->write(bytes);
  size_ += bytes.size();
}

void DocumentOutput::commit() {
  write(kFinalLineBreak);
  commitAsWritten();
}

void DocumentOutput::commitAsWritten() {
  if (!writer_) throw FileError("Bad file name or number");
  writer_->commit();
  committedBytes += size_;
}

std::uint64_t CommittedDocumentBytes() { return committedBytes; }

}  // namespace brevant
