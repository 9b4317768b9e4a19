#pragma once

#include <cstddef>
#include <utility>
#include <vector>

#include "engine/host.h"
#include "engine/write/output_formats.h"

// Fixed options: one document per input, into the scratch folder, with its
// .xlsx workbook when asked for. A reported
// failure is a normal outcome (a huge input may run out of memory), not a
// finding: it is only counted.
class FuzzHost : public brevant::Host {
 public:
  FuzzHost(brevant::Text folder, brevant::Text input, bool perContact = false, bool xlsx = false)
      : folder_(std::move(folder)), input_(std::move(input)), perContact_(perContact), xlsx_(xlsx) {}

  brevant::Colour tableTextColour() override { return 0; }
  brevant::Text borderWidth() override { return u"1"; }
  brevant::Colour tableBackgroundColour() override { return 0xFFFFFF; }
  brevant::DocumentMode documentMode() override { return brevant::DocumentMode::PerInput; }
  bool oneRowPerContact() override { return perContact_; }
  bool savesBeside(brevant::OutputFormat format) override {
    return xlsx_ && format == brevant::OutputFormat::Xlsx;
  }
  brevant::Destination destination() override { return brevant::Destination::ChosenFolder; }
  brevant::Text chosenFolder() override { return folder_; }
  std::vector<brevant::Text> inputPaths() override { return {input_}; }
  void setProgressPosition(double) override {}
  void setProgressCaption(const brevant::Text&) override {}
  void yield() override {}
  void reportError(const brevant::ErrorReport&) override { ++errors; }

  std::size_t errors = 0;

 private:
  brevant::Text folder_;
  brevant::Text input_;
  bool perContact_;
  bool xlsx_;
};
