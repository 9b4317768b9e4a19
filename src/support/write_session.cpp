#include "support/write_session.h"

#include "support/pending_file.h"

namespace brevant {

namespace {
thread_local WriteSession* currentSession = nullptr;
}  // namespace

WriteSession::WriteSession(std::chrono::system_clock::time_point staleBefore)
    : staleBefore_(staleBefore), outer_(currentSession) {
  currentSession = this;
}

WriteSession::~WriteSession() { currentSession = outer_; }

WriteSession* WriteSession::current() { return currentSession; }

void WriteSession::enter(const NativePath& folder) {
  // Once a run: the folder is listed only before the first file goes there.
  if (folders_.try_emplace(folder).second) RemoveStaleTemporaryFiles(folder, staleBefore_);
}

void WriteSession::placed(const NativePath& folder, bool synced) {
  Folder& state = folders_[folder];
  state.changed = true;
  if (!synced) state.unsyncedFiles = true;
}

}  // namespace brevant
