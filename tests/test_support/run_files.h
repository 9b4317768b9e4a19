#pragma once

#include <filesystem>
#include <map>
#include <string>

#include "test_support/temp_dir.h"

namespace brevant::test {

// Every file of a folder by name, with its bytes; none when the folder is missing.
inline std::map<std::string, std::string> FilesIn(const std::filesystem::path& folder) {
  std::map<std::string, std::string> files;
  if (!std::filesystem::exists(folder)) return files;
  for (const std::filesystem::directory_entry& entry : std::filesystem::directory_iterator(folder))
    files[entry.path().filename().string()] = ReadBytes(entry.path());
  return files;
}

// One contact of many e-mail lines: an input that takes a run a while.
inline std::string ContactWithEmails(int emails) {
  std::string text = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Many Mails\r\n";
  for (int i = 0; i < emails; ++i)
    text += "EMAIL;TYPE=INTERNET:user" + std::to_string(i) + "@example.com\r\n";
  return text + "END:VCARD\r\n";
}

}  // namespace brevant::test
