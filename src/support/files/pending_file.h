#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "support/files/file_helpers.h"
#include "support/files/native_path.h"
#include "support/text/text.h"

namespace brevant {

// What becomes of a file that already stands at the target. In both cases a
// symbolic link at the target's name is itself replaced, never followed: a link
// planted in a shared folder cannot make a document replace the file it names.
enum class ExistingTarget {
  // Refused when it is a read-only file, one that may not be written, a device
  // or a folder.
  KeepReadOnly,
  // Replaced whatever its permissions (as deleting it and writing anew would).
  // Only a folder is refused.
  Replace,
};

#ifdef _WIN32
struct ReservedFile;
#endif

// What stood at a target when it was looked at, links not followed: one look
// answers every question asked before a document is written there (is it an
// input, did this run write it, may it be replaced, which permission bits does
// the new file take), so that none of them costs the system another look.
struct TargetLook {
  bool exists = false;       // anything, a dangling link included
  bool folder = false;       // a folder itself, not a link to one
  bool regularFile = false;  // a regular file itself, not a link to one
  bool namesFile = false;    // the path names an existing file (links followed): `identity` holds
  FileIdentity identity{};
  unsigned mode = 0;  // permission bits of a regular file
  unsigned owner = 0;
  unsigned group = 0;
  // Nanoseconds since 1970 of the last change of the file the path names,
  // where the system tells it.
  std::optional<std::int64_t> changedAt{};
#ifdef _WIN32
  // Where nothing stood, the new file under the target's name, made by the
  // look itself (see LookAtTarget); shared by the look's copies.
  std::shared_ptr<ReservedFile> reserved{};
#endif
};

// Looks at what stands at the path now. A path that names nothing, or that
// cannot be a path, gives a look at nothing. On Windows a look that finds
// nothing makes the new file there at once, closed to everybody else and
// marked for deletion (the one search for the name that Wine makes reads the
// whole folder, and the write would make a second): a PendingFile created with
// the look takes it over, and it goes when the last copy of an unused look goes.
TargetLook LookAtTarget(TextView path);

// How a finished file is put in place.
struct PlaceOptions {
  // A file that replaces nothing may go in place before its bytes are on disk:
  // nothing is lost if they never get there, and whoever asked syncs the file
  // system later, for all such files at once (WriteSession). Otherwise every
  // file is synced before it is placed.
  bool syncNewFileLater = false;
  // What the file replaces is kept, under a hidden name, until confirm() drops
  // it or undo() puts it back: so that files that belong together are placed
  // together or not at all. Where the file system cannot swap two names in one
  // step, the replaced file is gone at once and undo() cannot bring it back.
  bool keepReplaced = false;
};

// A new file in the folder of its target that nobody sees until it is put in
// place, readable and writable by its owner only while it is written (unless
// it already has the bits it will keep, which let nobody see more than the
// finished file will). On Linux unnamed (O_TMPFILE) where the file system
// allows it, so that no way of ending the program while it is written can
// leave it behind; it gets a hidden ".<name>.brevant-XXXXXX" only for the
// moment between being linked in and renamed over the file it replaces. Where
// the file system has no unnamed files it has that hidden name from the start,
// removed on failure and on the signals of RemovePendingFilesOnSignals(). While
// it has a hidden name it holds a lock on itself, by which a later run tells a
// file of a killed program from one still being written
// (RemoveStaleTemporaryFiles). A file that replaces another is synced first, so
// a power cut leaves the earlier file or the complete new one.
// On Windows such a hidden file, marked for deletion while it is written (so a
// crash or a kill leaves nothing) and renamed over the target through its
// handle; where nothing stands at the target, the "unnamed" file is made
// under the target's own name, opened for nobody else and marked the same way.
class PendingFile {
 public:
  enum class Kind { Unnamed, Named };

  PendingFile() = default;
  ~PendingFile() { discard(); }
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;

  // What stands at the target, looked at before anything is written, links not
  // followed: a folder is refused, and with KeepReadOnly a file that is
  // read-only or may not be written, and anything that is not a regular file
  // or a symbolic link. Gives 0 or the system's error number.
  static int checkTarget(const NativePath& target, ExistingTarget existing);
  // Whether anything (a dangling link included) stands at the target now.
  static bool targetExists(const NativePath& target);

