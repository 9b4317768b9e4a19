// libFuzzer target: feeds arbitrary bytes through reading, line handling and
// both conversions, so that no input file can crash or corrupt the engine.
#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "contact_fuzzing.h"
#include "engine/host.h"
#include "engine/line_handling.h"
#include "engine/separate_conversion.h"
#include "engine/single_conversion.h"
#include "engine/vcard_reader.h"
#include "support/utf8.h"

namespace {

namespace fs = std::filesystem;

// A private folder for the input copy and the documents, removed at exit.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (fs::temp_directory_path() / "brevant-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) abort();
    path_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

// Fixed options: documents go to the scratch folder; errors are only counted,
// because a reported failure is a normal outcome, not a finding.
class FuzzHost : public brevant::Host {
 public:
  FuzzHost(brevant::Text folder, brevant::Text input)
      : folder_(std::move(folder)), input_(std::move(input)) {}

  brevant::Colour tableTextColour() override { return 0; }
  brevant::Text borderWidth() override { return u"1"; }
  brevant::Colour tableBackgroundColour() override { return 0xFFFFFF; }
  bool convertAllToOne() override { return false; }
  bool convertEach() override { return true; }
  bool saveToChosenFolder() override { return true; }
  bool saveBesideInput() override { return false; }
  brevant::Text chosenFolder() override { return folder_; }
  std::vector<brevant::Text> inputPaths() override { return {input_}; }
  void setProgressPosition(double) override {}
  void setProgressCaption(const brevant::Text&) override {}
  void yield() override {}
  void reportError(const brevant::ErrorReport&) override { ++errors_; }

 private:
  brevant::Text folder_;
  brevant::Text input_;
  std::size_t errors_ = 0;
};

struct Setup {
  ScratchFolder scratch;
  fs::path inputFile = scratch.path() / "in.vcf";
  brevant::Text folder = brevant::FromUtf8(scratch.path().string());
  brevant::Text input = brevant::FromUtf8(inputFile.string());
  brevant::Text singleOutput = brevant::FromUtf8((scratch.path() / "output.xml").string());
};

Setup& TheSetup() {
  static Setup setup;
  return setup;
}

void HandleEveryLine(const brevant::Text& text, brevant::Acceptance acceptance) {
  brevant::OccurrenceCounters counters;
  for (brevant::TextView line : brevant::CutLines(text)) {
    (void)brevant::HandleLine(line, counters, acceptance);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Setup& setup = TheSetup();
  {
    std::ofstream out(setup.inputFile, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out) abort();
  }

  const brevant::Text text = brevant::ReadWholeFile(setup.input);
  HandleEveryLine(text, brevant::Acceptance::ParametersOnly);
  HandleEveryLine(text, brevant::Acceptance::EveryTypeName);

  FuzzHost host(setup.folder, setup.input);
  brevant::ConvertVCFToSeparateHTML(host, setup.input);
  brevant::ConvertVCFToSingleHTML(host, setup.singleOutput);
  FuzzContactReading(setup.input, setup.folder);
  return 0;
}
