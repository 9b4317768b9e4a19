// What only Windows has: wide names, drive and "\\?\" paths, native attributes
// and file identity, reparse points, delete-on-close writes.
#ifdef _WIN32
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>
#include <vector>

#include "support/files/atomic_file.h"
#include "support/files/file_access.h"
#include "support/files/file_attributes.h"
#include "support/files/file_error.h"
#include "support/files/file_helpers.h"
#include "support/folder_test_tree.h"
#include "support/files/input_file.h"
#include "support/folders/matching_files.h"
#include "test_support/long_form_files.h"
#include "test_support/temp_dir.h"
#include "test_support/temporary_files.h"
#include "test_support/test_texts.h"

namespace fs = std::filesystem;

namespace brevant {
namespace {

using test::LongForm;
using test::PathText;
using test::ReadBytes;
using test::ReadThroughLongForm;
using test::RecordingObserver;
using test::RemoveThroughLongForm;
using test::TempDir;
using test::WriteBytes;
using test::WriteThroughLongForm;

constexpr char kKillFolder[] = "BREVANT_KILLED_WRITER_FOLDER";

std::vector<Text> Scan(const fs::path& folder) {
  ScanObserver quiet;
  return ListMatchingFiles(PathText(folder), u"vcf", quiet);
}

void SetAttributes(const fs::path& path, DWORD attributes) {
  ASSERT_TRUE(SetFileAttributesW(path.c_str(), attributes)) << path;
}

// A junction (a folder's mount point) at `link` that leads to `target`.
bool MakeJunction(const fs::path& target, const fs::path& link) {
  if (!CreateDirectoryW(link.c_str(), nullptr)) return false;
  const HANDLE folder = CreateFileW(link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (folder == INVALID_HANDLE_VALUE) return false;
  const std::wstring substitute = L"\\??\\" + fs::absolute(target).wstring();
  const std::wstring print = fs::absolute(target).wstring();
  // The mount-point layout of a reparse data buffer: tag, sizes, then both names.
  std::vector<unsigned char> buffer(8 + 8 + (substitute.size() + print.size() + 2) * sizeof(wchar_t), 0);
  const auto put16 = [&](std::size_t at, std::size_t value) {
    buffer[at] = static_cast<unsigned char>(value & 0xFF);
    buffer[at + 1] = static_cast<unsigned char>(value >> 8);
  };
  const DWORD tag = IO_REPARSE_TAG_MOUNT_POINT;
  std::memcpy(buffer.data(), &tag, sizeof tag);
  put16(4, buffer.size() - 8);
  put16(8, 0);
  put16(10, substitute.size() * sizeof(wchar_t));
  put16(12, (substitute.size() + 1) * sizeof(wchar_t));
  put16(14, print.size() * sizeof(wchar_t));
  std::memcpy(buffer.data() + 16, substitute.c_str(), (substitute.size() + 1) * sizeof(wchar_t));
  std::memcpy(buffer.data() + 16 + (substitute.size() + 1) * sizeof(wchar_t), print.c_str(),
              (print.size() + 1) * sizeof(wchar_t));
  DWORD returned = 0;
  const bool made = DeviceIoControl(folder, FSCTL_SET_REPARSE_POINT, buffer.data(),
                                    static_cast<DWORD>(buffer.size()), nullptr, 0, &returned, nullptr) != 0;
  CloseHandle(folder);
  return made;
}

void Write(const fs::path& target, const std::string& bytes, ExistingTarget existing) {
  AtomicFileWriter writer(PathText(target), existing);
  writer.write(bytes);
  writer.commit();
}

// Changes the working folder for the scope of one case.
class WorkingFolder {
 public:
  explicit WorkingFolder(const fs::path& folder) : earlier_(fs::current_path()) { fs::current_path(folder); }
  ~WorkingFolder() { fs::current_path(earlier_); }
  WorkingFolder(const WorkingFolder&) = delete;
  WorkingFolder& operator=(const WorkingFolder&) = delete;

 private:
  fs::path earlier_;
};

TEST(WindowsFiles, NamesOutsideTheCodePageAreReadScannedAndWritten) {
  TempDir dir;
  const fs::path folder = dir.path() / u"K\u00F6ln \u4E1C";
  WriteBytes(folder / u"K\u00F6ln \u4E1C.vcf", "FN:A\r\n");
  WriteBytes(folder / u"\u6771\u4EAC\U0001F600.vcf", "FN:B\r\n");
  EXPECT_EQ(Scan(folder), (std::vector<Text>{PathText(folder / u"K\u00F6ln \u4E1C.vcf"),
                                             PathText(folder / u"\u6771\u4EAC\U0001F600.vcf")}));
  const FileContent content = ReadFileContent(PathText(folder / u"K\u00F6ln \u4E1C.vcf"));
  EXPECT_EQ(std::string_view(reinterpret_cast<const char*>(content.storage.get()), content.size), "FN:A\r\n");
  Write(folder / u"K\u00F6ln \u4E1C.htm", "document", ExistingTarget::KeepReadOnly);
  EXPECT_EQ(ReadBytes(folder / u"K\u00F6ln \u4E1C.htm"), "document");
}

TEST(WindowsFiles, DriveAndLongFormPathsNameTheSameFile) {
  TempDir dir;
  WriteBytes(dir / "a.vcf", "FN:A\r\n");
  const Text drive = PathText(fs::absolute(dir / "a.vcf"));
  ASSERT_EQ(drive.substr(1, 2), u":\\") << ToUtf8(drive);
  const Text longForm = u"\\\\?\\" + drive;
  for (const Text& path : {drive, longForm}) {
    EXPECT_TRUE(FileExists(path)) << ToUtf8(path);
    EXPECT_EQ(FileAttributeValue(path) & ~kAttributeReadOnly, kAttributeArchive) << ToUtf8(path);
    EXPECT_EQ(ReadFileContent(path).size, 6u) << ToUtf8(path);
  }
  EXPECT_TRUE(IsSameFile(drive, longForm));
  EXPECT_FALSE(FolderExists(drive));
  EXPECT_TRUE(FolderExists(drive.substr(0, 3)));
}

// The system takes "CON", "nul.vcf" or "COM1.x.y" for a device wherever it
// stands; such files are found, read and written as the files they are, named
// in full or relative to the working folder.
TEST(WindowsFiles, FilesNamedLikeDevicesAreFiles) {
  TempDir dir;
  const fs::path folder = dir / "devices";
  fs::create_directory(folder);
  // In listing order.
  const std::vector<std::wstring> names = {L"a.vcf",   L"AUX.vcf",     L"b.vcf",    L"COM1.vcf",
                                           L"CON.vcf", L"con.vcf.vcf", L"LPT1.vcf", L"NUL.vcf"};
  std::vector<Text> paths;
  for (const std::wstring& name : names) {
    ASSERT_TRUE(WriteThroughLongForm(folder / name, "FN:" + fs::path(name).string() + "\r\n"));
    paths.push_back(PathText(folder / name));
  }
  RecordingObserver observer;
  EXPECT_EQ(ListMatchingFiles(PathText(folder), u"vcf", observer), paths);
  EXPECT_TRUE(observer.leftOutPaths.empty());
  for (const std::wstring& name : names) {
    const Text path = PathText(folder / name);
    const std::string expected = "FN:" + fs::path(name).string() + "\r\n";
    EXPECT_TRUE(FileExists(path)) << fs::path(name);
    EXPECT_TRUE(FileIsAccessible(path)) << fs::path(name);
    const FileContent content = ReadFileContent(path);
    EXPECT_EQ(std::string_view(reinterpret_cast<const char*>(content.storage.get()), content.size), expected)
        << fs::path(name);
    const fs::path document = folder / (fs::path(name).stem().wstring() + L".htm");
    Write(document, "document of " + fs::path(name).string(), ExistingTarget::KeepReadOnly);
    EXPECT_EQ(ReadThroughLongForm(document), "document of " + fs::path(name).string());
  }
  {
    const WorkingFolder working(folder);
    for (const Text relative : {u"CON.vcf", u".\\nul.vcf", u"..\\devices\\COM1.vcf"}) {
      const FileContent content = ReadFileContent(relative);
      EXPECT_EQ(content.kind, FileContent::Kind::Bytes) << ToUtf8(relative);
      EXPECT_EQ(content.readOnce, false) << ToUtf8(relative);
      EXPECT_TRUE(std::string_view(reinterpret_cast<const char*>(content.storage.get()), content.size)
                      .starts_with("FN:"))
          << ToUtf8(relative);
    }
  }
  RemoveThroughLongForm(folder);
}

// One rule: a folder scan reaches every file that a path named by the user
// reaches, past the 260 characters of older Windows programs too.
TEST(WindowsFiles, AScanReachesTheLongPathsThatANameReaches) {
  TempDir dir;
  fs::path deep = dir / "long";
  fs::create_directory(deep);
  for (char letter = 'a'; letter <= 'e'; ++letter) {
    deep /= std::string(60, letter);
    ASSERT_TRUE(CreateDirectoryW(LongForm(deep).c_str(), nullptr)) << deep;
  }
  const fs::path file = deep / "deep contact.vcf";
  ASSERT_GT(PathText(file).size(), 346u);
  ASSERT_TRUE(WriteThroughLongForm(file, "FN:Deep\r\n"));
  EXPECT_EQ(ReadFileContent(PathText(file)).size, 9u);
  RecordingObserver observer;
  EXPECT_EQ(ListMatchingFiles(PathText(dir / "long"), u"vcf", observer), std::vector<Text>{PathText(file)});
  EXPECT_TRUE(observer.leftOutPaths.empty());
  Write(deep / "deep contact.htm", "deep document", ExistingTarget::KeepReadOnly);
  EXPECT_EQ(ReadThroughLongForm(deep / "deep contact.htm"), "deep document");
  RemoveThroughLongForm(dir / "long");
}

TEST(WindowsFiles, LetterCaseDoesNotMakeAnotherFile) {
  TempDir dir;
  WriteBytes(dir / "a.vcf", "FN:A\r\n");
  WriteBytes(dir / "b.vcf", "FN:B\r\n");
  EXPECT_TRUE(IsSameFile(PathText(dir / "A.VCF"), PathText(dir / "a.vcf")));
  EXPECT_FALSE(IsSameFile(PathText(dir / "a.vcf"), PathText(dir / "b.vcf")));
  FileIdentity upper;
  FileIdentity lower;
  ASSERT_TRUE(IdentifyFile(PathText(dir / "A.vcf"), upper));
  ASSERT_TRUE(IdentifyFile(PathText(dir / "a.VCF"), lower));
  EXPECT_EQ(upper, lower);
}

// Hidden + archive (34) is left out, a read-only hidden file (35) is taken, and
// a hidden system folder (22) is not entered.
TEST(WindowsFiles, AScanReadsTheNativeAttributes) {
  TempDir dir;
  for (const char* name : {"plain.vcf", "hidden.vcf", "hidden-ro.vcf", "ro.vcf", "sys/x.vcf", "open/y.vcf"}) {
    WriteBytes(dir / name, "FN:X\r\n");
  }
  SetAttributes(dir / "hidden.vcf", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
  SetAttributes(dir / "hidden-ro.vcf",
                FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY);
  SetAttributes(dir / "ro.vcf", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY);
  SetAttributes(dir / "sys", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  EXPECT_EQ(FileAttributeValue(PathText(dir / "hidden.vcf")), 34);
  EXPECT_EQ(FileAttributeValue(PathText(dir / "sys")), 22);
  EXPECT_EQ(Scan(dir.path()),
            (std::vector<Text>{PathText(dir / "hidden-ro.vcf"), PathText(dir / "plain.vcf"),
                               PathText(dir / "ro.vcf"), PathText(dir / "open" / "y.vcf")}));
  for (const char* name : {"hidden-ro.vcf", "ro.vcf"}) SetAttributes(dir / name, FILE_ATTRIBUTE_NORMAL);
}

// A junction where the system makes one, else a symbolic link to the folder:
// both are reparse points, and a scan does not enter them.
TEST(WindowsFiles, AJunctionBackUpTheTreeIsNotFollowed) {
  TempDir dir;
  WriteBytes(dir / "top" / "a.vcf", "FN:A\r\n");
  WriteBytes(dir / "top" / "sub" / "b.vcf", "FN:B\r\n");
  const fs::path loop = dir / "top" / "sub" / "loop";
  if (!MakeJunction(dir / "top", loop)) {
    RemoveDirectoryW(loop.c_str());
    CreateSymbolicLinkW(loop.c_str(), L"..",
                        SYMBOLIC_LINK_FLAG_DIRECTORY | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE);
  }
  // Wine answers both requests without making anything; scripts/windows.sh
  // scans a tree with links made by Linux instead.
  if (!fs::exists(loop)) GTEST_SKIP() << "this system makes neither junctions nor links to folders";
  EXPECT_EQ(FileAttributeValue(PathText(loop)), kAttributeDirectory | kAttributeReparsePoint);
  EXPECT_EQ(Scan(dir / "top"),
            (std::vector<Text>{PathText(dir / "top" / "a.vcf"), PathText(dir / "top" / "sub" / "b.vcf")}));
}

TEST(WindowsFiles, AnExistingDocumentIsReplacedAndAReadOnlyOneKept) {
  TempDir dir;
  WriteBytes(dir / "a.htm", "earlier document, longer than the new one");
  Write(dir / "a.htm", "new", ExistingTarget::KeepReadOnly);
  EXPECT_EQ(ReadBytes(dir / "a.htm"), "new");
  SetAttributes(dir / "a.htm", FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(test::FailureOf([&] { Write(dir / "a.htm", "refused", ExistingTarget::KeepReadOnly); }),
            "Permission denied");
  EXPECT_EQ(ReadBytes(dir / "a.htm"), "new");
  Write(dir / "a.htm", "replaced", ExistingTarget::Replace);
  EXPECT_EQ(ReadBytes(dir / "a.htm"), "replaced");
  EXPECT_EQ(FileAttributeValue(PathText(dir / "a.htm")) & kAttributeReadOnly, 0);
  EXPECT_TRUE(test::TemporaryFilesIn(dir.path()).empty());
}

// Run by the next case in a process of its own, which it then kills.
TEST(WindowsFiles, DISABLED_KilledWriter) {
  const char* folder = std::getenv(kKillFolder);
  ASSERT_NE(folder, nullptr);
  const Text target = PathText(fs::path(folder) / "a.htm");
  const TargetLook look = LookAtTarget(target);
  AtomicFileWriter writer(target, ExistingTarget::Replace, &look);
  writer.write(std::string(std::size_t{3} << 20, 'x'));  // past the buffer: the file is on disk
  WriteBytes(fs::path(folder) / "writing", "");
  Sleep(60000);
}

// With an earlier document the new one is written to a hidden file; without
// one, under its own name, which nobody can open meanwhile. Either way a kill
// leaves nothing but the earlier document.
TEST(WindowsFiles, AKillInTheMiddleOfAWriteLeavesNothing) {
  for (const bool earlier : {true, false}) {
    SCOPED_TRACE(earlier ? "over an earlier document" : "a new document");
    TempDir dir;
    if (earlier) WriteBytes(dir / "a.htm", "earlier document");
    ASSERT_TRUE(SetEnvironmentVariableW(fs::path(kKillFolder).c_str(), dir.path().c_str()));
    wchar_t program[MAX_PATH];
    ASSERT_GT(GetModuleFileNameW(nullptr, program, MAX_PATH), 0u);
    std::wstring commandLine =
        std::wstring(L"\"") + program +
        L"\" --gtest_also_run_disabled_tests --gtest_filter=WindowsFiles.DISABLED_KilledWriter";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    ASSERT_TRUE(CreateProcessW(program, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &child));
    SetEnvironmentVariableW(fs::path(kKillFolder).c_str(), nullptr);
    for (int wait = 0; wait < 600 && !fs::exists(dir / "writing"); ++wait) Sleep(50);
    EXPECT_TRUE(fs::exists(dir / "writing"));
    // The pending document: hidden, or under its name but closed to everybody else.
    EXPECT_EQ(test::TemporaryFilesIn(dir.path()).size(), earlier ? 1u : 0u);
    EXPECT_EQ(ReadBytes(dir / "a.htm"), earlier ? "earlier document" : "<missing>");
    TerminateProcess(child.hProcess, 9);
    WaitForSingleObject(child.hProcess, 30000);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    EXPECT_TRUE(test::TemporaryFilesIn(dir.path()).empty());
    EXPECT_EQ(ReadBytes(dir / "a.htm"), earlier ? "earlier document" : "<missing>");
    EXPECT_EQ(fs::exists(dir / "a.htm"), earlier);
  }
}

// A look that finds nothing holds the name for the document: nobody else can
// take it meanwhile, the document takes it over, and a look left unused
// leaves nothing. A writer given no look makes its own file.
TEST(WindowsFiles, ALookThatFindsNothingHoldsTheNameForTheDocument) {
  TempDir dir;
  const Text target = PathText(dir / "a.htm");
  {
    const TargetLook unused = LookAtTarget(target);
    EXPECT_FALSE(unused.exists);
  }
  EXPECT_FALSE(fs::exists(dir / "a.htm"));
  const TargetLook look = LookAtTarget(target);
  ASSERT_FALSE(look.exists);
  EXPECT_ANY_THROW(WriteBytes(dir / "a.htm", "came meanwhile"));
  EXPECT_EQ(ReadBytes(dir / "a.htm"), "<missing>");
  const TargetLook copy = look;  // the writer keeps a copy; the handle goes over once
  AtomicFileWriter writer(target, ExistingTarget::Replace, &copy);
  writer.write("new document");
  writer.commit();
  EXPECT_EQ(ReadBytes(dir / "a.htm"), "new document");
  EXPECT_EQ(FileAttributeValue(target) & ~kAttributeArchive, 0);  // neither hidden nor read-only
  EXPECT_TRUE(test::TemporaryFilesIn(dir.path()).empty());
  Write(dir / "b.htm", "without a look", ExistingTarget::Replace);
  EXPECT_EQ(ReadBytes(dir / "b.htm"), "without a look");
}

}  // namespace
}  // namespace brevant
#endif
