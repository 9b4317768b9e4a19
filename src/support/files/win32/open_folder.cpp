#include "support/files/open_folder.h"

#include <cerrno>

#include "support/files/file_access.h"
#include "support/text/utf8.h"
#include "support/files/win32/win32_files.h"

namespace brevant {

namespace {

bool IsDotOrDotDot(const wchar_t* name) {
  return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

// UTF-8 of a name. A name with a lone surrogate gets a byte that is never
// valid UTF-8, so that it counts as unusable, as a name that is not UTF-8 does on Linux.
std::string EntryName(const wchar_t* name) {
  const TextView text(reinterpret_cast<const char16_t*>(name));
  std::string bytes = ToUtf8(text);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      ++i;
    } else if (unit >= 0xD800 && unit <= 0xDFFF) {
      bytes += '\xFF';
      break;
    }
  }
  return bytes;
}

// A reparse point (symbolic link, junction) is never taken for a sub-folder.
EntryKind KindOf(DWORD attributes) {
  if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return EntryKind::Link;
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return EntryKind::Folder;
  return EntryKind::File;
}

}  // namespace

OpenFolder::OpenFolder(const NativePath& path, Links links)
    : handle_(INVALID_HANDLE_VALUE), path_(WithoutTrailingSeparators(path)) {
  const DWORD attributes = GetFileAttributesW(path_.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    openError_ = LastErrno();
  } else if (links == Links::Refuse && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
    openError_ = ELOOP;
  } else if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    openError_ = ENOTDIR;
  } else {
    handle_ = OpenForLooking(path_);
    if (handle_ == INVALID_HANDLE_VALUE) openError_ = LastErrno();
  }
}

OpenFolder::~OpenFolder() {
  if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
}

bool OpenFolder::isOpen() const { return handle_ != INVALID_HANDLE_VALUE; }

bool OpenFolder::describe(TextView /*path*/, FileIdentity& identity, int& attributes) const {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!isOpen() || !GetFileInformationByHandle(handle_, &info)) return false;
  identity = IdentityOf(info);
  attributes = KnownAttributes(info.dwFileAttributes);
  return true;
}

bool OpenFolder::readEntries(std::vector<FolderEntry>& entries) {
  if (!isOpen()) return false;
  const NativePath pattern = path_ + (path_.back() == L'\\' ? L"*" : L"\\*");
  WIN32_FIND_DATAW data;
  const HANDLE find = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                       nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (find == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
  do {
    if (!IsDotOrDotDot(data.cFileName))
      entries.push_back(
          {EntryName(data.cFileName), KindOf(data.dwFileAttributes), KnownAttributes(data.dwFileAttributes)});
  } while (FindNextFileW(find, &data));
  const bool complete = GetLastError() == ERROR_NO_MORE_FILES;
  FindClose(find);
  return complete;
}

bool OpenFolder::isSubFolder(const FolderEntry& entry) const { return entry.kind == EntryKind::Folder; }

bool OpenFolder::fileIsAccessible(const FolderEntry& entry) const {
  if (entry.kind == EntryKind::Folder) return false;
  Text path(path_.begin(), path_.end());
  if (path.back() != u'\\') path += u'\\';
  path += FromUtf8(entry.name);
  return FileIsAccessible(path);
}

}  // namespace brevant
