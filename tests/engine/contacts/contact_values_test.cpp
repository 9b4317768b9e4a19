// Dates of one row per contact: the forms that become one, and where the
// months and days end.
#include "engine/contacts/contact_values.h"

#include <gtest/gtest.h>

#include <string>

namespace brevant {
namespace {

struct DateCase {
  std::string written;
  std::string shown;
};

TEST(ContactDates, MonthsAndDaysAreTakenUpToTheirLastAndNoFurther) {
  const DateCase cases[] = {
      {"20000101", "2000-01-01"},
      {"19910131", "1991-01-31"},
      {"19911231", "1991-12-31"},
      {"--1231", "--12-31"},
      {"--0101", "--01-01"},
      // A time of day stays, in one form; midnight is the date alone.
      {"2001-07-31T23:59:00Z", "2001-07-31 23:59 UTC"},
      {"20090808T1430-0500", "2009-08-08 14:30 -05:00"},
      {"2009-08-08T14:30:15+01", "2009-08-08 14:30:15 +01:00"},
      {"19900522T000000Z", "1990-05-22"},
      {"1990-05-22T99", "1990-05-22"},
      // No such month or day: the text stays as written.
      {"19910100", "19910100"},
      {"19910132", "19910132"},
      {"19910001", "19910001"},
      {"19911301", "19911301"},
      {"--1301", "--1301"},
      {"--0132", "--0132"},
  };
  for (const DateCase& c : cases) {
    std::string scratch;
    EXPECT_EQ(NormalDate(c.written, "", scratch), c.shown) << c.written;
  }
}

}  // namespace
}  // namespace brevant
