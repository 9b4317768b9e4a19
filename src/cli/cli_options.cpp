#include "cli/cli_options.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "brevant_version.h"
#include "cli/colour_argument.h"

namespace brevant {

namespace {

enum class OptionId {
  Mode,
  OutputDir,
  Border,
  TextColour,
  BackgroundColour,
  Extension,
  Quiet,
  PerContact,
  SaveBeside,
  Verbose,
  Help,
  Version
};

struct OptionDefinition {
  OptionId id;
  std::string_view longName;
  char shortName;  // 0: long form only
  bool takesArgument;
  OutputFormat format{};  // of SaveBeside
};

constexpr OptionDefinition kOwnOptions[] = {
    {OptionId::Mode, "mode", 'm', true},
    {OptionId::OutputDir, "output-dir", 'o', true},
    {OptionId::Border, "border", 0, true},
    {OptionId::TextColour, "text-color", 0, true},
    {OptionId::BackgroundColour, "background-color", 0, true},
    {OptionId::Extension, "ext", 0, true},
    {OptionId::Quiet, "quiet", 'q', false},
    {OptionId::PerContact, "per-contact", 0, false},
    {OptionId::Verbose, "verbose", 'v', false},
    {OptionId::Help, "help", 'h', false},
    {OptionId::Version, "version", 0, false},
};

// Every option: the formats' flags follow --per-contact, as they do in --help.
const std::vector<OptionDefinition>& Options() {
  static const std::vector<OptionDefinition> options = [] {
    std::vector<OptionDefinition> all;
    for (const OptionDefinition& option : kOwnOptions) {
      all.push_back(option);
      if (option.id != OptionId::PerContact) continue;
      for (const OutputFormatInfo& format : kOutputFormats)
        all.push_back({OptionId::SaveBeside, format.cliFlag, 0, false, format.format});
    }
    return all;
  }();
  return options;
}

std::string LowerAscii(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

// Edits that turn one name into the other: a character inserted, deleted or
// replaced, or two neighbours swapped, each counting one.
std::size_t EditDistance(std::string_view a, std::string_view b) {
  std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
  for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
  for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t replace = d[i - 1][j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, replace});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
    }
  }
  return d[a.size()][b.size()];
}

// "; did you mean --per-contact?" for the long option nearest to a mistyped
// name, when at most half of the longer of the two names differs; else nothing.
std::string Suggestion(std::string_view name) {
  const OptionDefinition* nearest = nullptr;
  std::size_t best = 0;
  const std::string typed = LowerAscii(name);
  for (const OptionDefinition& option : Options()) {
    const std::size_t distance = EditDistance(typed, option.longName);
    if (distance * 2 > std::max(typed.size(), option.longName.size())) continue;
    if (nearest == nullptr || distance < best) {
      nearest = &option;
      best = distance;
    }
  }
  return nearest == nullptr ? std::string() : "; did you mean --" + std::string(nearest->longName) + "?";
}

std::string Quoted(std::string_view text) { return "'" + std::string(text) + "'"; }

std::string LongForm(const OptionDefinition& option) { return "--" + std::string(option.longName); }

