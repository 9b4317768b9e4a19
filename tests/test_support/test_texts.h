#pragma once

#include <filesystem>
#include <string>

#include "support/files/file_error.h"
#include "support/text/text.h"
#include "support/text/utf8.h"

namespace brevant::test {

// The opening piece of a document written with the default table options.
inline constexpr char kDefaultOpening[] =
    "<html><title></title><body><table width='100%' style='color:#000000' border='1' "
    "bgcolor='#FFFFFF'><tbody>\r\n";
// The same of the one document of all inputs, output.xml, which is XHTML.
inline constexpr char kOneDocumentOpening[] =
    "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\r\n"
    "<html xmlns=\"http://www.w3.org/1999/xhtml\"><title></title><body><table width='100%' "
    "style='color:#000000' border='1' bgcolor='#FFFFFF'><tbody>\r\n";

// A file-system path as the engine's text.
#ifdef _WIN32
inline Text PathText(const std::filesystem::path& path) { return path.u16string(); }
#else
inline Text PathText(const std::filesystem::path& path) { return FromUtf8(path.string()); }
#endif

// The description of the FileError that `action` throws, or "<no error>".
template <typename Action>
std::string FailureOf(Action action) {
  try {
    action();
  } catch (const FileError& error) {
    return error.description();
  }
  return "<no error>";
}

}  // namespace brevant::test
