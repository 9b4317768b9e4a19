#include "support/input_file.h"

#include <cerrno>
#include <cstring>
#include <limits>
#include <new>

#include "support/file_error.h"
#include "support/win32/win32_files.h"

namespace brevant {

namespace {

constexpr std::size_t kFirstStreamRoom = std::size_t{1} << 20;
// Bytes asked of one read: a file is read in pieces of this size, with a
// turn for the caller between them.
constexpr DWORD kPieceSize = DWORD{8} << 20;

constexpr char16_t kStandardInput[] = u"\\\\.\\stdin";

[[noreturn]] void Fail(DWORD error) { throw FileError(DescribeSystemError(ErrnoFromWindowsError(error))); }

enum class Source { Disk, Stream };

// Reads to the end, doubling the room whenever it fills. A pipe ends when its
// writer closes it; a file on disk gives less than asked only at its end,
// which spares asking once more for nothing.
std::size_t ReadAll(HANDLE file, InputStorage& storage, std::size_t capacity, const ReadOptions& options,
                    Source source) {
  std::size_t filled = 0;
  std::size_t nextTurn = kPieceSize;
  while (true) {
    if (filled == capacity) {
      // Room past the address space is no room: a 32-bit program ends here.
      if (capacity > std::numeric_limits<std::size_t>::max() / 2) throw std::bad_alloc();
      auto larger = AllocateInputStorage(capacity * 2);
      std::memcpy(larger.get(), storage.get(), filled);
      storage = std::move(larger);
      capacity *= 2;
    }
    char* bytes = reinterpret_cast<char*>(storage.get());
    const std::size_t room = capacity - filled;
    const DWORD asked = room < kPieceSize ? static_cast<DWORD>(room) : kPieceSize;
    DWORD got = 0;
    if (!ReadFile(file, bytes + filled, asked, &got, nullptr)) {
      const DWORD error = GetLastError();
      if (error == ERROR_BROKEN_PIPE || error == ERROR_HANDLE_EOF) return filled;
      Fail(error);
    }
    if (got == 0) return filled;
    filled += got;
    if (source == Source::Disk && got < asked) return filled;
    if (filled >= nextTurn && options.betweenPieces) {
      options.betweenPieces();
      nextTurn = filled + kPieceSize;
    }
  }
}

FileContent ReadStream(HANDLE stream, const ReadOptions& options) {
  FileContent content;
  content.storage = AllocateInputStorage(kFirstStreamRoom);
  content.size = ReadAll(stream, content.storage, kFirstStreamRoom, options, Source::Stream);
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
    if (attributes == INVALID_FILE_ATTRIBUTES) return content;
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
  content.size = ReadAll(file.get(), content.storage, capacity, options, Source::Disk);
  content.kind = content.size == 0 ? FileContent::Kind::Empty : FileContent::Kind::Bytes;
  return content;
}

bool IsReadOnce(TextView path) { return path == kStandardInput; }

Text StandardInputPath() { return kStandardInput; }

}  // namespace brevant
