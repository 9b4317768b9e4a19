#include "folder_tree.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <stdexcept>

namespace brevant::bench {

namespace {

void MakeFolder(const std::string& path) {
  if (mkdir(path.c_str(), 0755) != 0 && errno != EEXIST) throw std::runtime_error("cannot create " + path);
}

std::size_t FillFolder(const std::string& folder, std::size_t files) {
  static const char kContact[] = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Someone\r\nEND:VCARD\r\n";
  for (std::size_t i = 0; i < files; ++i) {
    const std::string path = folder + "/contact " + std::to_string(i) + (i == 0 ? ".VCF" : ".vcf");
    const int descriptor = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const bool written = descriptor >= 0 && write(descriptor, kContact, sizeof(kContact) - 1) > 0;
    if (descriptor >= 0) close(descriptor);
    if (!written) throw std::runtime_error("cannot write " + path);
  }
  return files;
}

}  // namespace

std::size_t WriteFolderTree(const std::string& root, std::size_t top, std::size_t below, std::size_t files) {
  std::size_t written = 0;
  MakeFolder(root);
  for (std::size_t t = 0; t < top; ++t) {
    const std::string upper = root + "/Folder " + std::to_string(t);
    MakeFolder(upper);
    written += FillFolder(upper, files);
    for (std::size_t b = 0; b < below; ++b) {
      const std::string lower = upper + "/Sub " + std::to_string(b);
      MakeFolder(lower);
      written += FillFolder(lower, files);
    }
  }
  return written;
}

}  // namespace brevant::bench
