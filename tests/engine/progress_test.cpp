#include "engine/progress.h"

#include <gtest/gtest.h>

#include <vector>

namespace brevant {
namespace {

// The bar must show exactly what setting WholePercent at every step would show.
TEST(PercentSteps, ReportsEveryChangeOfTheWholePercentAndNothingElse) {
  for (std::size_t last : {1u, 2u, 3u, 7u, 99u, 100u, 101u, 333u, 1000u, 12345u, 100003u}) {
    std::vector<std::pair<std::size_t, double>> expected;
    for (std::size_t i = 0; i <= last; ++i) {
      const double percent = WholePercent(i, last);
      if (expected.empty() || expected.back().second != percent) expected.emplace_back(i, percent);
    }
    std::vector<std::pair<std::size_t, double>> reported;
    PercentSteps steps(last);
    for (std::size_t i = 0; i <= last; ++i) {
      if (steps.changesAt(i)) reported.emplace_back(i, steps.at(i));
    }
    EXPECT_EQ(reported, expected) << "last = " << last;
  }
}

}  // namespace
}  // namespace brevant
