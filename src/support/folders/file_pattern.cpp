#include "support/folders/file_pattern.h"

#include <algorithm>

#include "support/text/upper_case.h"

namespace brevant {

FilePattern::FilePattern(TextView pattern) {
  if (pattern.empty() || pattern == u"*.*" || pattern == u"*") {
    tokens_.push_back({Kind::AnyRun, 0});
    matchesAll_ = true;
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
  // A leading star and nothing but literals after it: the name's end decides.
  // (A star before "." stops at the name's last dot, which such an end holds.)
  const Kind first = tokens_.front().kind;
  suffixOnly_ =
      (first == Kind::AnyRun || first == Kind::RunToLastDot) &&
      std::all_of(tokens_.begin() + 1, tokens_.end(), [](const Token& t) { return t.kind == Kind::Literal; });
  if (suffixOnly_) {
    for (auto token = tokens_.begin() + 1; token != tokens_.end(); ++token) suffix_ += token->unit;
  }
}

bool FilePattern::matchesSuffix(TextView name) const {
  if (name.size() < suffix_.size()) return false;
  const std::size_t start = name.size() - suffix_.size();
  for (std::size_t i = 0; i < suffix_.size(); ++i) {
    if (UpperCaseUnit(name[start + i]) != suffix_[i]) return false;
  }
  return true;
}

// Follows the tokens that can match without using up a character at this point.
void FilePattern::addSkips(TextView name, std::size_t at) const {
  const bool atEnd = at == name.size();
  const bool atDot = !atEnd && name[at] == u'.';
  for (std::size_t i = 0; i < tokens_.size(); ++i) {
    if (!states_[i]) continue;
    const Kind kind = tokens_[i].kind;
    const bool skips = kind == Kind::AnyRun || kind == Kind::RunToLastDot ||
                       (kind == Kind::OneOrNone && (atEnd || atDot)) || (kind == Kind::DotOrEnd && atEnd);
    if (skips) states_[i + 1] = 1;
  }
}

bool FilePattern::matches(TextView name) const {
  if (matchesAll_) return true;
  if (suffixOnly_) return matchesSuffix(name);
  const std::size_t lastDot = name.rfind(u'.');
  // States are positions in the token list, all followed together, so the time
  // stays proportional to name length times pattern length, whatever the stars.
  states_.assign(tokens_.size() + 1, 0);
  next_.assign(tokens_.size() + 1, 0);
  states_[0] = 1;
  for (std::size_t at = 0; at < name.size(); ++at) {
    addSkips(name, at);
    std::fill(next_.begin(), next_.end(), 0);
    const char16_t unit = name[at];
    for (std::size_t i = 0; i < tokens_.size(); ++i) {
      if (!states_[i]) continue;
      switch (tokens_[i].kind) {
        case Kind::Literal:
          if (tokens_[i].unit == UpperCaseUnit(unit)) next_[i + 1] = 1;
          break;
        case Kind::AnyRun:
          next_[i] = 1;
          break;
        case Kind::RunToLastDot:
          if (lastDot == TextView::npos || at < lastDot) next_[i] = 1;
          break;
        case Kind::OneOrNone:
          if (unit != u'.') next_[i + 1] = 1;
          break;
        case Kind::DotOrEnd:
          if (unit == u'.') next_[i + 1] = 1;
          break;
      }
    }
    states_.swap(next_);
  }
  addSkips(name, name.size());
  return states_[tokens_.size()] != 0;
}

}  // namespace brevant
