#include "support/corpus_files.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "support/contact_generator.h"
#include "support/file_io.h"

namespace brevant::bench {

namespace {

constexpr std::size_t kChunkBytes = 1 << 20;
constexpr char kMarkerName[] = "corpus-ready.txt";

// Appends chunks to a file through stdio; the chunk is built by the caller.
class ChunkedFile {
 public:
  explicit ChunkedFile(const std::string& path) : path_(path), file_(std::fopen(path.c_str(), "wb")) {
    if (file_ == nullptr) throw std::runtime_error("cannot create " + path);
  }
  ~ChunkedFile() {
    if (file_ != nullptr) std::fclose(file_);
  }
  ChunkedFile(const ChunkedFile&) = delete;
  ChunkedFile& operator=(const ChunkedFile&) = delete;

  void put(std::string& chunk) {
    if (std::fwrite(chunk.data(), 1, chunk.size(), file_) != chunk.size()) {
      throw std::runtime_error("cannot write " + path_);
    }
    written_ += chunk.size();
    chunk.clear();
  }
  std::uint64_t close() {
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (!closed) throw std::runtime_error("cannot write " + path_);
    return written_;
  }

 private:
  std::string path_;
  std::FILE* file_;
  std::uint64_t written_ = 0;
};

}  // namespace

std::uint64_t WriteContactsFile(const std::string& path, std::uint64_t targetBytes, std::uint64_t seed) {
  ContactGenerator generator(seed);
  ChunkedFile file(path);
  std::string chunk;
  chunk.reserve(kChunkBytes + 4096);
  std::uint64_t total = 0;
  while (total < targetBytes) {
    const std::size_t before = chunk.size();
    generator.appendContact(chunk);
    total += chunk.size() - before;
    if (chunk.size() >= kChunkBytes) file.put(chunk);
  }
  file.put(chunk);
  return file.close();
}

std::vector<std::string> WriteOneContactFiles(const std::string& folder, std::size_t count,
                                              std::uint64_t seed) {
  std::filesystem::create_directories(folder);
  ContactGenerator generator(seed);
  std::vector<std::string> paths;
  paths.reserve(count);
  std::string contact;
  char name[32];
  for (std::size_t i = 1; i <= count; ++i) {
    std::snprintf(name, sizeof name, "contact%05zu.vcf", i);
    paths.push_back((std::filesystem::path(folder) / name).string());
    contact.clear();
    generator.appendContact(contact);
    WriteFileBytes(paths.back(), contact);
  }
  return paths;
}

std::uint64_t WriteEmailListFile(const std::string& path, std::size_t emailLines) {
  std::string contact;
  AppendEmailListContact(contact, emailLines);
  WriteFileBytes(path, contact);
  return contact.size();
}

std::uint64_t WriteRepeatedFile(const std::string& path, std::string_view head, std::string_view piece,
                                std::uint64_t bodyBytes, std::string_view tail) {
  ChunkedFile file(path);
  std::string chunk(head);
  for (std::uint64_t body = 0; body < bodyBytes; body += piece.size()) {
    chunk.append(piece);
    if (chunk.size() >= kChunkBytes) file.put(chunk);
  }
  chunk.append(tail);
  file.put(chunk);
  return file.close();
}

std::uint64_t WriteSmallContactsFile(const std::string& path, std::size_t count) {
  ChunkedFile file(path);
  std::string chunk;
  char contact[160];
  for (std::size_t i = 1; i <= count; ++i) {
    const int length = std::snprintf(contact, sizeof contact,
                                     "BEGIN:VCARD\r\nFN:Contact %07zu\r\n"
                                     "EMAIL;TYPE=INTERNET:c%07zu@example.com\r\nTEL;CELL:+1 555 %07zu\r\n"
                                     "END:VCARD\r\n",
                                     i, i, i);
    chunk.append(contact, static_cast<std::size_t>(length));
    if (chunk.size() >= kChunkBytes) file.put(chunk);
  }
  file.put(chunk);
  return file.close();
}

bool CorpusIsReady(const std::string& folder, const std::string& description) {
  std::ifstream marker(std::filesystem::path(folder) / kMarkerName);
  std::stringstream content;
  content << marker.rdbuf();
  return marker && content.str() == description;
}

void MarkCorpusReady(const std::string& folder, const std::string& description) {
  WriteFileBytes((std::filesystem::path(folder) / kMarkerName).string(), description);
}

}  // namespace brevant::bench
