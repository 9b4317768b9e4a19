#pragma once

#include "engine/convert/run_summary.h"
#include "engine/host.h"

namespace brevant {

inline constexpr char16_t kNoFilesAdded[] = u"No files added.";
inline constexpr char16_t kFolderMissing[] = u"Folder does not exist. Please select another folder.";
inline constexpr char16_t kFolderPathTooLong[] = u"Path too long. Please select another folder.";
inline constexpr char16_t kDone[] = u"Done.";
inline constexpr char16_t kIdleProgressCaption[] = u"Progress Bar";
inline constexpr char16_t kOneDocumentName[] = u"output.xml";

enum class RunOutcome { NoFilesAdded, FolderMissing, FolderPathTooLong, Done };

// "Start Converting": refuses an empty list and a missing destination folder
// (or one whose path is longer than the system allows),
// then converts every input in the chosen mode, moving the progress display, and
// resets it at the end. The caller shows the refusal or "Done." and keeps the
// guard against a second start.
RunOutcome StartConverting(Host& host);
// The same, telling what the run did.
RunOutcome StartConverting(Host& host, RunSummary& summary);

// Where the one document of a run goes: the destination folder + "output.xml".
Text OneDocumentPath(Host& host, const std::vector<Text>& inputs);

}  // namespace brevant
