#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "engine/write/beside_file.h"
#include "engine/write/output_formats.h"

namespace brevant {

// The files a document's table goes to beside it, one for each chosen format
// in the order of the formats' table. Every header cell, value and row end
// goes to each of them as the document is written.
class BesideFiles {
 public:
  struct Entry {
    OutputFormat format;
    std::unique_ptr<BesideFile> file;
  };

  // Opens the file of `format` at its path beside the document.
  void open(OutputFormat format, const Text& documentPath, const Turn& turn, ExistingTarget existing,
            const TargetLook* look = nullptr) {
    openAt(format, PathBeside(documentPath, format), turn, existing, look);
  }
  void openAt(OutputFormat format, const Text& path, const Turn& turn, ExistingTarget existing,
              const TargetLook* look = nullptr) {
    files_.push_back({format, FormatInfo(format).open(path, existing, turn, look)});
  }
  // Opens the chosen files beside the document at `documentPath`.
  void openBeside(const Text& documentPath, const FormatChoice& choice, const Turn& turn,
                  ExistingTarget existing) {
    for (const OutputFormatInfo& info : kOutputFormats)
      if (choice[info.format]) open(info.format, documentPath, turn, existing);
  }
  bool any() const { return !files_.empty(); }
  const std::vector<Entry>& files() const { return files_; }
  // Leaves out the files for which `drop` holds; they are never put in place.
  template <class Drop>
  void leaveOut(Drop drop) {
    std::erase_if(files_, [&](const Entry& entry) { return drop(*entry.file); });
  }

  void caption(CaptionKey caption) {
    for (Entry& entry : files_) entry.file->caption(caption);
  }
  // A caption of one row per contact, in UTF-8.
  void caption(std::string_view text) {
    for (Entry& entry : files_) entry.file->caption(text);
  }
  // A value of the line scanner: bytes or UTF-16 text.
  template <class Ch>
  void lineValue(std::basic_string_view<Ch> value) {
    for (Entry& entry : files_) entry.file->lineValue(value);
  }
  // A decoded value of one row per contact.
  void value(std::string_view bytes, ByteEncoding encoding) {
    for (Entry& entry : files_) entry.file->value(bytes, encoding);
  }
  void emptyValue() {
    for (Entry& entry : files_) entry.file->emptyValue();
  }
  void endRow() {
    for (Entry& entry : files_) entry.file->endRow();
  }

  // Puts the document and these files in place together, or none of them (a
  // failure is reported at `statement`). A file that could not be made is
  // reported and left out: the document comes without it. Gives whether the
  // document was placed; written() then says which files went with it.
  bool commitWith(DocumentOutput& document, const StatementReporter& errors, int statement) {
    std::vector<DocumentOutput*> outputs{&document};
    std::vector<const Entry*> finished;
    for (const Entry& entry : files_) {
      if (DocumentOutput* output = entry.file->finished(errors, statement)) {
        outputs.push_back(output);
        finished.push_back(&entry);
      }
    }
    if (!CommitTogether(outputs, errors, statement)) return false;
    written_ = std::move(finished);
    return true;
  }
  // The files put in place with the document, in the formats' order.
  const std::vector<const Entry*>& written() const { return written_; }

 private:
  std::vector<Entry> files_;
  std::vector<const Entry*> written_;
};

// The document with the files beside it, when it has any (`beside` may be
// null), in place together (BesideFiles::commitWith).
inline bool CommitWithBesideFiles(DocumentOutput& document, BesideFiles* beside,
                                  const StatementReporter& errors, int statement) {
  return beside != nullptr ? beside->commitWith(document, errors, statement)
                           : CommitTogether({&document}, errors, statement);
}

}  // namespace brevant
