#pragma once

#include <ostream>
#include <vector>

#include "cli/cli_options.h"
#include "cli/progress_line.h"
#include "engine/convert/several_contacts.h"
#include "engine/host.h"

namespace brevant {

// The engine's surroundings on the command line: the options come from the
// arguments, progress goes to the progress line and error reports to the error
// stream, each on lines of its own.
class CliHost : public Host {
 public:
  // inputs: the files as absolute paths, in the order given.
  CliHost(const CliOptions& options, std::vector<Text> inputs, ProgressLine& progress, std::ostream& err);

  Colour tableTextColour() override { return textColour_; }
  Text borderWidth() override { return border_; }
  Colour tableBackgroundColour() override { return backgroundColour_; }
  DocumentMode documentMode() override { return mode_; }
  bool oneRowPerContact() override { return perContact_; }
  bool savesBeside(OutputFormat format) override { return beside_[format]; }
  Destination destination() override { return destination_; }
  Text chosenFolder() override { return chosenFolder_; }
  std::vector<Text> inputPaths() override { return inputs_; }
  void setProgressPosition(double position) override { progress_.setPosition(position); }
  void setProgressCaption(const Text& caption) override { progress_.setCaption(caption); }
  void yield() override {}  // nothing else waits for a turn
  void reportError(const ErrorReport& report) override;
  // An input without any BEGIN:VCARD is named in a warning; it is no error.
  void noteVcardBlocks(const Text& path, std::uint64_t blocks) override;

  int errorsReported() const { return errorsReported_; }
  const SeveralContactsTally& severalContacts() const { return severalContacts_; }

 private:
  Colour textColour_;
  Text border_;
  Colour backgroundColour_;
  DocumentMode mode_;
  bool perContact_;
  PerFormat<bool> beside_;
  Destination destination_;
  Text chosenFolder_;
  std::vector<Text> inputs_;
  ProgressLine& progress_;
  std::ostream& err_;
  int errorsReported_ = 0;
  SeveralContactsTally severalContacts_;
};

}  // namespace brevant
