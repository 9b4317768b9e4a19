#include "support/file_pattern.h"

#include <algorithm>

#include "support/upper_case.h"

namespace brevant {

FilePattern::FilePattern(TextView pattern) {
  if (pattern.empty() || pattern == u"*.*") {
    tokens_.push_back({Kind::AnyRun, 0});
    return;
  }
  // The dot rules apply only to patterns with wildcards; "a." names "a." itself.
  const bool wild = pattern.find_first_of(u"*?") != TextView::npos;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char16_t unit = pattern[i];
    const bool last = i + 1 == pattern.size();
    const char16_t following = last ? 0 : pattern[i + 1];
    if (unit == u'*') {
      tokens_.push_back({following == u'.' ? Kind::RunToLastDot : Kind::AnyRun, 0});
    } else if (unit == u'?') {
      tokens_.push_back({Kind::OneOrNone, 0});
    } else if (unit == u'.' && wild && (last || following == u'*' || following == u'?')) {
      tokens_.push_back({Kind::DotOrEnd, 0});
    } else {
      tokens_.push_back({Kind::Literal, UpperCaseUnit(unit)});
    }
  }
}

// Follows the tokens that can match without using up a character at this point.
void FilePattern::addSkips(std::vector<char>& states, TextView name, std::size_t at) const {
  const bool atEnd = at == name.size();
  const bool atDot = !atEnd && name[at] == u'.';
  for (std::size_t i = 0; i < tokens_.size(); ++i) {
    if (!states[i]) continue;
    const Kind kind = tokens_[i].kind;
    const bool skips = kind == Kind::AnyRun || kind == Kind::RunToLastDot ||
                       (kind == Kind::OneOrNone && (atEnd || atDot)) || (kind == Kind::DotOrEnd && atEnd);
    if (skips) states[i + 1] = 1;
  }
}

bool FilePattern::matches(TextView name) const {
  const std::size_t lastDot = name.rfind(u'.');
  // States are positions in the token list, all followed together, so the time
  // stays proportional to name length times pattern length, whatever the stars.
  std::vector<char> states(tokens_.size() + 1, 0);
  std::vector<char> next(tokens_.size() + 1, 0);
  states[0] = 1;
  for (std::size_t at = 0; at < name.size(); ++at) {
    addSkips(states, name, at);
    std::fill(next.begin(), next.end(), 0);
    const char16_t unit = name[at];
    for (std::size_t i = 0; i < tokens_.size(); ++i) {
      if (!states[i]) continue;
      switch (tokens_[i].kind) {
        case Kind::Literal:
          if (tokens_[i].unit == UpperCaseUnit(unit)) next[i + 1] = 1;
          break;
        case Kind::AnyRun:
          next[i] = 1;
          break;
        case Kind::RunToLastDot:
          if (lastDot == TextView::npos || at < lastDot) next[i] = 1;
          break;
        case Kind::OneOrNone:
          if (unit != u'.') next[i + 1] = 1;
          break;
        case Kind::DotOrEnd:
          if (unit == u'.') next[i + 1] = 1;
          break;
      }
    }
    states.swap(next);
  }
  addSkips(states, name, name.size());
  return states[tokens_.size()] != 0;
}

}  // namespace brevant
