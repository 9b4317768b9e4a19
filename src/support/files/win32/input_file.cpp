#include "support/files/input_file.h"

#include <cerrno>
#include <cstring>
#include <limits>
#include <new>

#include "support/files/file_error.h"
#include "support/files/win32/win32_files.h"

namespace brevant {

namespace {

constexpr std::size_t kFirstStreamRoom = std::size_t{1} << 20;
// Bytes asked of one read: a file is read in pieces of this size, with a
// turn for the caller between them.
constexpr DWORD kPieceSize = DWORD{8} << 20;

constexpr char16_t kStandardInput[] = u"\\\\.\\stdin";

[[noreturn]] void Fail(DWORD error) { throw FileError(DescribeSystemError(ErrnoFromWindowsError(error))); }

// Reads to the end into `storage`, which has room for `capacity` bytes. A file
// on disk (`stream` false) gives less than asked only at its end, which spares
// asking once more for nothing; one that fills its room grew since its size was
// seen: its size is asked once more, and it is read up to that size and no
// further. A
// pipe's room doubles whenever it fills, up to options.mostStreamBytes; a pipe
// that gives more fails the read. A pipe ends when its writer closes it.
std::size_t ReadAll(HANDLE file, InputStorage& storage, std::size_t capacity, bool stream,
                    const ReadOptions& options) {
  const auto most = static_cast<std::size_t>(options.mostStreamBytes);
  bool askedAgain = false;
  std::size_t filled = 0;
  std::size_t nextTurn = kPieceSize;
  while (true) {
    if (filled == capacity) {
      std::size_t room;
      if (!stream) {
        LARGE_INTEGER size{};
        if (askedAgain) return filled;
        askedAgain = true;
        if (!GetFileSizeEx(file, &size)) Fail(GetLastError());
        if (size.QuadPart < 0 || static_cast<unsigned long long>(size.QuadPart) < filled) return filled;
        // Room past the address space is no room: a 32-bit program ends here.
        if (static_cast<unsigned long long>(size.QuadPart) >= std::numeric_limits<std::size_t>::max())
          throw std::bad_alloc();
        room = static_cast<std::size_t>(size.QuadPart) + 1;
      } else {
        room = capacity * 2 < most + 1 ? capacity * 2 : most + 1;
      }
      auto larger = AllocateInputStorage(room);
      std::memcpy(larger.get(), storage.get(), filled);
      storage = std::move(larger);
      capacity = room;
    }
    char* bytes = reinterpret_cast<char*>(storage.get());
    const std::size_t left = capacity - filled;
    const DWORD asked = left < kPieceSize ? static_cast<DWORD>(left) : kPieceSize;
    DWORD got = 0;
    if (!ReadFile(file, bytes + filled, asked, &got, nullptr)) {
      const DWORD error = GetLastError();
      if (error == ERROR_BROKEN_PIPE || error == ERROR_HANDLE_EOF) return filled;
      Fail(error);
    }
    if (got == 0) return filled;
    filled += got;
    if (stream && filled > most) throw FileError(DescribeInputTooLong(options.mostStreamBytes));
    if (!stream && got < asked) return filled;
    if (filled >= nextTurn && options.betweenPieces) {
      options.betweenPieces();
      nextTurn = filled + kPieceSize;
    }
  }
}

FileContent ReadStream(HANDLE stream, const ReadOptions& options) {
  // A console ends when its user says so; any other device may never end.
  DWORD mode = 0;
  if (GetFileType(stream) == FILE_TYPE_CHAR && !GetConsoleMode(stream, &mode))
    throw FileError(kDeviceIsNoInput);
  FileContent content;
  const std::size_t room = kFirstStreamRoom < options.mostStreamBytes + 1
                               ? kFirstStreamRoom
                               : static_cast<std::size_t>(options.mostStreamBytes) + 1;
  content.storage = AllocateInputStorage(room);
  content.size = ReadAll(stream, content.storage, room, true, options);
  content.kind = content.size == 0 ? FileContent::Kind::Empty : FileContent::Kind::Bytes;
  content.readOnce = true;
  return content;
}

}  // namespace

InputStorage AllocateInputStorage(std::size_t bytes) {
  return InputStorage(new char16_t[bytes / 2 + 1], StorageRelease{0});
}

void StorageRelease::operator()(char16_t* storage) const { delete[] storage; }

// The file is opened first: one look at its name, which is what costs under
// Wine. Only when that fails is the name looked at again, to tell a missing
// file and a folder from a file that refuses to open.
FileContent ReadFileContent(TextView path, const ReadOptions& options) {
  if (path == kStandardInput) return ReadStream(GetStdHandle(STD_INPUT_HANDLE), options);
  NativePath native;
  FileContent content;
  if (path.empty() || !ToNativePath(path, native)) return content;
  const OwnedHandle file(CreateFileW(native.c_str(), GENERIC_READ,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                     OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file.valid()) {
    const DWORD error = GetLastError();
    const DWORD attributes = GetFileAttributesW(native.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
      // No missing file: one that cannot be named.
      if (GetLastError() == ERROR_FILENAME_EXCED_RANGE) Fail(ERROR_FILENAME_EXCED_RANGE);
      return content;
    }
    // A folder is no input: reported in the words Linux uses.
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) throw FileError(DescribeSystemError(EISDIR));
    Fail(error);
  }
  if (GetFileType(file.get()) != FILE_TYPE_DISK) return ReadStream(file.get(), options);
  LARGE_INTEGER length{};
  if (!GetFileSizeEx(file.get(), &length)) Fail(GetLastError());
  const auto size = static_cast<unsigned long long>(length.QuadPart);
  if (size == 0) {
    content.kind = FileContent::Kind::Empty;
    return content;
  }
  // One spare byte, so that the end of a file of the expected size is seen
  // without growing the room. A 32-bit program cannot hold 4 GB.
  if (size >= std::numeric_limits<std::size_t>::max()) throw std::bad_alloc();
  const std::size_t capacity = static_cast<std::size_t>(size) + 1;
  content.storage = AllocateInputStorage(capacity);
  content.size = ReadAll(file.get(), content.storage, capacity, false, options);
  content.kind = content.size == 0 ? FileContent::Kind::Empty : FileContent::Kind::Bytes;
  return content;
}

bool IsReadOnce(TextView path) { return path == kStandardInput; }

Text StandardInputPath() { return kStandardInput; }

}  // namespace brevant
