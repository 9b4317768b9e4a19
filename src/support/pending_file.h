#pragma once

#include <sys/types.h>

#include <string>

namespace brevant {

// A new file in the folder of its target that nobody sees until it is put in
// place, readable and writable by its owner only while it is written. Unnamed
// (O_TMPFILE) where the file system allows it, so that no way of ending the
// program can leave it behind; elsewhere a hidden ".<name>.brevant-XXXXXX" that
// is removed on failure and on the signals of RemovePendingFilesOnSignals().
class PendingFile {
 public:
  enum class Kind { Unnamed, Named };

  PendingFile() = default;
  ~PendingFile() { discard(); }
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;

  // Creates the file beside the target (a native path), unnamed when asked and
  // possible, otherwise named. Gives 0 or the system's error number.
  int create(const std::string& target, Kind preferred = Kind::Unnamed);

  bool open() const { return fd_ >= 0; }
  int descriptor() const { return fd_; }
  Kind kind() const { return kind_; }

  // Gives the file its permission bits and puts it at the target, replacing what
  // is there in one step. Gives 0 or the system's error number; on failure the
  // file is gone and the target as it was.
  int place(const std::string& target, mode_t mode);

  // Closes and removes the file.
  void discard();

 private:
  int createNamed(const std::string& target);
  int linkUnder(const std::string& target, std::string& name);
  void forgetName();

  int fd_ = -1;
  Kind kind_ = Kind::Unnamed;
  std::string name_;  // the named file's path
  int slot_ = -1;
};

// The permission bits a new file gets under the process's umask (0666 less it),
// as the umask was when first asked.
mode_t NewFileMode();

}  // namespace brevant
