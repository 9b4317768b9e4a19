#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "support/text/text.h"

namespace brevant {

// True when the path can be stat()ed (any kind of entry); follows links; never fails.
bool FileExists(TextView path);

// True when the path names an existing folder; follows links; never fails.
bool FolderExists(TextView path);

// True when the system refuses the path for its length: the whole of it, or one
// of its names. Never fails.
bool PathIsTooLong(TextView path);

// Deletes a file, read-only ones too; swallows every failure.
void DeleteFileSafe(TextView path);

// Deletes a file even when it is read-only. Throws FileError.
void ForceDeleteFile(TextView path);

// True when both paths name the same existing file (same device and inode), or
// when the path texts are equal.
bool IsSameFile(TextView a, TextView b);

// Which file a path names, links followed: the same for every path of one file.
struct FileIdentity {
  unsigned long long device = 0;
  unsigned long long inode = 0;
  bool operator==(const FileIdentity&) const = default;
};
// False when the path names nothing.
bool IdentifyFile(TextView path, FileIdentity& identity);
// The same, and the length of a regular file (0 for anything else), from the
// same one look.
bool IdentifyFile(TextView path, FileIdentity& identity, std::uint64_t& regularFileSize);

}  // namespace brevant
