#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/host.h"
#include "engine/turn_and_colour.h"
#include "engine/write/output_formats.h"

namespace brevant {

// What the command line asks for, with the window's defaults where it is silent.
struct CliOptions {
  DocumentMode mode = DocumentMode::PerInput;
  std::optional<std::string> outputDir;  // none: results go beside the inputs
  std::string border = "1";
  Colour textColour = 0;
  Colour backgroundColour = 0xFFFFFF;
  bool quiet = false;
  bool perContact = false;         // one table row per contact instead of one per input file
  PerFormat<bool> beside;          // the same table in these formats beside each document
  bool verbose = false;            // name every property that one row per contact left out
  std::string extension = "vcf";   // looked for in folders given as FILE; "*" takes every file
  std::vector<std::string> files;  // as typed
};

enum class CliAction { Run, ShowHelp, ShowVersion, UsageError };

struct ParsedCommandLine {
  CliAction action = CliAction::Run;
  CliOptions options;
  std::string problem;  // what was wrong, for a usage error
};

// GNU-style parsing of the arguments after the program name: options may follow
// files, short options may be bundled ("-qm single"), long options take their
// argument after "=" or as the next argument and may be shortened to any unique
// prefix, and "--" ends the options. Parsing stops at the first of --help,
// --version or a problem.
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args);

// The texts that --help and --version print (help2man makes the manual page of them).
std::string UsageText();
std::string VersionText();

}  // namespace brevant