// Stores one option; gives the problem when its argument is not acceptable.
std::optional<std::string> Apply(const OptionDefinition& option, const std::string& value,
                                 ParsedCommandLine& parsed) {
  CliOptions& options = parsed.options;
  switch (option.id) {
    case OptionId::Mode:
      // "-m Single" means what "-m single" does.
      if (LowerAscii(value) == "each") {
        options.mode = DocumentMode::PerInput;
      } else if (LowerAscii(value) == "single") {
        options.mode = DocumentMode::OneDocument;
      } else {
        return "invalid mode " + Quoted(value) + " (use each or single)";
      }
      return std::nullopt;
    case OptionId::OutputDir:
      options.outputDir = value;
      return std::nullopt;
    case OptionId::Border:
      options.border = value;
      return std::nullopt;
    case OptionId::TextColour:
    case OptionId::BackgroundColour: {
      const auto colour = ParseColourArgument(value);
      if (!colour) {
        return "invalid colour " + Quoted(value) + " for " + LongForm(option) +
               " (use #RRGGBB, 0xBBGGRR or a number from -2147483648 to 4294967295)";
      }
      (option.id == OptionId::TextColour ? options.textColour : options.backgroundColour) = *colour;
      return std::nullopt;
    }
    case OptionId::Extension: {
      // ".vcf" is what many type for the extension vcf; the dots are no part of it.
      const std::size_t start = value.find_first_not_of('.');
      const std::string extension = start == std::string::npos ? std::string() : value.substr(start);
      // An empty extension would look for names ending in "." only: surely a mistake.
      if (extension.empty())
        return "empty extension " + Quoted(value) + " for --ext (use vcf, or * for every file)";
      options.extension = extension;
      return std::nullopt;
    }
    case OptionId::Quiet:
      options.quiet = true;
      return std::nullopt;
    case OptionId::PerContact:
      options.perContact = true;
      return std::nullopt;
    case OptionId::SaveBeside:
      options.beside[option.format] = true;
      return std::nullopt;
    case OptionId::Verbose:
      options.verbose = true;
      return std::nullopt;
    case OptionId::Help:
      parsed.action = CliAction::ShowHelp;
      return std::nullopt;
    case OptionId::Version:
      parsed.action = CliAction::ShowVersion;
      return std::nullopt;
  }
  return std::nullopt;
}

const OptionDefinition* FindShort(char name) {
  for (const OptionDefinition& option : Options()) {
    if (option.shortName != 0 && option.shortName == name) return &option;
  }
  return nullptr;
}

// An exact name wins; otherwise the name may be a prefix of exactly one option.
const OptionDefinition* FindLong(std::string_view name, bool& ambiguous) {
  ambiguous = false;
  const OptionDefinition* found = nullptr;
  for (const OptionDefinition& option : Options()) {
    if (option.longName == name) return &option;
    if (option.longName.starts_with(name)) {
      if (found != nullptr) ambiguous = true;
      found = &option;
    }
  }
  return ambiguous ? nullptr : found;
}

class Parser {
 public:
  explicit Parser(const std::vector<std::string>& args) : args_(args) {}

  ParsedCommandLine run() {
    bool onlyFiles = false;
    for (next_ = 0; next_ < args_.size() && !stopped();) {
      const std::string& arg = args_[next_++];
      if (arg.empty()) {
        // Most likely an unset shell variable; it would name the working folder.
        fail("empty file name");
      } else if (onlyFiles || arg.size() < 2 || arg[0] != '-') {
        parsed_.options.files.push_back(arg);
      } else if (arg == "--") {
        onlyFiles = true;
      } else if (arg.starts_with("--")) {
        longOption(std::string_view(arg).substr(2));
      } else {
        shortOptions(std::string_view(arg).substr(1));
      }
    }
    return parsed_;
  }

 private:
  bool stopped() const { return parsed_.action != CliAction::Run; }

  void fail(std::string problem) {
    parsed_.action = CliAction::UsageError;
    parsed_.problem = std::move(problem);
  }

  void apply(const OptionDefinition& option, const std::string& value) {
    if (auto problem = Apply(option, value, parsed_)) fail(std::move(*problem));
  }

  void longOption(std::string_view text) {
    const auto equals = text.find('=');
    const std::string_view name = text.substr(0, equals);
    bool ambiguous = false;
    const OptionDefinition* option = FindLong(name, ambiguous);
    if (option == nullptr) {
      fail(ambiguous ? "ambiguous option " + Quoted("--" + std::string(name))
                     : "unknown option " + Quoted("--" + std::string(name)) + Suggestion(name));
    } else if (equals != std::string_view::npos) {
      if (!option->takesArgument) return fail("option " + Quoted(LongForm(*option)) + " takes no argument");
      apply(*option, std::string(text.substr(equals + 1)));
    } else if (option->takesArgument) {
      if (next_ == args_.size()) return fail("option " + Quoted(LongForm(*option)) + " needs an argument");
      apply(*option, args_[next_++]);
    } else {
      apply(*option, {});
    }
  }

