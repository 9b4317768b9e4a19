#include "engine/convert/contact_conversion.h"

#include <functional>
#include <optional>
#include <utility>

#include "engine/contacts/contact_reader.h"
#include "engine/convert/one_document_inputs.h"
#include "engine/convert/table_options.h"
#include "engine/progress.h"
#include "engine/write/contact_html.h"
#include "engine/write/html_document.h"
#include "support/files/path_helpers.h"

namespace brevant {

namespace {

// Numbers of the statements that error boxes quote, as in the per-input
// conversion; the one-document conversion's are its sweeps'.
enum Statement : int {
  kPerInputScan = 128,
  kPerInputWrite = 546,
};

// The contacts of one input as they are read, with the columns they need.
// Their rows are kept until the document can be written while they take no
// more than kKeptRowsBudget: the usual input is read once. Past that they are
// dropped and only the columns are gathered further; the rows then come from
// a second reading of the input, one contact at a time. An input larger than
// the budget is read that way from the start, as its rows would not fit.
class KeptRows final : public ContactSink {
 public:
  KeptRows(ContactColumns& columns, ContactLabels& labels, PropertyTally& leftOut, std::size_t inputBytes,
           std::size_t budget)
      : columns_(columns),
        labels_(labels),
        leftOut_(leftOut),
        budget_(budget),
        dropped_(inputBytes > budget) {}

  std::string& values() override { return values_; }
  std::vector<ContactCell>& cells() override { return cells_; }
  void contact(const Contact& contact) override {
    columns_.add(contact.cells);
    ++contacts_;
    if (!dropped_) {
      rowEnds_.push_back(cells_.size());
      const std::size_t taken =
          cells_.size() * sizeof(ContactCell) + values_.size() + rowEnds_.size() * sizeof(std::size_t);
      if (taken <= budget_) return;
      dropped_ = true;
      std::vector<std::size_t>().swap(rowEnds_);
      std::vector<ContactCell>().swap(cells_);
      std::string().swap(values_);
    }
    cells_.clear();
    values_.clear();
  }
  ContactLabels& labels() override { return labels_; }
  void leftOut(std::string_view name, std::string_view detail) override { leftOut_.add(name, detail); }

  // Once the rows are dropped, only the captions of the cells count.
  bool keepsValues() const override { return !dropped_; }

  std::size_t contacts() const { return contacts_; }
  // The rows were too many to keep: the input is read again for them.
  bool dropped() const { return dropped_; }
  std::span<const ContactCell> row(std::size_t row) const {
    const std::size_t start = row == 0 ? 0 : rowEnds_[row - 1];
    return std::span(cells_).subspan(start, rowEnds_[row] - start);
  }
  std::string_view storedValues() const { return values_; }

 private:
  ContactColumns& columns_;
  ContactLabels& labels_;
  PropertyTally& leftOut_;
  std::string values_;
  std::vector<ContactCell> cells_;
  std::vector<std::size_t> rowEnds_;
  std::size_t contacts_ = 0;
  std::size_t budget_;
  bool dropped_;
};

class ColumnCollector final : public ContactSink {
 public:
  ColumnCollector(ContactColumns& columns, ContactLabels& labels, PropertyTally& leftOut)
      : columns_(columns), labels_(labels), leftOut_(leftOut) {}
  std::string& values() override { return values_; }
  std::vector<ContactCell>& cells() override { return cells_; }
  void contact(const Contact& contact) override {
    columns_.add(contact.cells);
    cellCount_ += contact.cells.size();
    values_.clear();
    cells_.clear();
  }
  ContactLabels& labels() override { return labels_; }
  void leftOut(std::string_view name, std::string_view detail) override { leftOut_.add(name, detail); }
  // Values are not kept, but read: labels and the names of contacts come from them.
  bool keepsValues() const override { return false; }
  std::size_t cellCount() const { return cellCount_; }

 private:
  ContactColumns& columns_;
  ContactLabels& labels_;
  PropertyTally& leftOut_;
  std::string values_;
  std::vector<ContactCell> cells_;
  std::size_t cellCount_ = 0;
};

// Writes each contact's row as it is read, so that only one contact is held at
// a time. A caption that was not there in the first sweep (the file changed
// meanwhile) is dropped. `beforeRow` runs before every row.
class RowWriter final : public ContactSink {
 public:
  RowWriter(const ContactColumns& columns, ContactLabels& labels, ContactDocument& document,
            std::function<void()> beforeRow = {})
      : columns_(columns), labels_(labels), document_(document), beforeRow_(std::move(beforeRow)) {}
  ContactLabels& labels() override { return labels_; }

  std::string& values() override { return values_; }
  std::vector<ContactCell>& cells() override { return cells_; }
  void contact(const Contact& contact) override {
    if (beforeRow_) beforeRow_();
    document_.row(contact.cells, contact.input, contact.values, columns_);
    values_.clear();
    cells_.clear();
  }

