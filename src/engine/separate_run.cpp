#include "engine/separate_run.h"

#include <string>

namespace brevant {

namespace {

constexpr TextView kDocumentExtension = u".htm";

}  // namespace

SeparateRun::SeparateRun(const std::vector<Text>& inputs, const std::function<void()>& turn) {
  for (const Text& input : inputs) {
    inputTexts_.insert(input);
    FileIdentity identity;
    if (IdentifyFile(input, identity)) inputFiles_.insert({identity.device, identity.inode});
    if (turn) turn();
  }
}

bool SeparateRun::Contains(const std::unordered_set<Text>& texts, const std::set<Identity>& files,
                           const Text& path) {
  if (texts.contains(path)) return true;
  FileIdentity identity;
  return !files.empty() && IdentifyFile(path, identity) && files.contains({identity.device, identity.inode});
}

bool SeparateRun::isInput(const Text& path) const { return Contains(inputTexts_, inputFiles_, path); }

Text SeparateRun::unwrittenPath(const Text& path) const {
  if (!Contains(writtenTexts_, writtenFiles_, path)) return path;
  const Text stem =
      path.ends_with(kDocumentExtension) ? path.substr(0, path.size() - kDocumentExtension.size()) : path;
  for (unsigned long long number = 2;; ++number) {
    Text candidate = stem;
    candidate.append(u" (");
    for (char digit : std::to_string(number)) candidate += static_cast<char16_t>(digit);
    candidate.append(u")").append(kDocumentExtension);
    if (!Contains(writtenTexts_, writtenFiles_, candidate)) return candidate;
  }
}

void SeparateRun::wrote(const Text& path, std::uint64_t bytes) {
  ++documentsWritten_;
  bytesWritten_ += bytes;
  writtenTexts_.insert(path);
  FileIdentity identity;
  if (IdentifyFile(path, identity)) writtenFiles_.insert({identity.device, identity.inode});
}

}  // namespace brevant
