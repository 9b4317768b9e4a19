#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "engine/host.h"
#include "engine/write/output_formats.h"

namespace brevant::test {

// A host whose options are plain fields and which records everything the engine
// tells it, in order, as readable events.
class RecordingHost : public Host {
 public:
  Colour textColour = 0;
  Text border = u"1";
  Colour backgroundColour = 0xFFFFFF;
  DocumentMode mode = DocumentMode::PerInput;
  bool perContact = false;
  PerFormat<bool> beside;
  Destination saveTo = Destination::BesideInput;
  Text folder;
  std::vector<Text> rows;

  std::vector<double> positions;
  std::vector<Text> captions;
  std::vector<ErrorReport> errors;
  std::vector<std::pair<Text, std::uint64_t>> vcardBlocks;  // per input read
  int yields = 0;
  // Runs at every yield, so a test can act while the engine yields.
  std::function<void()> onYield;

  Colour tableTextColour() override { return textColour; }
  Text borderWidth() override { return border; }
  Colour tableBackgroundColour() override { return backgroundColour; }
  DocumentMode documentMode() override { return mode; }
  bool oneRowPerContact() override { return perContact; }
  bool savesBeside(OutputFormat format) override { return beside[format]; }
  Destination destination() override { return saveTo; }
  Text chosenFolder() override { return folder; }
  std::vector<Text> inputPaths() override { return rows; }
  void setProgressPosition(double position) override { positions.push_back(position); }
  void setProgressCaption(const Text& caption) override { captions.push_back(caption); }
  void yield() override {
    ++yields;
    if (onYield) onYield();
  }
  void reportError(const ErrorReport& report) override { errors.push_back(report); }
  void noteVcardBlocks(const Text& path, std::uint64_t blocks) override {
    vcardBlocks.emplace_back(path, blocks);
  }
};

}  // namespace brevant::test
