#pragma once

#include <cstdint>
#include <cstdio>
#include <utility>
#include <vector>

#include "engine/host.h"
#include "engine/write/output_formats.h"

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
  // A file of this format beside every document.
  void setSavesBeside(OutputFormat format, bool saves) { beside_[format] = saves; }

  std::int64_t errorCount() const { return errorCount_; }
  // Prints the kept error boxes, if any, with the count of those not kept.
  void printErrors(std::FILE* to) const;

  Colour tableTextColour() override { return 0x000000; }
  Text borderWidth() override { return u"1"; }
  Colour tableBackgroundColour() override { return 0xFFFFFF; }
  DocumentMode documentMode() override {
    return inputs_.empty() ? DocumentMode::PerInput : DocumentMode::OneDocument;
  }
  Destination destination() override { return Destination::ChosenFolder; }
  Text chosenFolder() override { return folder_; }
  bool savesBeside(OutputFormat format) override { return beside_[format]; }
  std::vector<Text> inputPaths() override { return inputs_; }
  void setProgressPosition(double) override {}
  void setProgressCaption(const Text&) override {}
  void yield() override {}
  void reportError(const ErrorReport& report) override;

 private:
  Text folder_;
  std::vector<Text> inputs_;
  PerFormat<bool> beside_;
  std::int64_t errorCount_ = 0;
  std::vector<Text> keptErrors_;
};

}  // namespace brevant::bench
