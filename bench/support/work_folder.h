#pragma once

#include <string>
#include <string_view>

namespace brevant::bench {

// The folder a benchmark keeps its files in: either one the user named, which
// is created when missing and stays, or a fresh one under /tmp, which is
// removed with its content when the object goes.
class WorkFolder {
 public:
  explicit WorkFolder(const std::string& chosen);  // empty: a fresh temporary folder
  ~WorkFolder();
  WorkFolder(const WorkFolder&) = delete;
  WorkFolder& operator=(const WorkFolder&) = delete;

  const std::string& path() const { return path_; }
  bool kept() const { return kept_; }
  std::string operator/(std::string_view name) const;

 private:
  std::string path_;
  bool kept_;
};

}  // namespace brevant::bench
