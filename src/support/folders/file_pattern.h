#pragma once

#include <vector>

#include "support/text/text.h"

namespace brevant {

// A file pattern such as "*.vcf", matched the way a Windows folder listing
// matches it, so users get the results they know:
// - letter case does not count ("*.vcf" finds "A.VCF");
// - "*" stands for any run of characters, "?" for one character;
// - "*.*" (and an empty pattern) matches every name, names without a dot too;
// - a "." before a wildcard or at the end also matches the end of a name
//   ("a.*" finds "a", "*." finds names without an extension);
// - a "?" may match nothing before a "." or at the end of the name.
class FilePattern {
 public:
  explicit FilePattern(TextView pattern);
  bool matches(TextView name) const;

 private:
  enum class Kind {
    Literal,
    AnyRun,        // "*": any characters
    RunToLastDot,  // "*" before ".": any characters, but not past the name's last "."
    OneOrNone,     // "?": one character, or none before a "." or at the end
    DotOrEnd,      // "." before a wildcard or at the end: a "." or the end of the name
  };
  struct Token {
    Kind kind;
    char16_t unit;  // upper-cased, for literals
  };

  void addSkips(TextView name, std::size_t at) const;
  bool matchesSuffix(TextView name) const;

  std::vector<Token> tokens_;
  // Most patterns are "*.ext" or "*": they only compare the end of the name.
  bool matchesAll_ = false;
  bool suffixOnly_ = false;
  Text suffix_;  // upper-cased
  // Working space of matches(), kept so that matching many names allocates once.
  mutable std::vector<char> states_;
  mutable std::vector<char> next_;
};

inline bool MatchesFilePattern(TextView name, TextView pattern) { return FilePattern(pattern).matches(name); }

}  // namespace brevant
