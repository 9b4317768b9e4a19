#pragma once

#include <string>
#include <string_view>

#include "support/native_path.h"

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

// A new file in the folder of its target that nobody sees until it is put in
// place, readable and writable by its owner only while it is written. On Linux
// unnamed (O_TMPFILE) where the file system allows it, so that no way of ending
// the program can leave it behind; elsewhere a hidden ".<name>.brevant-XXXXXX"
// that is removed on failure and on the signals of RemovePendingFilesOnSignals().
// On Windows always such a hidden file, marked for deletion while it is written
// (so a crash or a kill leaves nothing) and renamed over the target through its
// handle.
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
  // otherwise named. Gives 0 or the system's error number.
  int create(const NativePath& target, Kind preferred = Kind::Unnamed);

  bool open() const;
  Kind kind() const { return kind_; }
#ifndef _WIN32
  int descriptor() const { return fd_; }
#endif

  // Writes all the bytes. Gives 0 or the system's error number.
  int write(std::string_view bytes);

  // Checks the target again (it may have changed while the file was written)
  // and puts the file in place with the permissions (and, where allowed, the
  // owner) of the file it replaces, or those of any new file.
  int placeOver(const NativePath& target, ExistingTarget existing);

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
  int createNamed(const std::string& target);
  int linkUnder(const std::string& target, std::string& name);
  void forgetName();

  int fd_ = -1;
  std::string name_;  // the named file's path
  int slot_ = -1;
#endif
  Kind kind_ = Kind::Unnamed;
};

}  // namespace brevant
