#include "cli/cli_options.h"

#include <gtest/gtest.h>

namespace brevant {
namespace {

using Args = std::vector<std::string>;

CliOptions Options(const Args& args) {
  const ParsedCommandLine parsed = ParseCommandLine(args);
  EXPECT_EQ(parsed.action, CliAction::Run) << parsed.problem;
  return parsed.options;
}

std::string Problem(const Args& args) {
  const ParsedCommandLine parsed = ParseCommandLine(args);
  EXPECT_EQ(parsed.action, CliAction::UsageError);
  return parsed.problem;
}

TEST(CliOptionsTest, DefaultsAreTheWindowsDefaults) {
  const CliOptions options = Options({"a.vcf"});
  EXPECT_EQ(options.mode, DocumentMode::PerInput);
  EXPECT_EQ(options.outputDir, std::nullopt);
  EXPECT_EQ(options.border, "1");
  EXPECT_EQ(options.textColour, 0);
  EXPECT_EQ(options.backgroundColour, 0xFFFFFF);
  EXPECT_FALSE(options.quiet);
  EXPECT_FALSE(options.perContact);
  EXPECT_FALSE(options.beside[OutputFormat::Csv]);
  EXPECT_FALSE(options.beside[OutputFormat::Xlsx]);
  EXPECT_EQ(options.files, Args{"a.vcf"});
}

TEST(CliOptionsTest, EveryOptionInEveryForm) {
  const CliOptions options = Options({"-m", "single", "a.vcf", "--output-dir", "out", "--border=3 ", "-q",
                                      "--text-color", "#FF0000", "--background-color=65280", "b.vcf"});
  EXPECT_EQ(options.mode, DocumentMode::OneDocument);
  EXPECT_EQ(options.outputDir, "out");
  EXPECT_EQ(options.border, "3 ");
  EXPECT_EQ(options.textColour, 255);
  EXPECT_EQ(options.backgroundColour, 0xFF00);
  EXPECT_TRUE(options.quiet);
  EXPECT_EQ(options.files, (Args{"a.vcf", "b.vcf"}));

  EXPECT_EQ(Options({"--mode=single", "--mode", "each"}).mode,
            DocumentMode::PerInput);  // the last one counts
  EXPECT_EQ(Options({"-qmsingle"}).mode, DocumentMode::OneDocument);
  EXPECT_TRUE(Options({"-qm", "single"}).quiet);
  EXPECT_EQ(Options({"-oout"}).outputDir, "out");
  EXPECT_EQ(Options({"--out", "x", "--back", "1"}).outputDir, "x");  // unique prefixes
  EXPECT_EQ(Options({"--border", "-1"}).border, "-1");               // an argument may start with "-"
  EXPECT_EQ(Options({"-o", ""}).outputDir, "");
  EXPECT_EQ(Options({"--ext", ".vcf"}).extension, "vcf");  // the dot is no part of the extension
  EXPECT_EQ(Options({"--ext", "..vcf"}).extension, "vcf");
  EXPECT_EQ(Options({"--ext", "*"}).extension, "*");
  EXPECT_EQ(Options({"--text-color", "-1"}).textColour, -1);  // the window's stored form
  EXPECT_TRUE(Options({"--per"}).perContact);
  EXPECT_TRUE(Options({"--csv"}).beside[OutputFormat::Csv]);
  EXPECT_TRUE(Options({"--xlsx"}).beside[OutputFormat::Xlsx]);
  EXPECT_TRUE(Options({"--xl"}).beside[OutputFormat::Xlsx]);
  EXPECT_EQ(Options({"-m", "Single"}).mode, DocumentMode::OneDocument);  // letter case does not matter
  EXPECT_EQ(Options({"--mode=SINGLE", "-m", "Each"}).mode, DocumentMode::PerInput);
}

TEST(CliOptionsTest, AMistypedOptionSuggestsTheNearestOne) {
  const std::pair<Args, std::string> cases[] = {
      {{"--percontact"}, "unknown option '--percontact'; did you mean --per-contact?"},
      {{"--per_contact"}, "unknown option '--per_contact'; did you mean --per-contact?"},
      {{"--contacts"}, "unknown option '--contacts'; did you mean --per-contact?"},
      {{"--text-colour=#000000"}, "unknown option '--text-colour'; did you mean --text-color?"},
      {{"--Background-Colour", "1"},
       "unknown option '--Background-Colour'; did you mean --background-color?"},
      {{"--outdir", "x"}, "unknown option '--outdir'; did you mean --output-dir?"},
      {{"--quite"}, "unknown option '--quite'; did you mean --quiet?"},  // two letters swapped
      {{"--hlep"}, "unknown option '--hlep'; did you mean --help?"},
      {{"--cvs"}, "unknown option '--cvs'; did you mean --csv?"},
      {{"--CSV"}, "unknown option '--CSV'; did you mean --csv?"},
      // Long options typed with one dash.
      {{"-per-contact"}, "unknown option '-p'; did you mean --per-contact?"},
      {{"-quiet"}, "unknown option '-u'; did you mean --quiet?"},
      {{"-ext=txt"}, "unknown option '-e'; did you mean --ext?"},
      // Nothing near enough: no guess.
      {{"--bogus"}, "unknown option '--bogus'"},
      {{"--zebra"}, "unknown option '--zebra'"},
      {{"-x"}, "unknown option '-x'"},
  };
  for (const auto& [args, problem] : cases) EXPECT_EQ(Problem(args), problem) << args[0];
}

TEST(CliOptionsTest, FilesAfterDoubleDashAndLoneDashAreFiles) {
  EXPECT_EQ(Options({"-q", "--", "-m", "--help", "a.vcf"}).files, (Args{"-m", "--help", "a.vcf"}));
  EXPECT_EQ(Options({"-"}).files, Args{"-"});
  EXPECT_TRUE(Options({}).files.empty());
}

TEST(CliOptionsTest, HelpAndVersionStopAtTheFirstThatComes) {
  EXPECT_EQ(ParseCommandLine({"a.vcf", "--help", "--bogus"}).action, CliAction::ShowHelp);
  EXPECT_EQ(ParseCommandLine({"-h"}).action, CliAction::ShowHelp);
  EXPECT_EQ(ParseCommandLine({"--version", "-h"}).action, CliAction::ShowVersion);
  EXPECT_EQ(ParseCommandLine({"--bogus", "--help"}).action, CliAction::UsageError);
}

TEST(CliOptionsTest, UsageErrorsNameTheProblem) {
  EXPECT_EQ(Problem({"--bogus"}), "unknown option '--bogus'");
  EXPECT_EQ(Problem({"-qx"}), "unknown option '-x'");
  EXPECT_EQ(Problem({"--b", "1"}), "ambiguous option '--b'");
  EXPECT_EQ(Problem({"a.vcf", "-o"}), "option '-o' needs an argument");
  EXPECT_EQ(Problem({"--border"}), "option '--border' needs an argument");
  EXPECT_EQ(Problem({"--quiet=yes"}), "option '--quiet' takes no argument");
  EXPECT_EQ(Problem({"--mode", "Both"}), "invalid mode 'Both' (use each or single)");
  EXPECT_EQ(Problem({"--text-color", "red"}),
            "invalid colour 'red' for --text-color (use #RRGGBB, 0xBBGGRR or a number from -2147483648 to "
            "4294967295)");
  EXPECT_EQ(Problem({"--ext", "."}), "empty extension '.' for --ext (use vcf, or * for every file)");
  EXPECT_EQ(Problem({"--ext", ".."}), "empty extension '..' for --ext (use vcf, or * for every file)");
  EXPECT_NE(Problem({"--back=#12345"}).find("for --background-color"), std::string::npos);
  EXPECT_EQ(Problem({"a.vcf", ""}), "empty file name");
}

}  // namespace
}  // namespace brevant
