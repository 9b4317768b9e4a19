#include "engine/convert/per_input_run.h"

#include <string>

namespace brevant {

namespace {

constexpr TextView kDocumentExtension = u".htm";

}  // namespace

PerInputRun::PerInputRun(const std::vector<Text>& inputs, const std::function<void()>& turn) {
  for (const Text& input : inputs) {
    FileIdentity identity;
    std::uint64_t size = 0;
    const bool found = IdentifyFile(input, identity, size);
    inputSizes_.insert({input, size});
    if (found) inputFiles_.insert(IdentityOf(identity));
    if (turn) turn();
  }
}

bool PerInputRun::isInput(const Text& path, const TargetLook& look) const {
  return inputSizes_.contains(path) || (look.namesFile && inputFiles_.contains(IdentityOf(look.identity)));
}

std::uint64_t PerInputRun::knownSize(const Text& input) const {
  const auto found = inputSizes_.find(input);
  return found == inputSizes_.end() ? 0 : found->second;
}

bool PerInputRun::wroteAt(const Text& path, const TargetLook& look) {
  if (writtenTexts_.contains(path)) return true;
  if (!look.namesFile || writtenTexts_.empty()) return false;
  // Every document of this run was made after the run started (the margin
  // covers the coarse clock that stamps files), so a file last changed
  // before then is none of them.
  constexpr auto kClockMargin = std::chrono::milliseconds(100);
  const auto startedAt =
      std::chrono::duration_cast<std::chrono::nanoseconds>((startedAt_ - kClockMargin).time_since_epoch());
  if (look.changedAt && *look.changedAt < startedAt.count()) return false;
  for (const Text& written : writtenUnidentified_) {
    FileIdentity identity;
    if (IdentifyFile(written, identity)) writtenFiles_.insert(IdentityOf(identity));
  }
  writtenUnidentified_.clear();
  return writtenFiles_.contains(IdentityOf(look.identity));
}

Text PerInputRun::unwrittenPath(const Text& path, TargetLook& look) {
  if (!wroteAt(path, look)) return path;
  const Text stem =
      path.ends_with(kDocumentExtension) ? path.substr(0, path.size() - kDocumentExtension.size()) : path;
  // Every number below the one kept for the name is taken by a document of
  // this run, so the search goes on from there: a hundred thousand inputs of
  // one name cost as many looks, not their square.
  unsigned long long& number = firstUntaken_.try_emplace(stem, 2).first->second;
  for (;; ++number) {
    Text candidate = stem;
    candidate.append(u" (");
    for (char digit : std::to_string(number)) candidate += static_cast<char16_t>(digit);
    candidate.append(u")").append(kDocumentExtension);
    if (writtenTexts_.contains(candidate)) continue;
    look = LookAtTarget(candidate);
    // Not taken yet: the document may still fail, and the next one of the name then gets the number.
    if (!wroteAt(candidate, look)) return candidate;
  }
}

void PerInputRun::wrote(const Text& path, std::uint64_t bytes) {
  ++counts_.documentsWritten;
  counts_.bytesWritten += bytes;
  if (writtenTexts_.insert(path).second) writtenUnidentified_.push_back(path);
}

}  // namespace brevant