  // Creates the file beside the target, unnamed when asked and possible,
  // otherwise named. With a look at the target taken by the caller, the file is
  // created with the permission bits it will keep (those of the file it
  // replaces, or of any new file) where nobody else would gain by that.
  // Gives 0 or the system's error number.
  int create(const NativePath& target, Kind preferred = Kind::Unnamed, const TargetLook* look = nullptr);

  bool open() const;
  Kind kind() const { return kind_; }
#ifndef _WIN32
  int descriptor() const { return fd_; }
  // Hands an unnamed file over to whoever places it (PlacingBatch): gives its
  // descriptor, and the bits it was created with, and forgets it.
  int releaseUnnamed(unsigned& createdMode);
#endif

  // Writes all the bytes. Gives 0 or the system's error number.
  int write(std::string_view bytes);
  // Starts taking what was written so far to the disk, without waiting for it:
  // a large file is then mostly there by the time it is synced.
  void startWriteback();
  // Waits until the file's bytes are on disk. Gives 0 or the system's error number.
  int sync();
  bool synced() const { return synced_; }

  // Checks the target again (it may have changed while the file was written)
  // and puts the file in place with the permissions (and, where allowed, the
  // owner) of the file it replaces, or those of any new file. With Replace and
  // the caller's look at the target, that look stands: the replacing rename
  // refuses a folder by itself, and a new document is linked in under its own
  // name, which fails rather than replace anything that came meanwhile (which
  // is then looked at and replaced as any earlier file). On failure the file is
  // gone and the target as it was.
  int placeOver(const NativePath& target, ExistingTarget existing, const TargetLook* look = nullptr,
                const PlaceOptions& options = {});

  // Gives the file its permission bits and puts it at the target, replacing what
  // is there in one step. Gives 0 or the system's error number; on failure the
  // file is gone and the target as it was.
  int place(const NativePath& target, unsigned mode);

  // After placeOver() with keepReplaced: drops the replaced file for good.
  void confirm();
  // After placeOver() with keepReplaced: takes the file out of place again and
  // puts back what it replaced (nothing, for a new file). Gives 0 or the
  // system's error number.
  int undo();

  // Closes and removes the file.
  void discard();

 private:
#ifdef _WIN32
  void* handle_ = nullptr;
#else
  int createNamed(const std::string& target, unsigned mode);
  int linkUnder(const std::string& target, std::string& name);
  int linkAsNew(const std::string& target);
  int placeNew(const std::string& target, unsigned mode, bool undoable);
  int placeReplacing(const std::string& target, unsigned mode, bool keepReplaced);
  void forgetName();

  int fd_ = -1;
  unsigned createdMode_ = 0;  // the permission bits the file got when created
  std::string name_;          // the named file's path
  int slot_ = -1;
  unsigned long long written_ = 0;  // bytes written, and of them those whose writeback started
  unsigned long long sentToDisk_ = 0;
  // After a placement that keeps what it replaced: where the file went, and
  // the replaced file's hidden name (empty when the file replaced nothing).
  std::string placedAt_;
  std::string kept_;
  FileIdentity placedFile_{};
#endif
  Kind kind_ = Kind::Unnamed;
  bool synced_ = false;
};

// Makes the entries of a folder durable: a file placed there stays placed
// after a power cut. Gives 0 or the system's error number.
int SyncFolder(const NativePath& folder);

// The folder of a target path (with its final separator; empty for a bare name).
NativePath FolderOfTarget(const NativePath& target);

// The extensions of the files the program writes: documents, CSV files and
// workbooks. Only hidden files with one of them before the temporary mark are
// taken for a killed run's.
inline constexpr std::string_view kOwnExtensions[] = {"htm", "xml", "csv", "xlsx"};

// Settles in the folder the groups that a batch of ours left half placed when
// it was ended (a kill, a power cut; see PlacingBatch), where no batch is at
// work there: each becomes the whole earlier group again, or stays the whole
// new one, and loses its hidden names. Then removes the lone hidden files that
// a program of ours left: regular files named as PendingFile names them
// (".<name>.<extension of ours>.brevant-XXXXXX"), owned by this user, last
// changed before `changedBefore`, and not locked by a writer still at work.
// Anything else, and anything it cannot look at, stays. Never fails.
void RemoveStaleTemporaryFiles(const NativePath& folder, std::chrono::system_clock::time_point changedBefore);

}  // namespace brevant