  // A bundle such as "qm" or "msingle": flags first, an option with an argument
  // takes the rest of the bundle or else the next argument.
  void shortOptions(std::string_view bundle) {
    for (std::size_t i = 0; i < bundle.size() && !stopped(); ++i) {
      const OptionDefinition* option = FindShort(bundle[i]);
      const std::string name = std::string("-") + bundle[i];
      // "-per-contact" is a long option given one dash only.
      if (option == nullptr)
        return fail("unknown option " + Quoted(name) + Suggestion(bundle.substr(0, bundle.find('='))));
      if (!option->takesArgument) {
        apply(*option, {});
        continue;
      }
      if (i + 1 < bundle.size()) return apply(*option, std::string(bundle.substr(i + 1)));
      if (next_ == args_.size()) return fail("option " + Quoted(name) + " needs an argument");
      return apply(*option, args_[next_++]);
    }
  }

  const std::vector<std::string>& args_;
  std::size_t next_ = 0;
  ParsedCommandLine parsed_;
};

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args) { return Parser(args).run(); }

std::string UsageText() {
  // A format's flag: "      --csv" and its help from the column of the others' help on.
  std::string formatFlags;
  std::string formatNotes;
  for (const OutputFormatInfo& format : kOutputFormats) {
    std::string flag = "      --" + std::string(format.cliFlag);
    flag.resize(std::max<std::size_t>(flag.size() + 1, 27), ' ');
    formatFlags += flag + std::string(format.cliHelp);
    formatNotes += format.cliNote;
  }
  return "Usage: brevant-convert [OPTION]... FILE...\n"
         "Convert vCard files (.vcf) into HTML documents that hold one table.\n"
         "A FILE that is a folder stands for the matching files of its whole tree,\n"
         "level by level. A FILE of - is the standard input, read to its end;\n"
         "its document is stdin.htm in the --output-dir that it needs.\n"
         "\n"
         "Options:\n"
         "  -m, --mode=MODE          each: one .htm document per input (default);\n"
         "                           single: all inputs into one output.xml\n"
         "  -o, --output-dir=DIR     save the documents in DIR; without it they go\n"
         "                           beside each input (single: beside the first)\n"
         "      --border=TEXT        table border width, inserted as typed (default 1)\n"
         "      --text-color=COLOR   table text colour (default #000000)\n"
         "      --background-color=COLOR\n"
         "                           table background colour (default #FFFFFF)\n"
         "      --ext=EXT            extension of the files taken from folders\n"
         "                           (default vcf; * takes every file)\n"
         "      --per-contact        one table row per contact, read in full,\n"
         "                           instead of one row per file\n" +
         formatFlags +
         "  -v, --verbose            name every property that one row per contact\n"
         "                           left out, with its count (the summary names\n"
         "                           the most frequent few)\n"
         "  -q, --quiet              no progress display and no summary line\n"
         "  -h, --help               show this help and exit\n"
         "      --version            show the version and exit\n"
         "\n"
         "A COLOR is #RRGGBB, or the window's own value 0x00BBGGRR: 0x and up to\n"
         "eight hexadecimal digits, or a decimal number from -2147483648 to\n"
         "4294967295.\n"
         "\n"
         "A document that exists is replaced; an input is never overwritten, and a\n"
         "later input of the same name gets \"name (2).htm\". A run ends with a\n"
         "summary line on standard error; errors name the file they concern.\n"
         "\n" +
         formatNotes +
         "\n"
         "Exit status: 0 when all went well, 1 when a FILE was missing, a folder or\n"
         "file had to be left out or an error was reported, 2 when nothing was\n"
         "converted (usage error, no files found, output folder missing).\n"
         "\n"
         "Examples:\n"
         "  brevant-convert *.vcf\n"
         "      each card.vcf becomes card.htm beside it\n"
         "  brevant-convert -m single -o ~/Documents ~/Contacts\n"
         "      every .vcf file below ~/Contacts into ~/Documents/output.xml\n"
         "  brevant-convert --border 0 --background-color '#FFFFE0' -o out a.vcf\n"
         "      out/a.htm without a border on a light yellow background\n"
         "\n"
         "Report bugs to: support@ambervale.example\n";
}

std::string VersionText() {
  return "brevant-convert " BREVANT_VERSION
         "\n"
         "Copyright (C) Ambervale.\n"
         "License: MIT <https://opensource.org/licenses/MIT>.\n"
         "This is free software: you are free to change and redistribute it.\n"
         "There is NO WARRANTY, to the extent permitted by law.\n";
}

}  // namespace brevant
