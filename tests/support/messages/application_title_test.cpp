#include "support/messages/application_title.h"

#include <gtest/gtest.h>

namespace brevant::test {
namespace {

TEST(ApplicationTitle, DropsTheLastWordThenWordsBeyondForty) {
  EXPECT_EQ(ApplicationTitle(u"Brevant"), u"Brevant");
  EXPECT_EQ(ApplicationTitle(u"Brevant Contacts Converter"), u"Brevant Contacts");
  EXPECT_EQ(ApplicationTitle(u"Brevant vCard to HTML table converter for many many files"),
            u"Brevant vCard to HTML table converter");
}

}  // namespace
}  // namespace brevant::test
