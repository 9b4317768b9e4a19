#include "cli/size_text.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace brevant {
namespace {

TEST(SizeText, BytesThenOneDecimalOfTheLargestUnitBelowAThousand) {
  const struct {
    std::uint64_t bytes;
    const char* text;
  } cases[] = {
      {0, "0 bytes"},
      {1, "1 byte"},
      {999, "999 bytes"},
      {1000, "1.0 kB"},
      {1049, "1.0 kB"},
      {1050, "1.1 kB"},
      {999'949, "999.9 kB"},
      {999'950, "1.0 MB"},
      {15'200'000'000, "15.2 GB"},
      {3'000'000'000'000, "3.0 TB"},
      {UINT64_MAX, "18446.7 PB"},
  };
  for (const auto& c : cases) EXPECT_EQ(SizeText(c.bytes), c.text) << c.bytes;
}

}  // namespace
}  // namespace brevant
