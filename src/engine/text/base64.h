#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace brevant {

// Base64 text as contact files hold it: letters, digits, "+" and "/", "=" at
// the end, and blanks and line breaks wherever a long value was folded. Each
// routine reads the text where it stands: a picture of megabytes is never copied.

struct Base64Scan {
  bool valid = false;              // nothing but base64 characters, blanks and line breaks
  std::uint64_t decodedBytes = 0;  // what the text stands for
};
Base64Scan ScanBase64(std::string_view text);

// The first `count` bytes that the text stands for (fewer when it is shorter,
// or when a character that is no base64 comes first).
std::string DecodeBase64Start(std::string_view text, std::size_t count);

// The last `count` bytes of valid base64 text (fewer when it is shorter);
// `scan` is the text's own scan.
std::string DecodeBase64End(std::string_view text, const Base64Scan& scan, std::size_t count);

// Where the base64 characters of the text end when no more than `most` of
// them come before: whole groups of four, so that each piece stands alone.
std::size_t Base64PieceEnd(std::string_view text, std::size_t from, std::size_t most);
// The base64 characters of the text, without its blanks and line breaks.
void AppendBase64Characters(std::string& out, std::string_view text);

}  // namespace brevant
