// The window's command line: options, and paths made absolute as a drop would bring them.
#include "form/command_line.h"

#include <gtest/gtest.h>

#include <sstream>

#include "brevant_version.h"
#include "support/text/utf8.h"

namespace brevant::test {
namespace {

struct PathsCase {
  PathStyle style;
  std::vector<Text> args;
  std::vector<Text> paths;
};

TEST(WindowCommandLine, PathsBecomeAbsoluteFromTheWorkingFolder) {
  using enum PathStyle;
  const PathsCase cases[] = {
      {Posix, {}, {}},
      {Posix, {u"a.vcf", u"/abs//b.vcf"}, {u"/w/a.vcf", u"/abs//b.vcf"}},  // absolute paths stay as given
      {Posix,
       {u"./d/", u"d/../e/./c.vcf", u"../x.vcf", u"../../../y"},
       {u"/w/d", u"/w/e/c.vcf", u"/x.vcf", u"/y"}},
      {Posix, {u"-", u"--", u"-e.vcf", u"--help"}, {u"/w/-", u"/w/-e.vcf", u"/w/--help"}},
      {Posix, {u"", u"a b#1.vcf"}, {u"/w/a b#1.vcf"}},  // an empty argument names nothing
      {Windows,
       {u"a.vcf", u"D:\\x\\\\b.vcf", u"\\\\srv\\share\\c.vcf"},
       {u"C:\\w\\a.vcf", u"D:\\x\\\\b.vcf", u"\\\\srv\\share\\c.vcf"}},
      // "/" typed counts as "\"; a path from the root takes the working folder's drive.
      {Windows,
       {u"d/./e.vcf", u"..\\..\\..\\y", u"\\top\\f.vcf", u"D:/z/../q.vcf"},
       {u"C:\\w\\d\\e.vcf", u"C:\\y", u"C:\\top\\f.vcf", u"D:/z/../q.vcf"}},
  };
  for (const PathsCase& c : cases) {
    const WindowCommandLine parsed =
        ParseWindowCommandLine(c.args, c.style == Posix ? u"/w" : u"C:\\w", c.style);
    EXPECT_EQ(parsed.action, WindowCommandLine::Action::Open);
    EXPECT_EQ(parsed.paths, c.paths);
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(AnswerOnTerminal(parsed, out, err), std::nullopt);
    EXPECT_EQ(out.str() + err.str(), "");
  }
}

struct OptionCase {
  std::vector<Text> args;
  int status;
  std::string out;
  std::string err;
};

TEST(WindowCommandLine, HelpVersionAndMistakesAnswerOnTheTerminal) {
  const std::string help = ToUtf8(WindowHelpText());
  const std::string version = ToUtf8(WindowVersionText());
  const std::string usage =
      "Usage: brevant [OPTION]... [FILE]...\nTry 'brevant --help' for more information.\n";
  const OptionCase cases[] = {
      {{u"--help"}, 0, help, ""},
      {{u"a.vcf", u"-h", u"--bogus"}, 0, help, ""},
      {{u"--version", u"--help"}, 0, version, ""},
      {{u"--bogus", u"a.vcf"}, 2, "", "brevant: unknown option '--bogus'\n" + usage},
      {{u"-hq"}, 2, "", "brevant: unknown option '-hq'\n" + usage},
      {{u"--", u"--help"}, -1, "", ""},
  };
  for (const OptionCase& c : cases) {
    SCOPED_TRACE(ToUtf8(c.args.front()));
    std::ostringstream out;
    std::ostringstream err;
    const std::optional<int> status = AnswerOnTerminal(ParseWindowCommandLine(c.args, u"/w"), out, err);
    EXPECT_EQ(status.value_or(-1), c.status);
    EXPECT_EQ(out.str(), c.out);
    EXPECT_EQ(err.str(), c.err);
  }
  EXPECT_EQ(help.rfind("Usage: brevant [OPTION]... [FILE]...\n", 0), 0u);
  EXPECT_EQ(version.rfind("brevant " BREVANT_VERSION "\n", 0), 0u);
}

}  // namespace
}  // namespace brevant::test