 private:
  const ContactColumns& columns_;
  ContactLabels& labels_;
  ContactDocument& document_;
  std::function<void()> beforeRow_;
  std::string values_;
  std::vector<ContactCell> cells_;
};

}  // namespace

DocumentOutcome ConvertContactsPerInput(Host& host, const StatementReporter& errors, const InputText& input,
                                        const Text& inputPath, const Text& outputPath, BesideFiles* beside,
                                        PropertyTally& leftOut, const TargetLook* target,
                                        std::size_t keptRowsBudget) {
  const ContactTableStyle style = ReadContactTableStyle(host);
  ContactLabels labels;  // one for both readings, so that a label is the same number in each
  ContactColumns columns(labels);
  std::optional<ContactBytes> bytes;
  std::optional<KeptRows> kept;
  try {
    bytes.emplace(input);
    kept.emplace(columns, labels, leftOut, bytes->bytes().size(), keptRowsBudget);
    const std::size_t blocks = ReadContacts(*bytes, *kept, host);
    if (!input.ansi().empty()) host.noteVcardBlocks(inputPath, blocks);  // empty: a missing file
  } catch (...) {
    errors.reportCurrentException(kPerInputScan, inputPath);
    return DocumentOutcome::Failed;
  }
  if (columns.empty()) return DocumentOutcome::NoCells;

  try {
    DocumentOutput output(outputPath, ExistingTarget::Replace, target);
    ContactDocument document(output, TurnsOf(host), beside);
    document.begin(style, StripExtension(GetFileName(inputPath)), columns);
    // The window gets its turn before every row, and the bar runs from 0 to 100 over the rows.
    const std::size_t last = kept->contacts() - 1;
    PercentSteps steps(last);
    std::size_t row = 0;
    const auto beforeRow = [&] {
      host.yield();
      if (last > 0 && row <= last && steps.changesAt(row)) host.setProgressPosition(steps.at(row));
      ++row;
    };
    if (kept->dropped()) {
      RowWriter rows(columns, labels, document, beforeRow);
      ReadContacts(*bytes, rows, host);
    } else {
      for (std::size_t k = 0; k <= last; ++k) {
        beforeRow();
        document.row(kept->row(k), bytes->bytes(), kept->storedValues(), columns);
      }
    }
    document.flush();
    output.write(kClosing);
    // The document and the files beside it go in place together, or none does.
    if (!CommitWithBesideFiles(output, beside, errors, kPerInputWrite)) return DocumentOutcome::Failed;
    return DocumentOutcome::Written;
  } catch (...) {
    errors.reportCurrentException(kPerInputWrite, outputPath);
    return DocumentOutcome::Failed;
  }
}

void ConvertContactsToOneDocument(Host& host, const StatementReporter& errors,
                                  const std::vector<Text>& inputs, const Text& outputPath,
                                  const FormatChoice& chosen, RunSummary& summary) {
  const ContactTableStyle style = ReadContactTableStyle(host);
  summary.inputs = inputs.size();
  ContactLabels labels;  // one for both sweeps, so that a label is the same number in each
  ContactColumns columns(labels);
  InputSweeps sweeps(host, summary);
  {
    // Its room for one contact goes before the second sweep needs the same.
    ColumnCollector collector(columns, labels, summary.leftOut);
    for (std::size_t f = 1; f <= inputs.size(); ++f) {
      host.setProgressPosition(WholePercent(f, inputs.size()));
      const InputText& input = sweeps.read(f - 1, inputs[f - 1], errors, kFirstSweepRead);
      const std::size_t cellsBefore = collector.cellCount();
      try {
        const std::size_t blocks = ReadContacts(ContactBytes(input), collector, host);
        // Nothing read: a missing file, or one whose read failure was reported.
        if (!input.ansi().empty()) host.noteVcardBlocks(inputs[f - 1], blocks);
      } catch (...) {
        errors.reportCurrentException(kFirstSweepScan, inputs[f - 1]);
        sweeps.failed(f - 1);
      }
      if (collector.cellCount() == cellsBefore && !sweeps.lost(f - 1)) summary.foundNothingIn(inputs[f - 1]);
    }
  }
  if (columns.empty()) return;  // no document, and an earlier one stays as it is

  try {
    DocumentOutput output(outputPath);
    BesideFiles beside;
    beside.openBeside(outputPath, chosen, TurnsOf(host), ExistingTarget::KeepReadOnly);
    ContactDocument document(output, TurnsOf(host), beside.any() ? &beside : nullptr);
    document.begin(style, kContactsTitle, columns);
    RowWriter rows(columns, labels, document);
    std::size_t index = 0;
    sweeps.secondSweep(inputs, errors,
                       [&](const InputText& input) {
                         // An input that could not be read is a row of empty cells.
                         if (sweeps.lost(index++)) return document.row({}, {}, {}, columns);
                         ReadContacts(ContactBytes(input), rows, host);
                       },
                       {});
    document.flush();
    CommitOneDocument(output, beside, outputPath, inputs, errors, kWriteOneDocument, summary);
  } catch (...) {
    if (errors.reportCurrentException(kWriteOneDocument, outputPath)) sweeps.allFailed(inputs.size());
  }
}

}  // namespace brevant
