#include "support/files/pending_file.h"

#include <cerrno>
#include <memory>
#include <random>
#include <utility>
#include <vector>

#include "support/files/win32/win32_files.h"

namespace brevant {

namespace {

constexpr std::size_t kMaxNameInTempName = 200;
constexpr int kMaxNameAttempts = 100;
constexpr DWORD kMostPerWrite = DWORD{1} << 30;

std::wstring RandomSuffix() {
  static constexpr wchar_t kAlphabet[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  thread_local std::mt19937_64 engine{std::random_device{}()};
  std::uniform_int_distribution<std::size_t> pick(0, sizeof kAlphabet / sizeof kAlphabet[0] - 2);
  std::wstring suffix(6, L' ');
  for (wchar_t& c : suffix) c = kAlphabet[pick(engine)];
  return suffix;
}

std::wstring HiddenName(const NativePath& target) {
  const std::size_t separator = target.rfind(L'\\');
  const std::size_t nameStart = separator == NativePath::npos ? 0 : separator + 1;
  return target.substr(0, nameStart) + L"." + target.substr(nameStart, kMaxNameInTempName) + L".brevant-" +
         RandomSuffix();
}

bool MarkForDeletion(HANDLE file, bool doomed) {
  FILE_DISPOSITION_INFO disposition{};
  disposition.DeleteFile = doomed ? TRUE : FALSE;
  return SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition) != 0;
}

// Renames the open file over the target, replacing what stands there.
bool RenameOver(HANDLE file, const NativePath& target) {
  // The name must be complete: a relative one would be taken inside the file's
  // folder. The long form (see ToNativePath) is complete as it stands.
  std::wstring full = target;
  if (full.rfind(L"\\\\?\\", 0) != 0) {
    const DWORD needed = GetFullPathNameW(target.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return false;
    full.assign(needed, L'\0');
    const DWORD length = GetFullPathNameW(target.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed) return false;
    full.resize(length);
  }
  const std::size_t bytes = sizeof(FILE_RENAME_INFO) + full.size() * sizeof(wchar_t);
  std::vector<unsigned char> buffer(bytes, 0);
  auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
  rename->ReplaceIfExists = TRUE;
  rename->RootDirectory = nullptr;
  rename->FileNameLength = static_cast<DWORD>(full.size() * sizeof(wchar_t));
  full.copy(rename->FileName, full.size());
  return SetFileInformationByHandle(file, FileRenameInfo, rename, static_cast<DWORD>(bytes)) != 0;
}

// Makes a new file under exactly this name for writing, opened for nobody
// else and marked for deletion; null when the name is taken or the file
// cannot be made.
HANDLE CreateDoomedFile(const NativePath& path, DWORD attributes) {
  const HANDLE file =
      CreateFileW(path.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW, attributes, nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  if (MarkForDeletion(file, true)) return file;
  const DWORD error = GetLastError();
  CloseHandle(file);
  DeleteFileW(path.c_str());  // just made, and nobody else could open it
  SetLastError(error);
  return nullptr;
}

}  // namespace

// The new file a look made; closing it unused removes it.
struct ReservedFile {
  HANDLE handle = nullptr;
  ReservedFile() = default;
  ReservedFile(const ReservedFile&) = delete;
  ReservedFile& operator=(const ReservedFile&) = delete;
  ~ReservedFile() {
    if (handle != nullptr) CloseHandle(handle);
  }
};

// Links are the file system's business on Windows: the target is replaced as
// it stands. A folder is never a document; a read-only file keeps its content
// unless it is to be replaced.
int PendingFile::checkTarget(const NativePath& target, ExistingTarget existing) {
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return 0;
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return EISDIR;
  if (existing == ExistingTarget::KeepReadOnly && (attributes & FILE_ATTRIBUTE_READONLY) != 0) return EACCES;
  return 0;
}

bool PendingFile::targetExists(const NativePath& target) {
  return GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The attributes tell what stands there; the identity takes a handle, as
// IdentifyFile does. Windows has no change time that survives a rename the way
// Linux's does, so none is given.
TargetLook LookAtTarget(TextView path) {
  TargetLook look;
  NativePath native;
  if (path.empty() || !ToNativePath(path, native)) return look;
  if (native.back() != L'\\') {
    auto reserved = std::make_shared<ReservedFile>();
    reserved->handle = CreateDoomedFile(native, FILE_ATTRIBUTE_NORMAL);
    if (reserved->handle != nullptr) {
      look.reserved = std::move(reserved);
      return look;
    }
  }
  const DWORD attributes = GetFileAttributesW(native.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return look;
  look.exists = true;
  look.folder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  look.regularFile = !look.folder && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
  // The read-only attribute is the only permission a file has here.
  look.mode = (attributes & FILE_ATTRIBUTE_READONLY) != 0 ? 0444 : 0666;
  look.namesFile = IdentifyFile(path, look.identity);
  return look;
}

// Permissions are the folder's on Windows: the look tells only whether
// anything stood at the target. Where nothing did, the file is made under the
// target's own name (Kind::Unnamed here), or the one the look made is taken
// over: opened for nobody else and marked for deletion until it is complete,
// it cannot be read half-written, and a crash or a kill leaves nothing, as
// with a hidden file; but no second name is made and renamed away, each a
// search of the whole folder under Wine. Should something take the name
// meanwhile, the file is a hidden one after all.
int PendingFile::create(const NativePath& target, Kind preferred, const TargetLook* look) {
  discard();
  synced_ = false;
  if (preferred == Kind::Unnamed && look != nullptr && !look->exists) {
    HANDLE file = look->reserved ? std::exchange(look->reserved->handle, nullptr) : nullptr;
    if (file == nullptr) file = CreateDoomedFile(target, FILE_ATTRIBUTE_NORMAL);
    if (file != nullptr) {
      handle_ = file;
      kind_ = Kind::Unnamed;
      return 0;
    }
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return ErrnoFromWindowsError(error);
  }
  kind_ = Kind::Named;
  for (int attempt = 0; attempt < kMaxNameAttempts; ++attempt) {
    // Marked at once: whatever ends the program, the system removes the file.
    const HANDLE file =
        CreateDoomedFile(HiddenName(target), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
    if (file != nullptr) {
      handle_ = file;
      return 0;
    }
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return ErrnoFromWindowsError(error);
  }
  return EEXIST;
}

bool PendingFile::open() const { return handle_ != nullptr; }

int PendingFile::write(std::string_view bytes) {
  if (handle_ == nullptr) return EBADF;
  while (!bytes.empty()) {
    const DWORD piece = bytes.size() < kMostPerWrite ? static_cast<DWORD>(bytes.size()) : kMostPerWrite;
    DWORD written = 0;
    if (!WriteFile(handle_, bytes.data(), piece, &written, nullptr)) return LastErrno();
    if (written == 0) return EIO;
    bytes.remove_prefix(written);
  }
  return 0;
}

void PendingFile::startWriteback() {}

int PendingFile::sync() {
  if (handle_ == nullptr) return EBADF;
  if (synced_) return 0;
  if (!FlushFileBuffers(static_cast<HANDLE>(handle_))) return LastErrno();
  synced_ = true;
  return 0;
}

// Files are placed one at a time here: what a file replaced is gone once it is
// placed, and undo() has nothing to put back. A file that replaces another goes
// in place only once its bytes are on disk. With Replace and the caller's look
// at the target, that look stands: a look at a name that is not there costs a
// search of the whole folder under Wine.
int PendingFile::placeOver(const NativePath& target, ExistingTarget existing, const TargetLook* look,
                           const PlaceOptions& options) {
  int error = 0;
  bool replaces = false;
  bool mayBeReadOnly = false;
  if (kind_ == Kind::Unnamed) {
    // Already at the target's name, where nothing stood.
  } else if (look != nullptr && existing == ExistingTarget::Replace) {
    error = look->folder ? EISDIR : 0;
    replaces = look->exists;
    mayBeReadOnly = replaces && (look->mode & 0200) == 0;
  } else {
    error = checkTarget(target, existing);
    replaces = mayBeReadOnly = error == 0 && targetExists(target);
  }
  if (error == 0 && (replaces || !options.syncNewFileLater)) error = sync();
  if (error != 0) {
    discard();
    return error;
  }
  // The document takes the place of a read-only file that is to be replaced.
  if (mayBeReadOnly) {
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0)
      SetFileAttributesW(target.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  }
  return place(target, 0);
}

int PendingFile::place(const NativePath& target, unsigned /*mode*/) {
  if (handle_ == nullptr) return EBADF;
  const HANDLE file = static_cast<HANDLE>(handle_);
  if (kind_ == Kind::Unnamed) {
    // Complete: no longer doomed. Should that fail, closing removes it.
    const int error = MarkForDeletion(file, false) ? 0 : LastErrno();
    CloseHandle(file);
    handle_ = nullptr;
    return error;
  }
  int error = 0;
  FILE_BASIC_INFO basic{};
  // Seen under its own name from now on: no longer hidden, no longer doomed.
  if (GetFileInformationByHandleEx(file, FileBasicInfo, &basic, sizeof basic)) {
    basic.FileAttributes &= ~(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
    if (basic.FileAttributes == 0) basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    SetFileInformationByHandle(file, FileBasicInfo, &basic, sizeof basic);
  }
  if (!MarkForDeletion(file, false)) error = LastErrno();
  if (error == 0 && !RenameOver(file, target)) {
    error = LastErrno();
    MarkForDeletion(file, true);
  }
  CloseHandle(file);
  handle_ = nullptr;
  return error;
}

void PendingFile::confirm() {}

int PendingFile::undo() { return 0; }

void PendingFile::discard() {
  if (handle_ == nullptr) return;
  // Closing the last handle of a file marked for deletion removes it.
  CloseHandle(static_cast<HANDLE>(handle_));
  handle_ = nullptr;
}

NativePath FolderOfTarget(const NativePath& target) {
  const std::size_t separator = target.rfind(L'\\');
  return separator == NativePath::npos ? NativePath() : target.substr(0, separator + 1);
}

// NTFS keeps its folders in its journal; a folder cannot be synced without privileges.
int SyncFolder(const NativePath& /*folder*/) { return 0; }

// A pending file is marked for deletion from its start: the system removes it
// whatever ends the program, and none is ever left for a later run.
void RemoveStaleTemporaryFiles(const NativePath& /*folder*/,
                               std::chrono::system_clock::time_point /*changedBefore*/) {}

}  // namespace brevant
