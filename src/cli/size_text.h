#pragma once

#include <cstdint>
#include <string>

namespace brevant {

// A size as people read it: "512 bytes", "1 byte", then one decimal in kB, MB,
// GB and TB of 1000 ("15.2 GB"), so that a document far larger than its
// inputs is noticed.
std::string SizeText(std::uint64_t bytes);

}  // namespace brevant
