#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "support/files/native_path.h"
#include "support/files/placing_batch.h"

namespace brevant {

// The files that one run writes, made durable together. A file that replaces
// another is synced before it takes its place (AtomicFileWriter); one that
// replaces nothing goes in place at once, and the session syncs it with every
// other such file when the run ends, in one call for each file system (Linux's
// syncfs), which costs about what one file's sync would. The folders whose
// entries changed are synced then as well, so that once finish() gave no
// failure, everything the run wrote survives a power cut. Each folder the run
// writes into is first rid of the temporary files that a killed run of ours
// left there (RemoveStaleTemporaryFiles).
//
// Where the system allows it (Linux), the session also places in batches the
// groups that are put in place together (see PlacingBatch and CommitTogether):
// finish() places the last batch, syncs, and only then lets the earlier files
// the groups replaced go. A session that ends without finish() does the same.
//
// A session is the current one of its thread from its construction to its end;
// files written without one are each made durable on their own. On Windows a
// new file cannot be synced later without privileges: it is placed unsynced,
// and only the files that replace others are synced (the earlier file is never
// lost; a new one may be empty after a power cut).
class WriteSession {
 public:
  // Temporary files changed this long ago, and not locked, are a killed run's.
  static constexpr std::chrono::minutes kStaleAfter{1};

  WriteSession() : WriteSession(std::chrono::system_clock::now() - kStaleAfter) {}
  // Takes temporary files last changed before `staleBefore` for a killed run's.
  explicit WriteSession(std::chrono::system_clock::time_point staleBefore);
  ~WriteSession();
  WriteSession(const WriteSession&) = delete;
  WriteSession& operator=(const WriteSession&) = delete;

  // The session of this thread, or nullptr.
  static WriteSession* current();

  // Before a file is placed in the folder.
  void enter(const NativePath& folder);
  // The batch that groups go to, or nullptr where the system has none.
  PlacingBatch* batch();
  // Before the target is looked at: the current session's batch places first
  // when it holds a file for it.
  static void PlaceWaitingAt(const NativePath& target);
  // After a file was placed in the folder; `synced`: its bytes were on disk before.
  void placed(const NativePath& folder, bool synced);

  using Failures = std::vector<std::pair<NativePath, int>>;

  // Syncs what was placed and not synced, and the folders that changed. Gives
  // the folders that could not be synced, each with the system's error number.
  Failures finish();
  // The same, calling `turn` every few hundredths of a second while the disk
  // takes what the run wrote (a second, after ten thousand files), so that a
  // window stays responsive. Should `turn` throw (the window closed), the sync
  // goes on without waiting for it, and the exception passes on.
  Failures finish(const std::function<void()>& turn);

 private:
  struct Folder {
    bool changed = false;
    bool unsyncedFiles = false;
  };
  // Syncs the folders and what was placed in them, or fails as told (FailingFolderSyncs).
  static Failures syncOrFail(const std::map<NativePath, Folder>& folders);
  // The platform's part: syncs the folders and what was placed in them.
  static Failures sync(const std::map<NativePath, Folder>& folders);

  // Places the last batch; its folders are then synced with the others.
  void placeBatch();

  std::chrono::system_clock::time_point staleBefore_;
  std::map<NativePath, Folder> folders_;
  std::unique_ptr<PlacingBatch> batch_;
  WriteSession* outer_;
};

// While one lives, every changed folder of every session fails to sync with the
// error number given, as a disk that fails would: for the tests of what a run
// reports then, which no healthy file system makes happen.
class FailingFolderSyncs {
 public:
  explicit FailingFolderSyncs(int error);
  ~FailingFolderSyncs();
  FailingFolderSyncs(const FailingFolderSyncs&) = delete;
  FailingFolderSyncs& operator=(const FailingFolderSyncs&) = delete;
};

}  // namespace brevant
