#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <set>
#include <unordered_map>
#include <vector>

#include "engine/convert/run_summary.h"
#include "engine/statement_reporter.h"
#include "engine/text/file_text.h"
#include "engine/write/beside_files.h"
#include "engine/write/document_output.h"

namespace brevant {

// What the one-document conversions, by file or by contact, share about their inputs.

// Numbers of the statements that error boxes quote, the same in both.
enum SweepStatement : int {
  kFirstSweepRead = 110,
  kFirstSweepScan = 122,
  kSecondSweepRead = 482,
  kSecondSweepScan = 494,
  kWriteOneDocument = 842,
};

// Reads the inputs of a one-document run once in each of its two sweeps, giving
// the host its turns while a large input is read. A pipe or device gives its
// content only once: that content is kept from the first sweep for the second.
// An input that cannot be read contributes nothing: no columns in the first
// sweep, a row of empty cells in the second. The text read before is never reused.
// The run's summary counts, once each, the inputs not found and those that failed.
class InputSweeps {
 public:
  InputSweeps(Host& host, RunSummary& summary) : host_(host), summary_(summary) {}

  // The input at `index` of the run's list, valid until the next read.
  const InputText& read(std::size_t index, const Text& path, const StatementReporter& errors, int statement);

  // Notes an input whose converting failed after it was read.
  void failed(std::size_t index);
  // Notes every input of the run that is not lost yet as failed: the document
  // of them all could not be written for want of memory.
  void allFailed(std::size_t inputs) {
    for (std::size_t index = 0; index < inputs; ++index)
      if (!lost(index)) failed(index);
  }
  // Not found, or failed: such an input is no input with nothing to convert.
  bool lost(std::size_t index) const { return failed_.contains(index) || notFound_.contains(index); }

  // The second sweep: for every input in list order its share on the progress
  // display, "Processing: " and its name as the caption and a turn for the
  // window, then the input read and `scan` given it. A failure of the scan is
  // reported and `rowEnd` still ends the input's row (what that throws ends
  // the sweep).
  void secondSweep(const std::vector<Text>& inputs, const StatementReporter& errors,
                   const std::function<void(const InputText&)>& scan, const std::function<void()>& rowEnd);

 private:
  void notFound(std::size_t index, const Text& path);

  Host& host_;
  RunSummary& summary_;
  InputText current_;
  std::unordered_map<std::size_t, InputText> kept_;
  std::set<std::size_t> failed_;
  std::map<std::size_t, Text> notFound_;  // with its path
};

// Closes the one document and puts it in place together with the files beside
// it, unless it would replace one of its own inputs (an earlier "output.xml"
// taken in with every file of its folder, say; reported at `statement`). A
// file beside it that would replace an input is left
// out, and the document comes without it. A failure is reported at
// `statement`, naming the file.
void CommitOneDocument(DocumentOutput& document, BesideFiles& beside, const Text& outputPath,
                       const std::vector<Text>& inputs, const StatementReporter& errors, int statement,
                       RunSummary& summary);

}  // namespace brevant
