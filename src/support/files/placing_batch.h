#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "support/files/native_path.h"
#include "support/files/pending_file.h"

namespace brevant {

// One file of a group, written unnamed and ready to be placed: its open
// descriptor (which the batch takes over) and the bits it was created with.
struct ReadyFile {
  NativePath target;
  ExistingTarget existing = ExistingTarget::KeepReadOnly;
  int descriptor = -1;
  unsigned createdMode = 0;
};

// Whether a batch can place a file at the target: its hidden names hold its
// name whole (a name near the file system's limit is placed on its own).
bool BatchTakesName(const NativePath& target);

// Told of a group that could not be placed: the position of the file that
// failed in its group, and the system's error number. The earlier group stands.
using GroupFailed = std::function<void(std::size_t index, int errorNumber)>;

// The files of a run placed in batches, a group (a document and the files
// beside it) whole or not at all, after a kill or a power cut at any moment:
//   1. every file is written unnamed, its writeback started as it is written;
//   2. a batch (at most kMostGroups groups, or fewer open files than the
//      system allows) gives each file a hidden name of its group,
//      ".<name>.brevant-GGGGGN", syncs them all with one call for each file
//      system (their bytes and these names), then places each group: an
//      earlier file is first linked to ".<name>.brevant-GGGGGK" and the new
//      one renamed over it, a new one is linked in under its name;
//   3. the next batch's sync, or the last one of the run, makes the placed
//      groups durable; only then do their hidden names go.
// A group that cannot be placed is taken back out at once. One that a kill or
// a power cut left half placed is put back by a later run into its folder
// (RemoveStaleTemporaryFiles): by the hidden names of its group it knows each
// file of it, and whether it stands (the file at the name is the staged one,
// or no longer the kept one); a group that stands whole loses its hidden
// names, any other gets its earlier files back and loses its new ones. Each
// folder is opened once for a batch and every name is placed relative to it.
// Only where the system has unnamed files and links (Linux): elsewhere
// Available() is false and files are placed one group at a time.
class PlacingBatch {
 public:
  static constexpr std::size_t kMostGroups = 256;

  static bool Available();

  PlacingBatch();
  ~PlacingBatch();  // what was not placed is dropped; earlier files stand
  PlacingBatch(const PlacingBatch&) = delete;
  PlacingBatch& operator=(const PlacingBatch&) = delete;

  // Takes a group; places the batch first when it is full, or when it holds
  // a file of the same folder and name already.
  void add(std::vector<ReadyFile> group, GroupFailed failed);
  // Places the batch now when it holds a file for the target (its folder by
  // any path): a look at the target then sees what this run put there.
  void placeIfWaiting(const NativePath& target);
  // Places every group taken so far (1 and 2 above). Gives the folders of the
  // placed groups, which the caller syncs before dropKept().
  std::vector<NativePath> place();
  // After the sync that made the placed groups durable: their hidden names go.
  void dropKept();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace brevant
