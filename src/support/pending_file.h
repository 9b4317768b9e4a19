#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "support/file_helpers.h"
#include "support/native_path.h"
#include "support/text.h"

namespace brevant {

// What becomes of a file that already stands at the target.
enum class ExistingTarget {
  // Refused when read-only or not writable; a symbolic link is written through,
  // so the file it names is replaced and the link stays.
  KeepReadOnly,
  // Replaced whatever its permissions (as deleting it and writing anew would);
  // a symbolic link is replaced by the document. Only a folder is refused.
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

// A new file in the folder of its target that nobody sees until it is put in
// place, readable and writable by its owner only while it is written (unless
// it already has the bits it will keep, which let nobody see more than the
// finished file will). On Linux
// unnamed (O_TMPFILE) where the file system allows it, so that no way of ending
// the program can leave it behind; elsewhere a hidden ".<name>.brevant-XXXXXX"
// that is removed on failure and on the signals of RemovePendingFilesOnSignals().
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

  // What stands at the target, looked at before anything is written: a folder
  // is refused, and with KeepReadOnly a file that is read-only or may not be
  // written. With KeepReadOnly `target` becomes the file that a chain of
  // symbolic links names. Gives 0 or the system's error number.
  static int checkTarget(NativePath& target, ExistingTarget existing);

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
#endif

  // Writes all the bytes. Gives 0 or the system's error number.
  int write(std::string_view bytes);

  // Checks the target again (it may have changed while the file was written)
  // and puts the file in place with the permissions (and, where allowed, the
  // owner) of the file it replaces, or those of any new file. With Replace and
  // the caller's look at the target, that look stands: the replacing rename
  // refuses a folder by itself, and a new document is linked in under its own
  // name, which fails rather than replace anything that came meanwhile.
  int placeOver(const NativePath& target, ExistingTarget existing, const TargetLook* look = nullptr);

  // Gives the file its permission bits and puts it at the target, replacing what
  // is there in one step. Gives 0 or the system's error number; on failure the
  // file is gone and the target as it was.
  int place(const NativePath& target, unsigned mode);

  // Closes and removes the file.
  void discard();

 private:
#ifdef _WIN32
  void* handle_ = nullptr;
#else
  int createNamed(const std::string& target, unsigned mode);
  int linkUnder(const std::string& target, std::string& name);
  int linkAsNew(const std::string& target);
  void forgetName();

  int fd_ = -1;
  unsigned createdMode_ = 0;  // the permission bits the file got when created
  std::string name_;          // the named file's path
  int slot_ = -1;
#endif
  Kind kind_ = Kind::Unnamed;
};

}  // namespace brevant
