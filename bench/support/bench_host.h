#pragma once

#include <cstdint>
#include <cstdio>
#include <utility>
#include <vector>

#include "engine/host.h"

namespace brevant::bench {

// A host without a window: fixed table options (black text, border "1", white
// background), no progress display and nothing to yield to. It counts the error
// boxes the engine raises and keeps the first few to print.
class BenchHost : public Host {
 public:
  // Per-file documents go into this folder.
  void setChosenFolder(Text folder) { folder_ = std::move(folder); }
  // The inputs of a one-document conversion; a host with inputs is in that mode.
  void setInputPaths(std::vector<Text> paths) { inputs_ = std::move(paths); }
  // A CSV file beside every document.
  void setSaveCsv(bool csv) { csv_ = csv; }
  // An .xlsx workbook beside every document.
  void setSaveXlsx(bool xlsx) { xlsx_ = xlsx; }

  std::int64_t errorCount() const { return errorCount_; }
  // Prints the kept error boxes, if any, with the count of those not kept.
  void printErrors(std::FILE* to) const;

  Colour tableTextColour() override { return 0x000000; }
  Text borderWidth() override { return u"1"; }
  Colour tableBackgroundColour() override { return 0xFFFFFF; }
  bool convertAllToOne() override { return !inputs_.empty(); }
  bool convertEach() override { return inputs_.empty(); }
  bool saveToChosenFolder() override { return true; }
  bool saveBesideInput() override { return false; }
  Text chosenFolder() override { return folder_; }
  bool saveCsv() override { return csv_; }
  bool saveXlsx() override { return xlsx_; }
  std::vector<Text> inputPaths() override { return inputs_; }
  void setProgressPosition(double) override {}
  void setProgressCaption(const Text&) override {}
  void yield() override {}
  void reportError(const ErrorReport& report) override;

 private:
  Text folder_;
  std::vector<Text> inputs_;
  bool csv_ = false;
  bool xlsx_ = false;
  std::int64_t errorCount_ = 0;
  std::vector<Text> keptErrors_;
};

}  // namespace brevant::bench
