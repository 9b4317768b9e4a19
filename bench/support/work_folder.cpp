#include "support/work_folder.h"

#include <stdlib.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <system_error>

namespace brevant::bench {

WorkFolder::WorkFolder(const std::string& chosen) : kept_(!chosen.empty()) {
  if (kept_) {
    path_ = std::filesystem::absolute(chosen).string();
    std::filesystem::create_directories(path_);
    return;
  }
  std::string pattern = "/tmp/brevant-bench-XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) {
    throw std::runtime_error(std::string("cannot create a temporary folder: ") + std::strerror(errno));
  }
  path_ = pattern;
}

WorkFolder::~WorkFolder() {
  if (kept_) return;
  std::error_code ignored;  // a destructor must not throw; a leftover in /tmp does no harm
  std::filesystem::remove_all(path_, ignored);
}

std::string WorkFolder::operator/(std::string_view name) const {
  return (std::filesystem::path(path_) / name).string();
}

}  // namespace brevant::bench
