#include "support/files/write_session.h"

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "support/files/pending_file.h"

namespace brevant {

namespace {
thread_local WriteSession* currentSession = nullptr;
// Read on the thread that syncs, which is not always the session's.
std::atomic<int> failingSyncError{0};
}  // namespace

FailingFolderSyncs::FailingFolderSyncs(int error) { failingSyncError = error; }

FailingFolderSyncs::~FailingFolderSyncs() { failingSyncError = 0; }

WriteSession::Failures WriteSession::syncOrFail(const std::map<NativePath, Folder>& folders) {
  const int error = failingSyncError;
  if (error == 0) return sync(folders);
  Failures failures;
  for (const auto& [folder, state] : folders) {
    if (state.changed) failures.emplace_back(folder, error);
  }
  return failures;
}

WriteSession::WriteSession(std::chrono::system_clock::time_point staleBefore)
    : staleBefore_(staleBefore), outer_(currentSession) {
  currentSession = this;
}

WriteSession::~WriteSession() {
  // What the run handed over is placed, as it would have been without a batch.
  if (batch_) {
    try {
      finish();
    } catch (...) {
    }
  }
  currentSession = outer_;
}

PlacingBatch* WriteSession::batch() {
  if (!batch_ && PlacingBatch::Available()) batch_ = std::make_unique<PlacingBatch>();
  return batch_.get();
}

void WriteSession::PlaceWaitingAt(const NativePath& target) {
  if (currentSession != nullptr && currentSession->batch_) currentSession->batch_->placeIfWaiting(target);
}

void WriteSession::placeBatch() {
  if (!batch_) return;
  for (const NativePath& folder : batch_->place()) {
    enter(folder);
    placed(folder, false);
  }
}

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

WriteSession::Failures WriteSession::finish() {
  placeBatch();
  const Failures failures = syncOrFail(folders_);
  folders_.clear();
  // Placed for good: the earlier files go. Where the sync failed they stay, for a later run to settle.
  if (batch_ && failures.empty()) batch_->dropKept();
  return failures;
}

WriteSession::Failures WriteSession::finish(const std::function<void()>& turn) {
  if (!turn) return finish();
  placeBatch();
  // The sync waits for the disk on a thread of its own, with what it needs.
  struct Job {
    std::map<NativePath, Folder> folders;
    Failures failures;
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
  };
  auto job = std::make_shared<Job>();
  job->folders = std::move(folders_);
  folders_.clear();
  std::thread syncing([job] {
    Failures failures = syncOrFail(job->folders);
    const std::lock_guard lock(job->mutex);
    job->failures = std::move(failures);
    job->done = true;
    job->ended.notify_one();
  });
  try {
    std::unique_lock lock(job->mutex);
    while (!job->ended.wait_for(lock, std::chrono::milliseconds(20), [&job] { return job->done; })) {
      lock.unlock();
      turn();
      lock.lock();
    }
  } catch (...) {
    syncing.detach();  // it ends on its own; the job stays with it
    throw;
  }
  syncing.join();
  if (batch_ && job->failures.empty()) batch_->dropKept();
  return std::move(job->failures);
}

}  // namespace brevant
