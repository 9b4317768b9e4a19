#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace brevant::bench {

// Writers for benchmark inputs. Files are written in chunks, so that making a
// large corpus does not make this process large. Each gives the bytes written
// and throws std::runtime_error when the disk refuses.

// Contacts of the generator, one after another, until the file holds at least
// targetBytes.
std::uint64_t WriteContactsFile(const std::string& path, std::uint64_t targetBytes, std::uint64_t seed);

// count files of one contact each, named "contact00001.vcf" and on, in the
// folder (created when missing). Gives the paths, in name order.
std::vector<std::string> WriteOneContactFiles(const std::string& folder, std::size_t count,
                                              std::uint64_t seed);

// One contact with emailLines e-mail lines.
std::uint64_t WriteEmailListFile(const std::string& path, std::size_t emailLines);

// head, then the piece again and again until the body holds at least
// bodyBytes, then tail: one value or one run of lines as large as wanted.
std::uint64_t WriteRepeatedFile(const std::string& path, std::string_view head, std::string_view piece,
                                std::uint64_t bodyBytes, std::string_view tail);

// count small contacts of one file, about 111 bytes each: a display name, an
// e-mail address and a mobile number.
std::uint64_t WriteSmallContactsFile(const std::string& path, std::size_t count);

// A finished corpus leaves a marker holding its description; a folder whose
// marker says the same can be used again as it is.
bool CorpusIsReady(const std::string& folder, const std::string& description);
void MarkCorpusReady(const std::string& folder, const std::string& description);

}  // namespace brevant::bench
