#include "cli/cli_host.h"

#include "cli/error_output.h"
#include "cli/input_paths.h"
#include "support/text/utf8.h"

namespace brevant {

CliHost::CliHost(const CliOptions& options, std::vector<Text> inputs, ProgressLine& progress,
                 std::ostream& err)
    : textColour_(options.textColour),
      border_(FromUtf8(options.border)),
      backgroundColour_(options.backgroundColour),
      mode_(options.mode),
      perContact_(options.perContact),
      beside_(options.beside),
      destination_(options.outputDir ? Destination::ChosenFolder : Destination::BesideInput),
      chosenFolder_(options.outputDir ? TypedPath(*options.outputDir) : Text()),
      inputs_(std::move(inputs)),
      progress_(progress),
      err_(err) {}

void CliHost::reportError(const ErrorReport& report) {
  PrintLine(ErrorLine(report), progress_, err_);
  ++errorsReported_;
}

void CliHost::noteVcardBlocks(const Text& path, std::uint64_t blocks) {
  if (!perContact_) severalContacts_.note(blocks);  // each contact has its row otherwise
  if (blocks == 0) PrintLine(NotVcardLine(path), progress_, err_);
}

}  // namespace brevant
