#pragma once

#include <sys/stat.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "support/files/pending_file.h"

#include "support/files/open_folder.h"
#include "support/text/text.h"

// Helpers that the POSIX implementations of the support headers share.
namespace brevant {

// The open test of FileIsAccessible for a name inside an open folder. The kind
// its listing gave spares a look at the file when it already tells the answer.
bool FileIsAccessibleAt(int folderDescriptor, const char* name, EntryKind listedKind = EntryKind::Unknown);

// The attribute value for an entry that is not a symbolic link and whose status is known.
int AttributeValueOf(TextView path, const struct stat& status);

// The hidden names of pending files: ".<name>.brevant-" and six letters or
// digits. A name too long for the file system's 255 bytes is shortened before
// its extension, which stays: a later run knows its own files by it.
inline constexpr std::string_view kTemporaryMark = ".brevant-";
inline constexpr std::size_t kSuffixLength = 6;
std::string HiddenFileName(std::string name, std::string_view suffix);
std::string RandomLetters(std::size_t count);
// The name after the last "/".
std::string NameOf(const std::string& target);
// A name HiddenFileName() gives to a file of ours: ".", at least one
// character, a dot and one of our extensions, the mark and six letters or
// digits. Any other hidden file is somebody else's, however much it looks like ours.
bool IsTemporaryName(std::string_view name);
// The target's name inside a hidden name of ours (shortened where it was).
std::string_view TargetNameOf(std::string_view hiddenName);
// The last letter of a batch's hidden name says what the file is (PlacingBatch).
inline constexpr char kStagedRole = 'N';  // the new file, before and after it is placed
inline constexpr char kKeptRole = 'K';    // the file it replaces, until the group stands
inline bool IsGroupRole(char c) { return c == kStagedRole || c == kKeptRole; }

// A file of a batch's group by its names in its folder: its own, and the hidden
// names of the group for the new file and the earlier one (each empty where
// it has none).
struct GroupFile {
  std::string name;
  std::string staged;
  std::string kept;
};
// Leaves the group whole: a group whose every file stands loses its hidden
// names; any other gets its earlier files back and loses its new ones.
void SettleGroup(int folder, const std::vector<GroupFile>& files);

// Whether the file that stands at the name in the folder (`st`, links not
// followed) may be replaced: a folder never; with KeepReadOnly only a regular
// file that may be written. Gives 0 or the system's error number.
int CheckStandingFile(int folder, const char* name, const struct stat& st, ExistingTarget existing,
                      bool& regularFile);
// Whether the program runs as this owner and group.
bool OwnedByUs(uid_t owner, gid_t group);
// A file that replaces another takes its owner where allowed, unless that owner
// is not the folder's: a file planted in a shared folder by another user does
// not hand its planter the document that replaces it.
void TakeOverOwner(int fd, uid_t owner, gid_t group, uid_t folderOwner);
// The permission bits of any new file, and of one that replaces a file with
// `earlier`: those bits, never writable by everybody.
mode_t NewFileMode();
mode_t ReplacementMode(mode_t earlier);

}  // namespace brevant
